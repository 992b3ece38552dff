#include "platform/CriticalSections.h"

namespace orvane {
namespace {
// Function-local statics: constructed on first use from any thread, never
// destroyed, since device threads that are never joined may still be leaving
// a guarded section when the main window has returned.
std::recursive_mutex& ConfigLockObject() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}
std::recursive_mutex& DriverLockObject() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}
} // namespace

std::recursive_mutex& ConfigStoreLock() {
    return ConfigLockObject();
}
std::recursive_mutex& DriverTableLock() {
    return DriverLockObject();
}

} // namespace orvane
