#pragma once
// How the device threads wait: on the system's hotplug announcements, on the
// hang-up of the open keyboard and on the stop hook (used by tests only),
// never on a clock while nothing changes. Where the system announces nothing
// they fall back to looking on a timer.
#include <cstdint>
#include <memory>

#include "device/HidBackend.h"

namespace orvane {

class CDeviceWatch {
  public:
    // Opens the backend's hotplug source. Open it before the first look at
    // the interfaces, so nothing that arrives in between is missed.
    CDeviceWatch();
    // True when there is no hotplug source and Wait sleeps its time instead.
    bool Timed() const { return !m_Source; }
    // Returns after a hotplug announcement, after POLLHUP/POLLERR on
    // `hangupFd` (-1 for none), or after `limitMs` (-1: no limit; a timed
    // watch always waits its fallback `timedMs`). False when the threads are
    // asked to stop.
    bool Wait(int timedMs, int hangupFd, int limitMs = -1);

  private:
    std::unique_ptr<CHotplugSource> m_Source;
};

// Says once per process, on stderr, that the interfaces could not be listed
// (the threads go on and list them again after their next wait).
void SayListingFailedOnce();

// Sleeps `ms`; false when the threads are asked to stop.
bool DeviceThreadWait(int ms);
bool DeviceThreadsStopping();
void ResetDeviceThreadStop();
// Readable while the threads are asked to stop (for CHidDevice::SetAbortFd).
int DeviceThreadStopFd();
// How often the device threads' waits have returned for any reason but a
// stop: what a test or benchmark reads to see that nothing wakes them.
uint64_t DeviceThreadWakeups();
// How many device threads are waiting now with no time limit, so that only
// a change can wake them.
int DeviceThreadWaitsWithoutLimit();

} // namespace orvane
