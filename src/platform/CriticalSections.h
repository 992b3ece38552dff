#pragma once
// The two process-wide locks of the configuration. Whoever needs both takes
// ConfigStoreLock first, then DriverTableLock (and g_DeviceLock last of all).
#include <mutex>

namespace orvane {

// Guards the working copy: key functions, key strings, macros.
std::recursive_mutex& ConfigStoreLock();
// Guards the committed copy that Apply makes and sends.
std::recursive_mutex& DriverTableLock();

} // namespace orvane
