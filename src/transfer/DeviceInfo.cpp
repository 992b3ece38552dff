#include "transfer/DeviceInfo.h"

#include "device/DefaultKeyMatrix.h"

namespace orvane {

DeviceInfoRecord& SystemDeviceInfo() {
    static DeviceInfoRecord record{};
    return record;
}

int ReadSystemDeviceInfo() {
    return DevReadInfo(SystemDeviceInfo());
}

int DeviceInfoProfile() {
    const int p = SystemDeviceInfo()[DEVICE_INFO_ACTIVE_PROFILE];
    return p < PROFILE_COUNT ? p : -1;
}

bool DeviceOffersMode(int mode) {
    const DeviceInfoRecord& info = SystemDeviceInfo();
    for (size_t i = 0; i < DEVICE_INFO_MODE_SLOTS; ++i)
        if (mode > 0 && info[DEVICE_INFO_MODES + i] == mode) return true;
    return false;
}

namespace {

int ReadDeviceInfoAndCapacity() {
    DeviceInfoRecord info{};
    const int r = DevReadInfo(info);
    if (r == DEV_OK) {
        SetMacroCapacity(static_cast<size_t>(info[DEVICE_INFO_MACRO_UNITS]) * 128);
        SystemDeviceInfo() = info;
    }
    return r;
}

} // namespace

int EnsureMacroCapacity() {
    return MacroCapacity() != 0 ? DEV_OK : ReadDeviceInfoAndCapacity();
}

int ReadConnectionInfo() {
    RefreshDefaultKeyMatrix();
    return ReadDeviceInfoAndCapacity();
}

} // namespace orvane
