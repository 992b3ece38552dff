#include "model/PreviewState.h"

namespace orvane {

void CRipplePlanes::SetCell(int column, int row) {
    if (column < 0 || column >= kGridColumns || row < 0 || row > 7) return;
    for (auto& p : plane)
        p[static_cast<size_t>(column)] |= static_cast<uint8_t>(1u << row);
}

uint8_t CRipplePlanes::ColumnOr(int column) const {
    if (column < 0 || column >= kGridColumns) return 0;
    uint8_t v = 0;
    for (const auto& p : plane)
        v |= p[static_cast<size_t>(column)];
    return v;
}

namespace {

uint8_t Down(uint8_t v) {
    return static_cast<uint8_t>(v << 1);
}
uint8_t Up(uint8_t v) {
    return static_cast<uint8_t>(v >> 1);
}

// Each column takes its own bits shifted plus the unshifted bits of its
// neighbour on the side the plane spreads from, read before that neighbour
// moves: walking away from the neighbour keeps it unchanged.
template <uint8_t (*Shift)(uint8_t)> void SpreadLeft(std::array<uint8_t, kGridColumns>& col) {
    for (int j = 0; j < kGridColumns - 1; ++j)
        col[j] = static_cast<uint8_t>(Shift(col[j]) | col[j + 1]);
    col[kGridColumns - 1] = Shift(col[kGridColumns - 1]);
}

template <uint8_t (*Shift)(uint8_t)> void SpreadRight(std::array<uint8_t, kGridColumns>& col) {
    for (int j = kGridColumns - 1; j > 0; --j)
        col[j] = static_cast<uint8_t>(Shift(col[j]) | col[j - 1]);
    col[0] = Shift(col[0]);
}

} // namespace

void CRipplePlanes::Spread() {
    SpreadLeft<Down>(plane[0]);
    SpreadRight<Down>(plane[1]);
    SpreadRight<Up>(plane[2]);
    SpreadLeft<Up>(plane[3]);
}

void CRipplePlanes::ShiftVertical() {
    for (int j = 0; j < kGridColumns; ++j) {
        plane[0][j] = Down(plane[0][j]);
        plane[1][j] = Down(plane[1][j]);
        plane[2][j] = Up(plane[2][j]);
        plane[3][j] = Up(plane[3][j]);
    }
}

int AdvancePhase(int direction, int phase, int step, int size) {
    // A phase left by the other half of a mode (colourful and single colour
    // use different sizes) is brought into range first so it never indexes
    // past a curve.
    if (size <= 0) return 0;
    phase %= size;
    if (phase < 0) phase += size;
    if (direction != 0) {
        phase += step;
        if (phase >= size) phase -= size;
    } else {
        phase -= step;
        if (phase < 0) phase += size;
    }
    return phase;
}

} // namespace orvane
