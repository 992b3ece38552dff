#pragma once
// The stop hook of the device threads (used by tests only) and their waits,
// which the hook ends early.
#include "device/HidDevice.h"

namespace orvane {

// Sleeps `ms`; false when the threads are asked to stop.
bool DeviceThreadWait(int ms);
bool DeviceThreadsStopping();
void ResetDeviceThreadStop();
// The listener's device, so a stop can cancel its endless read.
void RegisterListenerDevice(CHidDevice* device);

} // namespace orvane
