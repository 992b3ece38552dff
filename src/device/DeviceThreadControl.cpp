#include "device/DeviceThreadControl.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>

#include "device/ConnectionMonitor.h"

namespace orvane {
namespace {

std::atomic<uint64_t> g_Wakeups{0};
std::atomic<int> g_WaitsWithoutLimit{0};

// Stays readable from the stop until the reset: every wait sees it.
int StopFd() {
    static const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return fd;
}

void SayTimedOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::fputs("orvane: no udev hotplug events here; looking for the keyboard on a timer instead\n",
                   stderr);
    });
}

} // namespace

void SayListingFailedOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::fputs("orvane: the HID devices cannot be listed; looking again at the next device event\n",
                   stderr);
    });
}

namespace {

// 1 something to look at, 0 the time is up, -1 stop.
int PollWith(pollfd* fds, nfds_t count, int ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms < 0 ? 0 : ms);
    for (;;) {
        int left = -1;
        if (ms >= 0) {
            auto rest =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            left = rest < 0 ? 0 : static_cast<int>(rest);
        }
        const int n = poll(fds, count, left);
        if (n < 0 && errno == EINTR) continue;
        if (n > 0 && (fds[0].revents & POLLIN)) return -1;
        return n > 0 ? 1 : 0;
    }
}

} // namespace

CDeviceWatch::CDeviceWatch() : m_Source(HidBackend().OpenHotplugSource()) {
    if (!m_Source) SayTimedOnce();
}

bool CDeviceWatch::Wait(int timedMs, int hangupFd, int limitMs) {
    pollfd fds[3] = {{StopFd(), POLLIN, 0}, {m_Source ? m_Source->Fd() : -1, POLLIN, 0}, {hangupFd, 0, 0}};
    const int ms = m_Source ? limitMs : timedMs;
    if (ms < 0) g_WaitsWithoutLimit.fetch_add(1);
    const int r = PollWith(fds, 3, ms);
    if (ms < 0) g_WaitsWithoutLimit.fetch_sub(1);
    if (r < 0) return false;
    if (m_Source && (fds[1].revents & POLLIN)) m_Source->Drain();
    g_Wakeups.fetch_add(1);
    return true;
}

bool DeviceThreadWait(int ms) {
    pollfd fd = {StopFd(), POLLIN, 0};
    return PollWith(&fd, 1, ms) >= 0;
}

bool DeviceThreadsStopping() {
    pollfd fd = {StopFd(), POLLIN, 0};
    return poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

void ResetDeviceThreadStop() {
    uint64_t v;
    [[maybe_unused]] ssize_t n = read(StopFd(), &v, sizeof v);
}

int DeviceThreadStopFd() {
    return StopFd();
}

uint64_t DeviceThreadWakeups() {
    return g_Wakeups.load();
}

int DeviceThreadWaitsWithoutLimit() {
    return g_WaitsWithoutLimit.load();
}

void StopDeviceThreads() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(StopFd(), &one, sizeof one);
}

} // namespace orvane
