#include "transfer/DeviceInfo.h"

#include <mutex>

#include "device/DefaultKeyMatrix.h"

namespace orvane {

namespace {
// Never held across a request, and no other lock is taken under it.
std::mutex g_InfoMutex;
DeviceInfoRecord g_Info{};
} // namespace

DeviceInfoRecord SystemDeviceInfo() {
    std::lock_guard lock(g_InfoMutex);
    return g_Info;
}

void SetSystemDeviceInfo(const DeviceInfoRecord& info) {
    std::lock_guard lock(g_InfoMutex);
    g_Info = info;
}

int ReadSystemDeviceInfo() {
    DeviceInfoRecord info = SystemDeviceInfo();
    const int r = DevReadInfo(info);
    if (r == DEV_OK) SetSystemDeviceInfo(info);
    return r;
}

int DeviceInfoProfile() {
    const int p = SystemDeviceInfo()[DEVICE_INFO_ACTIVE_PROFILE];
    return p < PROFILE_COUNT ? p : -1;
}

bool DeviceOffersMode(int mode) {
    const DeviceInfoRecord info = SystemDeviceInfo();
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
        SetSystemDeviceInfo(info);
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
