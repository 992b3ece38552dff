#pragma once
// The two process-wide locks of the configuration. Whoever needs both takes
// ConfigStoreLock first, then DriverTableLock (and g_DeviceLock last of all);
// where the order is checked, any other order ends the program.
#include "platform/OrderedLock.h"

namespace orvane {

// Guards the working copy: key functions, key strings, macros.
COrderedLock& ConfigStoreLock();
// Guards the committed copy that Apply makes and sends.
COrderedLock& DriverTableLock();

} // namespace orvane
