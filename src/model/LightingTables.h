#pragma once
// Constant tables of the lighting preview: colour wheels and brightness
// curves, the preview grid, the spiral order with its animation slots, the
// sparkle order, the rainbow groups and the script of the demonstration mode.
// Keys are named as in LightingKeys.h. Read-only, shared by all threads.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "model/LightingKeys.h"

namespace orvane {

// Red in bits 0-7, green in 8-15, blue in 16-23.
using Colour = uint32_t;

constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}
constexpr uint8_t RedOf(Colour c) {
    return static_cast<uint8_t>(c);
}
constexpr uint8_t GreenOf(Colour c) {
    return static_cast<uint8_t>(c >> 8);
}
constexpr uint8_t BlueOf(Colour c) {
    return static_cast<uint8_t>(c >> 16);
}

// Each channel times v / 255, truncated.
constexpr Colour ScaleColour(Colour c, uint8_t v) {
    return MakeColour(static_cast<uint8_t>(RedOf(c) * v / 255), static_cast<uint8_t>(GreenOf(c) * v / 255),
                      static_cast<uint8_t>(BlueOf(c) * v / 255));
}

// ------------------------------------------------------------ colours

constexpr size_t kWheelSize = 192;
constexpr size_t kLongWheelSize = 256;
constexpr size_t kRampSize = 32;
constexpr size_t kPulseSize = 96;
constexpr size_t kWaveSize = 192;
constexpr size_t kBreathSize = 128;

extern const std::array<uint8_t, kRampSize> kRisingRamp;  // U
extern const std::array<uint8_t, kRampSize> kFallingRamp; // D
extern const std::array<Colour, kWheelSize> kColourWheel;
extern const std::array<Colour, kLongWheelSize> kLongWheel;
extern const std::array<uint8_t, kPulseSize> kPulseCurve;
extern const std::array<uint8_t, kWaveSize> kWaveCurve;
extern const std::array<uint8_t, kBreathSize> kBreathCurve;

// ------------------------------------------------------------ geometry

constexpr int kGridColumns = 23;
constexpr int kGridRows = 6;
constexpr int kSpiralLength = 107; // the 106 keys of the picture and Fn
constexpr int kSlotCount = 126;    // animation slots 0-125
constexpr int kSparkleLength = 106;
constexpr uint8_t kSparkleSlotZero = 106; // this sparkle entry lights slot 0 directly
constexpr int kRainbowGroupCount = 12;

// Row 0 at the top; pk::xx for a cell without a key; wide keys fill two cells.
extern const std::array<std::array<uint8_t, kGridColumns>, kGridRows> kPreviewGrid;

struct SpiralEntry {
    uint8_t key;  // pk name
    uint8_t slot; // animation slot 0-125
};
extern const std::array<SpiralEntry, kSpiralLength> kSpiralOrder;

// Positions into the spiral order; kSparkleSlotZero stands for slot 0.
extern const std::array<uint8_t, kSparkleLength> kSparkleOrder;

// A short constant list of keys (a rainbow group, a demonstration step).
struct KeyGroup {
    static constexpr size_t kMax = 12;
    uint8_t count = 0;
    std::array<uint8_t, kMax> keys{};
    constexpr KeyGroup(std::initializer_list<uint8_t> list) {
        for (uint8_t k : list)
            keys[count++] = k; // too many keys fails to compile
    }
    constexpr const uint8_t* begin() const { return keys.data(); }
    constexpr const uint8_t* end() const { return keys.data() + count; }
};

extern const std::array<KeyGroup, kRainbowGroupCount> kRainbowGroups;

constexpr int kDemoStepCount = 20;
constexpr int kDemoPairCount = 16;
extern const std::array<KeyGroup, kDemoStepCount> kDemoSteps;
extern const std::array<KeyGroup, kDemoPairCount> kDemoPairs;

// ------------------------------------------------------------ lookups

// Animation slot of a key (first listing in the spiral order wins), -1 when
// the key does not take part in the slot-based modes.
int SpiralSlotOfKey(uint8_t key);
// Grid cell of a key (the first one, row by row); false when not in the grid.
bool GridCellOfKey(uint8_t key, int* column, int* row);

} // namespace orvane
