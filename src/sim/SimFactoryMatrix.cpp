#include <array>
#include <cstdint>
#include <iterator>

#include "device/DefaultKeyMatrix.h"
#include "sim/SimFirmware.h"

namespace orvane {
namespace {

// Positions 0-62 are the table every keyboard of this model starts with (the
// program's built-in default); the rest give the keys of the key picture
// sensible factory codes. Eight positions per row; 000000 is empty.
constexpr size_t kFirstTailPosition = 63;
// clang-format off
constexpr uint32_t kFactoryTail[128 - kFirstTailPosition] = {
    // 63
    0x000000,
    // 64-71: F7 7 U J M
    0x020240, 0x020224, 0x020218, 0x02020D, 0x020210, 0x000000, 0x000000, 0x000000,
    // 72-79: F8 8 I K , RGui
    0x020241, 0x020225, 0x02020C, 0x02020E, 0x020236, 0x020180, 0x000000, 0x000000,
    // 80-87: F9 9 O L .
    0x020242, 0x020226, 0x020212, 0x02020F, 0x020237, 0x000000, 0x000000, 0x000000,
    // 88-95: F10 0 P ; / RCtrl
    0x020243, 0x020227, 0x020213, 0x020233, 0x020238, 0x020110, 0x000000, 0x000000,
    // 96-103: F11 - [ ' RShift Left
    0x020244, 0x02022D, 0x02022F, 0x020234, 0x020120, 0x020250, 0x000000, 0x000000,
    // 104-111: F12 Backspace ] \ Enter Up
    0x020245, 0x02022A, 0x020230, 0x020231, 0x020228, 0x020252, 0x000000, 0x000000,
    // 112-119: Insert Home PgUp Delete End PgDn Down Right
    0x020249, 0x02024A, 0x02024B, 0x02024C, 0x02024D, 0x02024E, 0x020251, 0x02024F,
    // 120-127: NumLock KP/ KP* KP- KP+ KPEnter KP1 KP2
    0x020253, 0x020254, 0x020255, 0x020256, 0x020257, 0x020258, 0x020259, 0x02025A,
};
// clang-format on

std::array<uint8_t, 512> Build() {
    std::array<uint8_t, 512> m = BuiltInDefaultKeyMatrix();
    for (size_t i = 0; i < std::size(kFactoryTail); ++i) {
        const size_t p = kFirstTailPosition + i;
        m[p * 3] = static_cast<uint8_t>(kFactoryTail[i] >> 16);
        m[p * 3 + 1] = static_cast<uint8_t>(kFactoryTail[i] >> 8);
        m[p * 3 + 2] = static_cast<uint8_t>(kFactoryTail[i]);
    }
    return m;
}

} // namespace

const std::array<uint8_t, 512>& SimFactoryMatrix() {
    static const std::array<uint8_t, 512> matrix = Build();
    return matrix;
}

} // namespace orvane
