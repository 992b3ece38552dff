#include "device/DeviceDiscovery.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "device/DeviceCommands.h"

namespace orvane {
namespace {

// The hexadecimal number after the first `key` (case ignored), or 0.
uint32_t NumberAfter(const char* path, const char* key) {
    const size_t keyLength = std::strlen(key);
    for (const char* p = path; *p; ++p) {
        if (strncasecmp(p, key, keyLength) != 0) continue;
        unsigned int v = 0;
        if (std::sscanf(p + keyLength, "%x", &v) != 1) return 0;
        return v;
    }
    return 0;
}

} // namespace

bool MatchVidPidInPath(const char* path) {
    if (!path) return false;
    uint32_t v = NumberAfter(path, "vid_");
    uint32_t p = NumberAfter(path, "pid_");
    if ((v & 0xFFFF) == 0x0C45) return (p & 0xFFFF) == 0x5004;
    if ((v & 0xFFFF) == 0x320F) return (p & 0xFFFF) == 0x5000;
    return false;
}

bool IsAcceptedKeyboard(uint16_t vendorId, uint16_t productId) {
    return KeyCountForIds(vendorId, productId) != 0;
}

bool IsCommandInterface(const CHidDevice& device) {
    return IsAcceptedKeyboard(device.VendorID(), device.ProductID()) &&
           device.UsagePage() == COMMAND_USAGE_PAGE && device.Usage() == COMMAND_USAGE;
}

bool IsConsumerInterface(const CHidDevice& device) {
    return IsAcceptedKeyboard(device.VendorID(), device.ProductID()) &&
           device.UsagePage() == CONSUMER_USAGE_PAGE && device.Usage() == CONSUMER_USAGE;
}

bool OpenCommandInterface(CHidDevice& device) {
    if (!device.EnumerateInterfaces()) return false;
    bool found = false;
    while (const char* path = device.NextInterfacePath()) {
        if (!MatchVidPidInPath(path)) continue;
        if (!device.Open(path, true, true, true, false)) continue;
        if (IsCommandInterface(device)) {
            SetModelParameters(device.VendorID(), device.ProductID());
            found = true;
            break;
        }
        device.Close();
    }
    device.FreeInterfaceList();
    return found;
}

} // namespace orvane
