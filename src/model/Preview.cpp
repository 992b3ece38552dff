// The preview's dispatch, its reset and the modes that draw straight from
// the grid, the spiral order or the rainbow groups.
#include "model/Preview.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace orvane {

namespace {

// Sets a mode's re-entry flag for the length of its routine; `entered` is
// false when the routine is already running.
class CReentryGuard {
  public:
    explicit CReentryGuard(bool& flag) : m_flag(flag), m_entered(!flag) { m_flag = true; }
    ~CReentryGuard() {
        if (m_entered) m_flag = false;
    }
    CReentryGuard(const CReentryGuard&) = delete;
    CReentryGuard& operator=(const CReentryGuard&) = delete;
    bool Entered() const { return m_entered; }

  private:
    bool& m_flag;
    bool m_entered;
};

void Show(CKeyLights& lights, uint8_t key, Colour c) {
    lights.SetKeyLight(KeyButtonOfPreviewKey(key), c, true);
}

constexpr int kQuartersPerStep = 4;

// The key buttons as the keyboard's brightness shows them.
class CDimmedLights final : public CKeyLights {
  public:
    CDimmedLights(CKeyLights& out, int brightness)
        : m_out(out), m_level(std::clamp(brightness, 0, kPreviewFullBrightness)) {}
    void SetKeyLight(const KeyButton& button, Colour colour, bool lit) override {
        if (m_level < kPreviewFullBrightness)
            colour = ScaleColour(colour, static_cast<uint8_t>(m_level * 255 / kPreviewFullBrightness));
        m_out.SetKeyLight(button, colour, lit);
    }

  private:
    CKeyLights& m_out;
    int m_level;
};

Colour Wheel(int h) {
    return kColourWheel[static_cast<size_t>(h) % kWheelSize];
}

// Grid walk: rows top to bottom, columns left to right; the counter restarts
// at `start` on every row and cells without a key still advance it. Each
// cell shows the counter, which then steps by `stride` modulo `size`.
template <typename Paint> void WalkGrid(int start, int stride, int size, Paint paint) {
    for (int r = 0; r < kGridRows; ++r) {
        int counter = start;
        for (int c = 0; c < kGridColumns; ++c) {
            uint8_t key = kPreviewGrid[r][c];
            if (key != pk::xx) paint(key, counter);
            counter = (counter + stride) % size;
        }
    }
}

} // namespace

CPreview::CPreview(Clock clock) : m_clock(std::move(clock)) {
    if (!m_clock) m_clock = [] { return static_cast<int64_t>(std::time(nullptr)); };
}

void CPreview::ClearPreview(CKeyLights& lights) {
    for (int n = 0; n < kKeyButtonCount; ++n)
        lights.SetKeyLight(KeyButtonAt(n), 0, false);
}

void CPreview::ResetPreviewState() {
    m_state.demoStage = 0;
    m_state.demoHue = 0;
    m_state.sharedCounter = 0;
    m_state.rainLights.Clear();
    m_state.rainPlanes.Clear();
    m_state.rainPlanes.SetCell(9, 6);
    m_state.cornerLights.Clear();
    m_state.cornerPlanes.Clear();
    m_state.cornerPlanes.SetCell(1, 0);
}

int PreviewQuartersPerTick(int speed) {
    constexpr int kQuarters[] = {8, 6, 4, 3, 2, 1};
    return kQuarters[std::clamp(speed, 0, 5)];
}

void CPreview::TimerTick(const PreviewParams& params, CKeyLights& lights) {
    const int quarters = PreviewQuartersPerTick(params.speed);
    if (m_stale) {
        ResetPreviewState();
        m_stale = false;
        m_stepQuarters = kQuartersPerStep - quarters; // a new mode shows at once
    }
    m_stepQuarters += quarters;
    if (m_stepQuarters < kQuartersPerStep) return;
    CDimmedLights shown(lights, params.brightness);
    for (; m_stepQuarters >= kQuartersPerStep; m_stepQuarters -= kQuartersPerStep)
        PreviewTick(params, shown);
}

void CPreview::PreviewTick(const PreviewParams& p, CKeyLights& lights) {
    if (p.mode < 1 || p.mode > 20) {
        ClearPreview(lights);
        return;
    }
    CReentryGuard guard(m_state.busy[static_cast<size_t>(p.mode)]);
    if (!guard.Entered()) return;
    switch (p.mode) {
    case 1:
    case 2:
        TickWalkGrid(p.mode, p, lights);
        break;
    case 3:
        TickSpiralWalk(p, lights);
        break;
    case 4:
        TickWholeGrid(p, lights);
        break;
    case 5:
        TickBreath(p, lights);
        break;
    case 6:
        TickStatic(p, lights);
        break;
    case 10:
        TickSparkle(p, lights);
        break;
    case 11:
        TickSpiralRainbow(lights);
        break;
    case 12:
        TickRows(p, lights);
        break;
    case 13:
        TickBounce(p, lights);
        break;
    case 14:
        TickDemo(p, lights);
        break;
    case 15:
        TickRain(p, lights);
        break;
    case 16:
        TickCorners(p, lights);
        break;
    case 18:
        TickGroups(p, lights);
        break;
    case 20:
        break; // the keys keep their own colours
    default:
        ClearPreview(lights);
        break; // 7, 8, 9, 17, 19
    }
}

void CPreview::TickWalkGrid(int mode, const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.phase[static_cast<size_t>(mode)];
    if (p.colourful) {
        phase = AdvancePhase(p.direction, phase, mode == 1 ? 9 : 4, 192);
        WalkGrid(phase, mode == 1 ? 9 : 5, 192,
                 [&](uint8_t key, int counter) { Show(lights, key, Wheel(counter)); });
        return;
    }
    if (mode == 1) {
        phase = AdvancePhase(p.direction, phase, 7, 96);
        WalkGrid(phase, 7, 96, [&](uint8_t key, int counter) {
            Show(lights, key, ScaleColour(p.colour, kPulseCurve[counter]));
        });
        return;
    }
    // Mode 2, single colour: the wave always runs forward; the direction only
    // decides which way the counter moves across a row, before each cell.
    phase = AdvancePhase(1, phase, 4, 128);
    const bool up = p.direction == 255;
    for (int r = 0; r < kGridRows; ++r) {
        int counter = phase;
        for (int c = 0; c < kGridColumns; ++c) {
            if (up) {
                counter += 5;
                if (counter > 128) counter -= 128;
            } else {
                counter -= 5;
                if (counter < 0) counter += 128;
            }
            uint8_t key = kPreviewGrid[r][c];
            if (key != pk::xx) Show(lights, key, ScaleColour(p.colour, kWaveCurve[counter]));
        }
    }
}

void CPreview::TickSpiralWalk(const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.phase[3];
    const int size = p.colourful ? 192 : 96;
    phase = AdvancePhase(p.direction, phase, 4, size);
    int counter = phase;
    for (const SpiralEntry& e : kSpiralOrder) {
        Show(lights, e.key, p.colourful ? Wheel(counter) : ScaleColour(p.colour, kPulseCurve[counter]));
        counter = (counter + 5) % size;
    }
}

void CPreview::TickWholeGrid(const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.phase[4];
    phase = AdvancePhase(p.direction, phase, 2, 192);
    for (const auto& row : kPreviewGrid)
        for (uint8_t key : row)
            if (key != pk::xx) Show(lights, key, Wheel(phase));
}

void CPreview::TickBreath(const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.phase[5];
    phase = AdvancePhase(1, phase, 2, 128);
    const uint8_t v = kBreathCurve[static_cast<size_t>(phase)];
    for (const auto& row : kPreviewGrid)
        for (int k = 0; k < kGridColumns; ++k)
            if (row[k] != pk::xx) Show(lights, row[k], ScaleColour(p.colourful ? Wheel(7 * k) : p.colour, v));
}

void CPreview::TickStatic(const PreviewParams& p, CKeyLights& lights) {
    if (!p.colourful) {
        for (const auto& row : kPreviewGrid)
            for (uint8_t key : row)
                if (key != pk::xx) Show(lights, key, p.colour);
        return;
    }
    for (int g = 0; g < kRainbowGroupCount; ++g)
        for (uint8_t key : kRainbowGroups[g])
            if (SpiralSlotOfKey(key) >= 0) Show(lights, key, Wheel(142 - 11 * (g + 1)));
}

void CPreview::TickSpiralRainbow(CKeyLights& lights) {
    auto& hue = m_state.spiralHue;
    if (!m_state.spiralHuesSet) {
        for (int i = 0; i < kSpiralLength; ++i) {
            int h = 33 * (i + 1);
            while (h > 192)
                h -= 192; // 192 itself stays, and wraps to 0 on the first step
            hue[kSpiralOrder[i].slot] = static_cast<uint8_t>(h);
        }
        m_state.spiralHuesSet = true;
    }
    for (const SpiralEntry& e : kSpiralOrder) {
        int h = hue[e.slot] + 3;
        if (h >= 192) h = 0;
        hue[e.slot] = static_cast<uint8_t>(h);
        Show(lights, e.key, Wheel(h));
    }
}

void CPreview::TickRows(const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.phase[12];
    phase = AdvancePhase(p.direction, phase, 3, 192);
    for (int r = 0; r < kGridRows; ++r)
        for (uint8_t key : kPreviewGrid[r])
            if (key != pk::xx) Show(lights, key, Wheel((phase + 32 * r) % 192));
}

void CPreview::TickGroups(const PreviewParams& p, CKeyLights& lights) {
    int& phase = m_state.sharedCounter;
    if (p.direction != 0) {
        phase += 2;
        if (phase >= 192) phase = 0;
    } else {
        phase -= 2;
        if (phase < 0 || phase > 191) phase = 192; // 192 draws as 0
    }
    for (int g = 0; g < kRainbowGroupCount; ++g)
        for (uint8_t key : kRainbowGroups[g])
            if (SpiralSlotOfKey(key) >= 0) Show(lights, key, Wheel((phase + 21 * (g + 1)) % 192));
}

} // namespace orvane
