// Colour wheels and brightness curves of the preview. The printed halves are
// written out; the mirrored halves and the wheel segments are built from them
// at compile time.
#include "model/LightingTables.h"

namespace orvane {
namespace {

// clang-format off
constexpr std::array<uint8_t, kRampSize> kU = {
    1, 3, 5, 7, 10, 14, 18, 22, 26, 32, 38, 44, 50, 57, 65, 73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255,
};
constexpr std::array<uint8_t, kRampSize> kD = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69, 61, 53, 47, 41, 35, 29, 24, 20, 16, 12, 8, 6, 4, 2, 0,
};
// Rising half of the pulse curve, entries 0-47.
constexpr std::array<uint8_t, 48> kPulseRising = {
    22, 24, 27, 30, 33, 36, 39, 42, 45, 49, 53, 57, 61, 65, 69, 73,
    77, 81, 85, 89, 94, 99, 104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255,
};
// Entries 0-79 of the wave curve; the rest are 0.
constexpr std::array<uint8_t, 80> kWaveStart = {
    0, 4, 8, 14, 22, 33, 45, 61, 77, 94, 114, 134, 158, 182, 206, 234,
    255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
    152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99, 94, 89, 85, 81, 77,
    73, 69, 65, 61, 57, 53, 49, 45, 42, 39, 36, 33, 30, 27, 24, 22,
    20, 18, 16, 14, 12, 10, 9, 8, 7, 6, 5, 4, 3, 2, 2, 1,
};
// Entries 0-15 of the breath curve; the pulse curve's rising half follows.
constexpr std::array<uint8_t, 16> kBreathStart = {
    3, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20,
};
// clang-format on

constexpr std::array<Colour, kWheelSize> BuildWheel() {
    std::array<Colour, kWheelSize> w{};
    for (size_t k = 0; k < kRampSize; ++k) {
        w[k] = MakeColour(255, kU[k], 0);
        w[32 + k] = MakeColour(kD[k], 255, 0);
        w[64 + k] = MakeColour(0, 255, kU[k]);
        w[96 + k] = MakeColour(0, kD[k], 255);
        w[128 + k] = MakeColour(kU[k], 0, 255);
        w[160 + k] = MakeColour(255, 0, kD[k]);
    }
    return w;
}

constexpr std::array<Colour, kLongWheelSize> BuildLongWheel() {
    const std::array<Colour, kWheelSize> wheel = BuildWheel();
    std::array<Colour, kLongWheelSize> w{};
    for (size_t h = 0; h < kLongWheelSize; ++h)
        w[h] = wheel[h % kWheelSize];
    return w;
}

constexpr std::array<uint8_t, kPulseSize> BuildPulse() {
    std::array<uint8_t, kPulseSize> p{};
    for (size_t k = 0; k < kPulseRising.size(); ++k) {
        p[k] = kPulseRising[k];
        p[kPulseSize - 1 - k] = kPulseRising[k];
    }
    return p;
}

constexpr std::array<uint8_t, kWaveSize> BuildWave() {
    std::array<uint8_t, kWaveSize> w{};
    for (size_t k = 0; k < kWaveStart.size(); ++k)
        w[k] = kWaveStart[k];
    return w;
}

constexpr std::array<uint8_t, kBreathSize> BuildBreath() {
    std::array<uint8_t, kBreathSize / 2> half{};
    for (size_t k = 0; k < kBreathStart.size(); ++k)
        half[k] = kBreathStart[k];
    for (size_t k = 0; k < kPulseRising.size(); ++k)
        half[kBreathStart.size() + k] = kPulseRising[k];
    std::array<uint8_t, kBreathSize> b{};
    for (size_t k = 0; k < half.size(); ++k) {
        b[k] = half[k];
        b[kBreathSize - 1 - k] = half[k];
    }
    return b;
}

static_assert(kBreathStart.size() + kPulseRising.size() == kBreathSize / 2);

} // namespace

constinit const std::array<uint8_t, kRampSize> kRisingRamp = kU;
constinit const std::array<uint8_t, kRampSize> kFallingRamp = kD;
constinit const std::array<Colour, kWheelSize> kColourWheel = BuildWheel();
constinit const std::array<Colour, kLongWheelSize> kLongWheel = BuildLongWheel();
constinit const std::array<uint8_t, kPulseSize> kPulseCurve = BuildPulse();
constinit const std::array<uint8_t, kWaveSize> kWaveCurve = BuildWave();
constinit const std::array<uint8_t, kBreathSize> kBreathCurve = BuildBreath();

} // namespace orvane
