// The slot-based modes: sparkle (10), bouncing ripple (13), the scripted
// demonstration (14), rain (15) and corner ripples (16). Each keeps a hue and
// a brightness per animation slot; lit slots fade a little every tick.
#include "model/Preview.h"

namespace orvane {

namespace {

uint8_t Decay(uint8_t b, int x, int y, int z) {
    int d = 0;
    if (b >= 128)
        d = x;
    else if (b >= 64)
        d = y;
    else if (b >= 32)
        d = z;
    else if (b >= 17)
        d = 5;
    else if (b >= 1)
        d = 1;
    return static_cast<uint8_t>(b - d);
}

int SlotOfSparkle(uint8_t position) {
    if (position == kSparkleSlotZero || position >= kSpiralLength) return 0;
    return kSpiralOrder[position].slot;
}

} // namespace

void CPreview::Reseed() {
    m_random.Seed(static_cast<uint32_t>(m_clock()));
}

void CPreview::LightSlot(CSlotLights& set, int slot, bool colourful) {
    set.brightness[static_cast<size_t>(slot)] = 255;
    if (colourful) set.hue[static_cast<size_t>(slot)] = static_cast<uint8_t>(m_random.Next() % 255);
}

void CPreview::Spawn(const CRipplePlanes& planes, CSlotLights& set, bool colourful) {
    for (int c = 0; c < kGridColumns; ++c) {
        const uint8_t bits = planes.ColumnOr(c);
        if (bits == 0) continue;
        for (int r = 0; r < kGridRows; ++r) {
            if (!((bits >> r) & 1)) continue;
            const int slot = SpiralSlotOfKey(kPreviewGrid[r][c]);
            if (slot >= 0) LightSlot(set, slot, colourful);
        }
    }
}

void CPreview::DrawSlots(CSlotLights& set, int x, int y, int z, const PreviewParams& p, CKeyLights& lights) {
    for (const SpiralEntry& e : kSpiralOrder) {
        uint8_t& b = set.brightness[e.slot];
        b = Decay(b, x, y, z);
        const Colour base = p.colourful ? kLongWheel[set.hue[e.slot]] : p.colour;
        lights.SetKeyLight(KeyButtonOfPreviewKey(e.key), ScaleColour(base, b), true);
    }
}

void CPreview::TickSparkle(const PreviewParams& p, CKeyLights& lights) {
    Reseed();
    // One new sparkle per tick, with a random hue even in single colour.
    CSlotLights& set = m_state.rainLights;
    int& index = m_state.sparkleIndex;
    index = index + 1 >= kSparkleLength ? 0 : index + 1;
    const int slot = SlotOfSparkle(kSparkleOrder[static_cast<size_t>(index)]);
    set.brightness[static_cast<size_t>(slot)] = 255;
    set.hue[static_cast<size_t>(slot)] = static_cast<uint8_t>(m_random.Next() % 255);
    DrawSlots(set, 20, 16, 10, p, lights);
}

void CPreview::TickBounce(const PreviewParams& p, CKeyLights& lights) {
    Reseed();
    CRipplePlanes& planes = m_state.bouncePlanes;
    if (!m_state.bounceStarted) {
        planes.SetCell(9, 6);
        m_state.bounceStarted = true;
    }
    const uint8_t column = planes.ColumnOr(9);
    if (column == 0x01)
        planes.SetCell(9, 0);
    else if (column == 0x40)
        planes.SetCell(9, 6);
    Spawn(planes, m_state.bounceLights, p.colourful);
    planes.Spread();
    DrawSlots(m_state.bounceLights, 80, 50, 20, p, lights);
}

void CPreview::TickRain(const PreviewParams& p, CKeyLights& lights) {
    Reseed();
    CRipplePlanes& planes = m_state.rainPlanes;
    int s = m_state.sharedCounter % kGridColumns;
    if (s < 0) s += kGridColumns;
    s = (s + 7) % kGridColumns;
    for (int n = 0; n < 3; ++n) {
        s = (s + 3) % kGridColumns;
        planes.SetCell(s, 0);
    }
    m_state.sharedCounter = s;
    Spawn(planes, m_state.rainLights, p.colourful);
    planes.ShiftVertical();
    DrawSlots(m_state.rainLights, 20, 16, 10, p, lights);
}

void CPreview::TickCorners(const PreviewParams& p, CKeyLights& lights) {
    Reseed();
    CRipplePlanes& planes = m_state.cornerPlanes;
    if (planes.ColumnOr(1) == 0x01) planes.SetCell(1, 0);
    if (planes.ColumnOr(22) == 0x40) planes.SetCell(22, 6);
    Spawn(planes, m_state.cornerLights, p.colourful);
    planes.Spread();
    DrawSlots(m_state.cornerLights, 20, 16, 10, p, lights);
}

void CPreview::TickDemo(const PreviewParams& p, CKeyLights& lights) {
    Reseed();
    CSlotLights& set = m_state.demoLights;
    uint8_t& hue = m_state.demoHue;
    ++hue;
    auto light = [&](uint8_t key, int hueStep) {
        const int slot = SpiralSlotOfKey(key);
        if (slot < 0) return;
        set.brightness[static_cast<size_t>(slot)] = 255;
        if (p.colourful) {
            hue = static_cast<uint8_t>(hue + hueStep);
            set.hue[static_cast<size_t>(slot)] = hue;
        }
    };
    const size_t oSlot = static_cast<size_t>(SpiralSlotOfKey(pk::O));
    const size_t enterSlot = static_cast<size_t>(SpiralSlotOfKey(pk::NumEnter));
    int& step = m_state.sharedCounter;
    switch (m_state.demoStage) {
    case 0:
        // A counter left out of range by another mode ends the steps at once.
        if (step >= 0 && step < kDemoStepCount)
            for (uint8_t key : kDemoSteps[static_cast<size_t>(step)])
                light(key, 11);
        if (step < 0 || step >= kDemoStepCount - 1) {
            m_state.demoStage = 1;
            step = 0;
        } else {
            ++step;
        }
        break;
    case 1:
        if (step >= 0 && step <= 30) {
            for (uint8_t key : kDemoPairs[static_cast<size_t>(step % kDemoPairCount)])
                light(key, 1);
            ++step;
        } else if (set.brightness[oSlot] == 0) {
            m_state.demoStage = 2;
        }
        break;
    case 2: {
        int column = 0, row = 0;
        if (GridCellOfKey(pk::O, &column, &row)) m_state.demoPlanes.SetCell(column, row);
        m_state.demoStage = 3;
        break;
    }
    case 3:
        Spawn(m_state.demoPlanes, set, p.colourful);
        m_state.demoPlanes.Spread();
        if (set.brightness[enterSlot] != 0) m_state.demoStage = 4;
        break;
    default:
        if (set.brightness[enterSlot] == 0) {
            m_state.demoStage = 0;
            step = 0;
        }
        break;
    }
    DrawSlots(set, 30, 20, 10, p, lights);
}

} // namespace orvane
