#include "device/ReportExchange.h"

#include <algorithm>
#include <cstring>

#include "platform/CriticalSections.h"

namespace orvane {

CHidDevice& g_HidDevice = *new CHidDevice;
std::atomic<uint32_t> g_DeviceOpen{0};
COrderedLock g_DeviceLock(kDeviceRank, "g_DeviceLock");

uint16_t ReportChecksum(const uint8_t* report) {
    uint16_t sum = 0;
    for (size_t i = 3; i < REPORT_SIZE; ++i)
        sum = static_cast<uint16_t>(sum + report[i]);
    return sum;
}

void SealReport(uint8_t* report) {
    uint16_t sum = ReportChecksum(report);
    report[1] = static_cast<uint8_t>(sum);
    report[2] = static_cast<uint8_t>(sum >> 8);
}

namespace {

// Reports a reply can never outgrow; more waiting than this is not stale
// replies but a device that keeps talking, and the exchange moves on.
constexpr int kMaxStaleReplies = 16;

// Reads and drops every input report already waiting: a reply that came
// after its request had given up would otherwise answer the next request.
void DropStaleReplies() {
    uint8_t stale[REPORT_SIZE];
    for (int i = 0; i < kMaxStaleReplies; ++i)
        if (g_HidDevice.ReadReport(stale, sizeof stale, nullptr, 0) != 1) return;
}

} // namespace

int TransactReport(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                   uint32_t* received) {
    // The working copy's lock held across a request would make the window,
    // which takes it for every key it shows, wait for the keyboard.
    ConfigStoreLock().CheckNotHeldDuring("a keyboard request");
    uint32_t dummy = 0;
    if (!received) received = &dummy;
    *received = 0;
    uint8_t frame[REPORT_SIZE] = {};
    if (request) std::memcpy(frame, request, std::min(requestLength, REPORT_SIZE));

    // Replies are matched to requests by order alone, so the whole exchange,
    // retries included, holds the lock: no other thread's request or read
    // can come between a write and the read of its reply. The open flag is
    // read under it too, so the device cannot be closed or replaced between
    // the look and the first write.
    std::lock_guard lock(g_DeviceLock);
    if (!g_DeviceOpen.load()) return DEV_NOT_OPEN_OR_NO_REPLY;
    for (int attempt = 0; attempt <= TRANSACT_RETRIES; ++attempt) {
        DropStaleReplies();
        if (g_HidDevice.WriteReport(frame, REPORT_SIZE, nullptr, WRITE_TIMEOUT_MS) != 1)
            return DEV_WRITE_FAILED;
        if (g_HidDevice.ReadReport(reply, replyLength, received, READ_TIMEOUT_MS) == 1) return DEV_OK;
    }
    return DEV_NOT_OPEN_OR_NO_REPLY;
}

int DecodeReplyStatus(const uint8_t* reply) {
    if (reply[7] == 0xFF) return DEV_STATUS_FF;
    if (reply[7] == 0xFE) return DEV_STATUS_FE;
    return DEV_OK;
}

} // namespace orvane
