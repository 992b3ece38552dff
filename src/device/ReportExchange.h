#pragma once
// The 64-byte command report exchange with the keyboard: frame, checksum,
// lock, time limits, retries and status codes.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "device/HidDevice.h"
#include "platform/OrderedLock.h"

namespace orvane {

constexpr size_t REPORT_SIZE = 64;
constexpr size_t REPORT_PAYLOAD = 56; // bytes 8..63
constexpr uint8_t COMMAND_REPORT_ID = 0x04;
constexpr int WRITE_TIMEOUT_MS = 1000;
constexpr int READ_TIMEOUT_MS = 300;
constexpr int TRANSACT_RETRIES = 3; // after the first attempt

// Status codes of every device command; callers test for DEV_OK only.
constexpr int DEV_OK = 1;
constexpr int DEV_NOT_OPEN_OR_NO_REPLY = 0;
constexpr int DEV_WRITE_FAILED = -1;
constexpr int DEV_STATUS_FF = -102;
constexpr int DEV_STATUS_FE = -103;
constexpr int DEV_BAD_PROFILE = -201;
// A buffer or length that does not fit the command; nothing was sent.
constexpr int DEV_BAD_ARGUMENT = -202;

// Never destroyed: the device threads, never joined, use it to the end.
extern CHidDevice& g_HidDevice;
// Non-zero while g_HidDevice holds the command interface; written only by
// the connection monitor (and orvanectl, which stands in for it), under
// g_DeviceLock together with the Open or Close it goes with.
extern std::atomic<uint32_t> g_DeviceOpen;
// Held across each whole exchange (a request, its reply and the retries) and
// around every Open and Close of g_HidDevice. Last in the lock order.
extern COrderedLock g_DeviceLock;

uint16_t ReportChecksum(const uint8_t* report); // sum of bytes 3..63
void SealReport(uint8_t* report);               // 64 bytes; checksum into bytes 1-2

// One request, one reply: 1, 0 (not open / no reply after four attempts) or
// -1 (a write failed). Input reports already waiting before a request are
// dropped first. *received gets the reply's byte count.
int TransactReport(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                   uint32_t* received);

// Reply status byte to a command result: DEV_OK, DEV_STATUS_FF or DEV_STATUS_FE.
int DecodeReplyStatus(const uint8_t* reply);

} // namespace orvane
