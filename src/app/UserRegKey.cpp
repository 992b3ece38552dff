#include "app/UserRegKey.h"

namespace orvane {

CRegistryKey& UserRegKey() {
    static CRegistryKey key;
    return key;
}

bool OpenUserRegKey() { return UserRegKey().OpenOrCreate("Software\\Brislane "); }

} // namespace orvane
