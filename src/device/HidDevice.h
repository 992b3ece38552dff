#pragma once
// One HID interface of the keyboard: listing, opening by path, identity and
// capabilities, timed and cancellable single-report I/O, and decoding of
// input reports into usages. The class takes no lock of its own for the
// transfers; its users serialise them (g_DeviceLock for the shared one).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidDescriptor.h"

namespace orvane {

constexpr size_t HID_PATH_UNITS = 260; // terminating zero included

// One decoded data item of an input report.
struct HidDataItem {
    uint8_t IsButton = 0;
    uint16_t UsagePage = 0;
    int32_t Status = HIDP_STATUS_SUCCESS;
    uint32_t ReportID = 0;
    uint8_t IsSet = 0;
    // Button item
    uint32_t UsageMin = 0, UsageMax = 0;
    uint32_t UsageCapacity = 0;
    std::vector<uint16_t> Usages; // UsageCapacity entries
    // Value item
    uint16_t Usage = 0;
    uint32_t RawValue = 0;
    int32_t ScaledValue = 0;
};

class CHidDevice {
  public:
    CHidDevice();
    ~CHidDevice();
    CHidDevice(const CHidDevice&) = delete;
    CHidDevice& operator=(const CHidDevice&) = delete;

    bool EnumerateInterfaces();
    // The entry at the cursor, advancing it; null at the end. Owned by the list.
    const char* NextInterfacePath();
    void FreeInterfaceList();
    uint32_t InterfaceCount() const { return static_cast<uint32_t>(m_Paths.size()); }

    // 1 on success, 0 otherwise (handle null, no capability data kept).
    int Open(const char* path, bool wantRead, bool wantWrite, bool overlapped, bool exclusive);
    // 1 when a handle was closed, 0 when none was open.
    int Close();
    bool IsOpen() const;
    // Open, and the device behind the handle has not gone away.
    bool IsHandleAlive() const;

    // 1 on success, 0 on failure, timeout or stop; timeoutMs -1 waits without limit.
    int WriteReport(const uint8_t* buffer, size_t length, uint32_t* transferred, int timeoutMs);
    int ReadReport(uint8_t* buffer, size_t length, uint32_t* transferred, int timeoutMs);

    // Decodes `report` into the items that carry its report id. False only
    // when a value item cannot be decoded.
    static bool UnpackReport(const uint8_t* report, size_t length, HidReportKind kind, HidDataItem* items,
                             uint32_t itemCount, const HidPreparsedData* preparsed);

    // Ends a transfer in progress on another thread at once (with failure).
    // A stop raised while no transfer runs is dropped: it never fails a later one.
    void SignalStop();
    // While `fd` is readable every transfer ends at once with failure; -1 for
    // none. The device threads' stop hook, so tests can end a read without limit.
    void SetAbortFd(int fd) { m_AbortFd.store(fd); }
    // poll() reports POLLHUP or POLLERR on it once the open device has gone;
    // -1 when closed or when the backend tells removals otherwise.
    int HangupFd() const;

    const char* Path() const { return m_DevicePath; }
    uint16_t VendorID() const { return m_Attributes.VendorID; }
    uint16_t ProductID() const { return m_Attributes.ProductID; }
    uint16_t VersionNumber() const { return m_Attributes.VersionNumber; }
    uint16_t UsagePage() const { return m_Caps.UsagePage; }
    uint16_t Usage() const { return m_Caps.Usage; }
    uint16_t InputReportByteLength() const { return m_Caps.InputReportByteLength; }
    const HidCaps& Caps() const { return m_Caps; }
    uint8_t* InputBuffer() { return m_InputBuffer.data(); }
    HidDataItem* InputItems() { return m_Items.data(); }
    uint32_t InputItemCount() const { return static_cast<uint32_t>(m_Items.size()); }
    const HidPreparsedData* PreparsedData() const { return m_Preparsed.get(); }
    const std::vector<HidButtonCaps>& InputButtonCaps() const { return m_ButtonCaps; }
    const std::vector<HidValueCaps>& InputValueCaps() const { return m_ValueCaps; }

  private:
    bool LoadCapabilities();
    void FreeCapabilities();
    std::shared_ptr<CHidHandle> CurrentHandle() const;
    std::shared_ptr<const HidPreparsedData> CurrentPreparsed() const;
    // Waits for `events` on the handle or a stop raised after `stopMark` (the
    // stop count when the transfer began): 1 ready, 0 timed out or stopped,
    // -1 poll failed.
    int Wait(const CHidHandle& handle, short events, int timeoutMs, uint64_t stopMark);
    // True when a stop raised after `stopMark`, or the abort fd, ends the
    // transfer; a stale stop is taken out of the way.
    bool Stopped(uint64_t stopMark);

    // Interface list
    std::vector<std::string> m_Paths;
    uint32_t m_Cursor = 0;
    // The handle is shared with a transfer in progress, so Close on another
    // thread never frees it (or its fd) under that transfer.
    mutable std::mutex m_HandleMutex;
    std::shared_ptr<CHidHandle> m_Handle;
    char m_DevicePath[HID_PATH_UNITS] = {};
    // Shared with a read in progress, for the same reason as the handle.
    std::shared_ptr<const HidPreparsedData> m_Preparsed;
    HidCaps m_Caps;
    HidAttributes m_Attributes;
    std::vector<uint8_t> m_InputBuffer;
    std::vector<HidDataItem> m_Items;
    std::vector<HidButtonCaps> m_ButtonCaps;
    std::vector<HidValueCaps> m_ValueCaps;
    // The stop event: an eventfd that wakes the waiting transfer, and a count
    // of stops raised, by which a transfer tells a stop meant for it from one
    // left over from a transfer that had already finished.
    int m_StopFd = -1;
    std::atomic<uint64_t> m_StopCount{0};
    std::atomic<int> m_AbortFd{-1};
    std::atomic<uint32_t> m_Reading{0};
    std::atomic<uint32_t> m_Writing{0};
};

} // namespace orvane
