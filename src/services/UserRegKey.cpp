#include "services/UserRegKey.h"

namespace orvane {

CRegistryKey& UserRegKey() {
    static CRegistryKey key;
    return key;
}

bool OpenUserRegKey() {
    return UserRegKey().OpenOrCreate(kUserRegKeyPath);
}

} // namespace orvane
