#include <cstdint>
#include <iterator>
#include <vector>

#include "sim/SimKeyboard.h"

namespace orvane {
namespace {

// Boot keyboard: modifiers, a reserved byte, six key slots; LED output.
// clang-format off
constexpr uint8_t kKeyboard[] = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,             // Generic Desktop, Keyboard, Application
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,             //   Keyboard page, modifiers E0-E7
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, //   0..1, 8 x 1 bit
    0x81, 0x02,                                     //   Input (Data, Variable)
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,             //   reserved byte
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08,             //   LED page
    0x19, 0x01, 0x29, 0x05, 0x91, 0x02,             //   Output, 5 LEDs
    0x95, 0x01, 0x75, 0x03, 0x91, 0x01,             //   padding
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, //   6 x 8 bit, 0..0x65
    0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, //   Input (Array)
    0xC0,
};
// clang-format on

// Consumer control (report 3, one 16-bit array slot) and the vendor command
// interface (report 4, 63 bytes each way).
// clang-format off
constexpr uint8_t kConsumerAndCommand[] = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,       // Consumer, Consumer Control, Application
    0x85, 0x03,                               //   Report ID 3
    0x15, 0x00, 0x26, 0xFF, 0x1F,             //   0..0x1FFF
    0x19, 0x00, 0x2A, 0xFF, 0x1F,             //   usages 0..0x1FFF
    0x75, 0x10, 0x95, 0x01, 0x81, 0x00,       //   1 x 16 bit, Input (Array)
    0xC0,                                     //
    0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, // Vendor 0xFF1C, usage 0x92, Application
    0x85, 0x04,                               //   Report ID 4
    0x15, 0x00, 0x26, 0xFF, 0x00,             //   0..255
    0x75, 0x08, 0x95, 0x3F,                   //   63 x 8 bit
    0x09, 0x01, 0x81, 0x02,                   //   Input (Data, Variable)
    0x09, 0x02, 0x91, 0x02,                   //   Output (Data, Variable)
    0xC0,
};
// clang-format on

} // namespace

const std::vector<uint8_t>& CSimKeyboard::NodeDescriptor(unsigned node) {
    // Never destroyed: the device threads, never joined, may still be
    // parsing them while the process ends.
    static const auto* keyboard = new std::vector<uint8_t>(std::begin(kKeyboard), std::end(kKeyboard));
    static const auto* consumer =
        new std::vector<uint8_t>(std::begin(kConsumerAndCommand), std::end(kConsumerAndCommand));
    return node == 0 ? *keyboard : *consumer;
}

} // namespace orvane
