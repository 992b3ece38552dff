// Consumer usage table: the HID consumer-page usage that usage byte 0xC0 + n
// of the key table stands for. Entries 18-31 are empty; Zoom-, Zoom+, Word and
// Excel (usage bytes 0xD2-0xD5) point at empty entries.
#include <array>

#include "model/KeyTables.h"

namespace orvane {
namespace {

// clang-format off
constexpr std::array<uint16_t, kConsumerUsageCount> kConsumerUsages = {
    0x00E9, // C0 Volume Increment
    0x00EA, // C1 Volume Decrement
    0x0183, // C2 AL Consumer Control Configuration
    0x018A, // C3 AL Email Reader
    0x0192, // C4 AL Calculator
    0x0194, // C5 AL Local Machine Browser
    0x0221, // C6 AC Search
    0x0223, // C7 AC Home
    0x0224, // C8 AC Back
    0x0225, // C9 AC Forward
    0x0226, // CA AC Stop
    0x0227, // CB AC Refresh
    0x022A, // CC AC Bookmarks
    0x00E2, // CD Mute
    0x00CD, // CE Play/Pause
    0x00B7, // CF Stop
    0x00B6, // D0 Scan Previous Track
    0x00B5, // D1 Scan Next Track
    // D2-DF: empty
};
// clang-format on

} // namespace

uint16_t ConsumerUsageAt(size_t n) {
    return n < kConsumerUsages.size() ? kConsumerUsages[n] : 0;
}

} // namespace orvane
