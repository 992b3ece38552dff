#include "device/HidDevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace orvane {
namespace {

// Marks a transfer in progress for exactly as long as it runs.
class CFlagScope {
  public:
    explicit CFlagScope(std::atomic<uint32_t>& flag) : m_Flag(flag) { m_Flag.store(1); }
    ~CFlagScope() { m_Flag.store(0); }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

  private:
    std::atomic<uint32_t>& m_Flag;
};

} // namespace

CHidDevice::CHidDevice() {
    m_StopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

CHidDevice::~CHidDevice() {
    Close();
    FreeInterfaceList();
    if (m_StopFd >= 0) close(m_StopFd);
}

bool CHidDevice::EnumerateInterfaces() {
    m_Cursor = 0;
    m_Paths.clear();
    std::vector<std::string> paths;
    if (!HidBackend().EnumeratePaths(paths)) return false;
    m_Paths = std::move(paths);
    return true;
}

const char* CHidDevice::NextInterfacePath() {
    if (m_Cursor >= m_Paths.size()) return nullptr;
    return m_Paths[m_Cursor++].c_str();
}

void CHidDevice::FreeInterfaceList() {
    m_Paths.clear();
    m_Paths.shrink_to_fit();
    m_Cursor = 0;
}

void CHidDevice::SignalStop() {
    if (m_StopFd < 0) return;
    m_StopCount.fetch_add(1);
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(m_StopFd, &one, sizeof one);
}

bool CHidDevice::Stopped(uint64_t stopMark) {
    pollfd fds[2] = {{m_StopFd, POLLIN, 0}, {m_AbortFd.load(), POLLIN, 0}};
    if (poll(fds, 2, 0) <= 0) return false;
    if (fds[1].revents & POLLIN) return true;
    if (!(fds[0].revents & POLLIN)) return false;
    uint64_t v;
    [[maybe_unused]] ssize_t r = read(m_StopFd, &v, sizeof v);
    return m_StopCount.load() != stopMark;
}

int CHidDevice::HangupFd() const {
    std::shared_ptr<CHidHandle> handle = CurrentHandle();
    return handle ? handle->HangupFd() : -1;
}

std::shared_ptr<CHidHandle> CHidDevice::CurrentHandle() const {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    return m_Handle;
}

std::shared_ptr<const HidPreparsedData> CHidDevice::CurrentPreparsed() const {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    return m_Preparsed;
}

bool CHidDevice::IsOpen() const {
    return CurrentHandle() != nullptr;
}

bool CHidDevice::IsHandleAlive() const {
    std::shared_ptr<CHidHandle> handle = CurrentHandle();
    return handle && handle->IsAlive();
}

// Every open is shared and non-blocking here, so `overlapped` and `exclusive`
// change nothing; they stay for the callers' sake.
int CHidDevice::Open(const char* path, bool wantRead, bool wantWrite, bool, bool) {
    if (m_Reading.load() || m_Writing.load()) SignalStop();
    FreeCapabilities();
    {
        std::lock_guard<std::mutex> lock(m_HandleMutex);
        m_Handle.reset(); // a handle left by a keyboard that went away is released here
    }
    m_DevicePath[0] = 0;
    // A path that does not fit the path array is refused rather than cut.
    if (!path || std::strlen(path) >= HID_PATH_UNITS) return 0;
    std::memcpy(m_DevicePath, path, std::strlen(path) + 1);
    std::unique_ptr<CHidHandle> handle = HidBackend().OpenPath(path, wantRead, wantWrite);
    if (!handle) return 0;
    {
        std::lock_guard<std::mutex> lock(m_HandleMutex);
        m_Handle = std::move(handle);
    }
    if (!LoadCapabilities()) {
        Close();
        return 0;
    }
    return 1;
}

int CHidDevice::Close() {
    if (m_Reading.load() || m_Writing.load()) SignalStop();
    FreeCapabilities();
    std::shared_ptr<CHidHandle> old;
    {
        std::lock_guard<std::mutex> lock(m_HandleMutex);
        old.swap(m_Handle);
    }
    return old ? 1 : 0;
}

bool CHidDevice::LoadCapabilities() {
    std::shared_ptr<CHidHandle> handle = CurrentHandle();
    if (!handle) return false;
    std::vector<HidPreparsedData> collections;
    if (ParseReportDescriptor(handle->ReportDescriptor(), collections) != HID_DESCRIPTOR_OK) return false;
    if (handle->CollectionIndex() >= collections.size()) return false;
    auto pp = std::make_shared<HidPreparsedData>(std::move(collections[handle->CollectionIndex()]));
    {
        std::lock_guard<std::mutex> lock(m_HandleMutex);
        m_Preparsed = pp;
    }
    m_Attributes = handle->Attributes();
    m_Caps = GetCaps(*pp);

    m_InputBuffer.assign(m_Caps.InputReportByteLength, 0);
    m_ButtonCaps = GetButtonCaps(HidReportKind::Input, *m_Preparsed);
    m_ValueCaps = GetValueCaps(HidReportKind::Input, *m_Preparsed);

    size_t count = m_ButtonCaps.size();
    for (const HidValueCaps& v : m_ValueCaps)
        count += v.IsRange ? v.UsageMax - v.UsageMin + 1u : 1u;
    m_Items.clear();
    m_Items.reserve(count);
    for (const HidButtonCaps& b : m_ButtonCaps) {
        HidDataItem item;
        item.IsButton = 1;
        item.UsagePage = b.UsagePage;
        item.ReportID = b.ReportID;
        item.UsageMin = b.UsageMin;
        item.UsageMax = b.UsageMax;
        item.UsageCapacity = MaxUsageListLength(HidReportKind::Input, b.UsagePage, *m_Preparsed);
        item.Usages.assign(item.UsageCapacity, 0);
        m_Items.push_back(std::move(item));
    }
    for (const HidValueCaps& v : m_ValueCaps) {
        for (uint32_t u = v.UsageMin; u <= v.UsageMax && m_Items.size() < count; ++u) {
            HidDataItem item;
            item.UsagePage = v.UsagePage;
            item.ReportID = v.ReportID;
            item.Usage = static_cast<uint16_t>(u);
            m_Items.push_back(std::move(item));
        }
    }
    return true;
}

void CHidDevice::FreeCapabilities() {
    {
        std::lock_guard<std::mutex> lock(m_HandleMutex);
        m_Preparsed.reset();
    }
    m_Caps = HidCaps();
    m_Attributes = HidAttributes();
    m_InputBuffer.clear();
    m_Items.clear();
    m_ButtonCaps.clear();
    m_ValueCaps.clear();
}

int CHidDevice::Wait(const CHidHandle& handle, short events, int timeoutMs, uint64_t stopMark) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd fds[3] = {{m_StopFd, POLLIN, 0}, {handle.WaitFd(), events, 0}, {m_AbortFd.load(), POLLIN, 0}};
        int wait = -1;
        if (timeoutMs >= 0) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = left < 0 ? 0 : static_cast<int>(left);
        }
        int n = poll(fds, 3, wait);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if ((fds[0].revents | fds[2].revents) & POLLIN) {
            if (Stopped(stopMark)) return 0;
            if (!(fds[1].revents & events)) continue; // a stale stop, now cleared
        }
        if (n == 0) return 0;
        if (!(fds[1].revents & events) && (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))) return -1;
        return 1;
    }
}

int CHidDevice::WriteReport(const uint8_t* buffer, size_t length, uint32_t* transferred, int timeoutMs) {
    // Taken before the flag: a stop raised once the flag shows counts for us.
    const uint64_t stopMark = m_StopCount.load();
    CFlagScope writing(m_Writing);
    uint32_t done = 0;
    int result = 0;
    std::shared_ptr<CHidHandle> handle = CurrentHandle();
    if (handle && buffer && length > 0) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            // A stop raised since this transfer began ends it even before it waits.
            if (Stopped(stopMark)) break;
            int n = handle->TryWrite(buffer, length);
            if (n < 0) break;
            if (n > 0) {
                done = static_cast<uint32_t>(n);
                result = static_cast<size_t>(n) == length ? 1 : 0;
                break;
            }
            int left = timeoutMs;
            if (timeoutMs >= 0) {
                auto ms =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (ms <= 0) break;
                left = static_cast<int>(ms);
            }
            short events = handle->WriteEvents();
            if (events == 0 || Wait(*handle, events, left, stopMark) != 1) break;
        }
    }
    if (transferred) *transferred = done;
    return result;
}

int CHidDevice::ReadReport(uint8_t* buffer, size_t length, uint32_t* transferred, int timeoutMs) {
    const uint64_t stopMark = m_StopCount.load();
    CFlagScope reading(m_Reading);
    uint32_t done = 0;
    int result = 0;
    std::shared_ptr<CHidHandle> handle = CurrentHandle();
    // The descriptor is fixed while the handle lives; copy what the filter needs.
    std::shared_ptr<const HidPreparsedData> pp = CurrentPreparsed();
    if (handle && pp && buffer && length > 0) {
        const bool usesIds = pp->UsesReportIds;
        const uint16_t* sizes = pp->ReportBytes[static_cast<int>(HidReportKind::Input)];
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
        uint8_t raw[4097];
        for (;;) {
            int left = -1;
            if (timeoutMs >= 0) {
                auto ms =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
                left = ms < 0 ? 0 : static_cast<int>(ms);
            }
            int w = Wait(*handle, POLLIN, left, stopMark);
            if (w != 1) break;
            // Reports of unnumbered devices come without an id byte; give them
            // the 0 the report layout expects.
            size_t at = usesIds ? 0 : 1;
            raw[0] = 0;
            int n = handle->TryRead(raw + at, sizeof raw - 1);
            if (n < 0) break;
            if (n == 0) continue;
            size_t got = static_cast<size_t>(n) + at;
            // Only whole reports of this collection count; others are dropped.
            uint16_t want = sizes[raw[0]];
            if (want == 0 || got != want || got > length) continue;
            std::memcpy(buffer, raw, got);
            if (got < length) std::memset(buffer + got, 0, length - got);
            done = static_cast<uint32_t>(got);
            result = 1;
            break;
        }
    }
    if (transferred) *transferred = done;
    return result;
}

bool CHidDevice::UnpackReport(const uint8_t* report, size_t length, HidReportKind kind, HidDataItem* items,
                              uint32_t itemCount, const HidPreparsedData* preparsed) {
    if (!report || length == 0 || !preparsed || (!items && itemCount)) return true;
    std::span<const uint8_t> r(report, length);
    const uint32_t id = report[0];
    for (uint32_t i = 0; i < itemCount; ++i) {
        HidDataItem& item = items[i];
        if (item.ReportID != id) continue;
        if (item.IsButton) {
            std::vector<uint16_t> got(item.UsageCapacity);
            uint32_t n = item.UsageCapacity;
            item.Status = GetUsages(kind, item.UsagePage, got.data(), &n, *preparsed, r);
            uint32_t kept = 0;
            for (uint32_t k = 0; k < n && kept < item.Usages.size(); ++k)
                if (got[k] >= item.UsageMin && got[k] <= item.UsageMax) item.Usages[kept++] = got[k];
            if (kept < item.Usages.size()) item.Usages[kept] = 0;
        } else {
            item.Status = GetUsageValue(kind, item.UsagePage, item.Usage, &item.RawValue, *preparsed, r);
            if (item.Status != HIDP_STATUS_SUCCESS) return false;
            item.Status =
                GetScaledUsageValue(kind, item.UsagePage, item.Usage, &item.ScaledValue, *preparsed, r);
        }
        item.IsSet = 1;
    }
    return true;
}

} // namespace orvane
