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

// Start-up creates them before the main window and deletes them after it has
// returned; nothing may take them afterwards. The functions above stay usable
// in tests, which never call these.
void CreateProcessLocks();
void DeleteProcessLocks();

} // namespace orvane
