#include "platform/CriticalSections.h"

namespace orvane {
namespace {
// Function-local statics: constructed on first use from any thread, never
// destroyed, since device threads that are never joined may still be leaving
// a guarded section when the main window has returned.
COrderedLock& ConfigLockObject() {
    static auto* lock = new COrderedLock(kConfigStoreRank, "ConfigStoreLock");
    return *lock;
}
COrderedLock& DriverLockObject() {
    static auto* lock = new COrderedLock(kDriverTableRank, "DriverTableLock");
    return *lock;
}
} // namespace

COrderedLock& ConfigStoreLock() {
    return ConfigLockObject();
}
COrderedLock& DriverTableLock() {
    return DriverLockObject();
}

} // namespace orvane
