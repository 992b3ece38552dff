#include "device/HidPath.h"

#include <cstdio>
#include <cstdlib>

namespace orvane {

std::string MakeInterfacePath(const std::string& node, uint16_t vendorId, uint16_t productId,
                              unsigned collectionIndex) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "#vid_%04x&pid_%04x&col%02u", vendorId, productId,
                  collectionIndex + 1);
    return node + suffix;
}

bool SplitInterfacePath(const std::string& path, std::string* node, unsigned* collectionIndex) {
    size_t hash = path.rfind('#');
    size_t col = path.rfind("&col");
    if (hash == std::string::npos || col == std::string::npos || col < hash) return false;
    const char* digits = path.c_str() + col + 4;
    char* end = nullptr;
    unsigned long n = std::strtoul(digits, &end, 10);
    if (end == digits || *end != 0 || n == 0 || n > 255) return false;
    *node = path.substr(0, hash);
    *collectionIndex = static_cast<unsigned>(n - 1);
    return true;
}

} // namespace orvane
