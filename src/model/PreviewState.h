#pragma once
// The state the preview animation keeps between ticks: phases, the per-slot
// hue and brightness arrays of the slot-based modes and their ripple planes.
#include <array>
#include <cstdint>

#include "model/LightingTables.h"

namespace orvane {

constexpr int kRipplePlaneCount = 4;

// Four planes of one byte per grid column, bit r standing for grid row r.
// Plane 0 spreads left and down, 1 right and down, 2 right and up, 3 left and
// up. Rows 6 and 7 hold no keys but their bits keep travelling.
struct CRipplePlanes {
    std::array<std::array<uint8_t, kGridColumns>, kRipplePlaneCount> plane{};

    void Clear() { plane = {}; }
    // Sets bit `row` of `column` in all four planes.
    void SetCell(int column, int row);
    // OR of `column` over the four planes.
    uint8_t ColumnOr(int column) const;
    bool CellSet(int column, int row) const { return (ColumnOr(column) >> row) & 1; }
    // One step of the expanding diamond.
    void Spread();
    // Planes 0 and 1 one row down, 2 and 3 one row up; no sideways movement.
    void ShiftVertical();
};

// Hue and brightness of every animation slot.
struct CSlotLights {
    std::array<uint8_t, kSlotCount> hue{};
    std::array<uint8_t, kSlotCount> brightness{};
    void Clear() {
        hue = {};
        brightness = {};
    }
};

constexpr int kPreviewModeCount = 21; // indexes 1-20 are used

struct CPreviewState {
    std::array<int, kPreviewModeCount> phase{};
    std::array<bool, kPreviewModeCount> busy{}; // re-entry flags
    // The mode-14 step counter, which is also mode 15's stored column and
    // mode 18's phase.
    int sharedCounter = 0;
    int demoStage = 0;
    uint8_t demoHue = 0;
    int sparkleIndex = 0;
    bool spiralHuesSet = false; // mode 11 sets its start hues once
    bool bounceStarted = false; // mode 13 drops its first ripple once
    std::array<uint8_t, kSlotCount> spiralHue{};
    CSlotLights rainLights;     // modes 10 and 15
    CSlotLights bounceLights;   // mode 13
    CSlotLights demoLights;     // mode 14
    CSlotLights cornerLights;   // mode 16
    CRipplePlanes bouncePlanes; // mode 13
    CRipplePlanes demoPlanes;   // mode 14
    CRipplePlanes rainPlanes;   // mode 15
    CRipplePlanes cornerPlanes; // mode 16
};

// advance(dir, phase, step, size): forward when dir is non-zero.
int AdvancePhase(int direction, int phase, int step, int size);

} // namespace orvane
