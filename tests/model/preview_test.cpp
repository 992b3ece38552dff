// The preview animation: phases, walks, the ripple planes and the slot-based
// modes, drawn into a frame recorder.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "model/Preview.h"

namespace orvane {
namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);

CPreview FixedClockPreview() {
    return CPreview([] { return int64_t{1700000000}; });
}

class Preview : public ::testing::Test {
  protected:
    CPreview preview = FixedClockPreview();
    CKeyLightFrame frame;
};

Colour ColourOf(const CKeyLightFrame& frame, uint8_t key) {
    return frame.At(KeyButtonOfPreviewKey(key)).colour;
}

TEST_F(Preview, PhaseAdvanceWrapsBothWays) {
    EXPECT_EQ(AdvancePhase(255, 190, 4, 192), 2);
    EXPECT_EQ(AdvancePhase(255, 187, 4, 192), 191);
    EXPECT_EQ(AdvancePhase(0, 2, 4, 192), 190);
    EXPECT_EQ(AdvancePhase(0, 4, 4, 192), 0);
    // A phase left over from a larger size is brought into range first.
    EXPECT_EQ(AdvancePhase(0, 150, 7, 96), 47);
    EXPECT_EQ(AdvancePhase(1, 150, 7, 96), 61);
}

TEST_F(Preview, MovingGroupsRunBackwardThroughPhase192) {
    preview.ResetPreviewState();
    PreviewParams p{18, true, 0, 0};
    preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sharedCounter, 192);
    for (int i = 0; i < 95; ++i)
        preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sharedCounter, 2);
    CKeyLightFrame atTwo = frame;
    preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sharedCounter, 0);
    CKeyLightFrame atZero = frame;
    preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sharedCounter, 192);
    for (int n = 0; n < kKeyButtonCount; ++n)
        EXPECT_EQ(frame.AtNumber(n).colour, atZero.AtNumber(n).colour) << n;
    preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sharedCounter, 190);
    // Group 0 (the O key) shows hue 21 at phase 0 and 23 at phase 2.
    EXPECT_EQ(ColourOf(atZero, pk::O), kColourWheel[21]);
    EXPECT_EQ(ColourOf(atTwo, pk::O), kColourWheel[23]);
    // Right Win lights with its neighbour's group.
    EXPECT_TRUE(frame.At(KeyButtonOfPreviewKey(pk::RightWin)).lit);
    EXPECT_EQ(ColourOf(frame, pk::RightWin), ColourOf(frame, pk::RightCtrl));
}

TEST_F(Preview, SpiralRainbowStartHue192WrapsToZero) {
    preview.PreviewTick({11, false, 0, 0}, frame);
    // Position 63 starts at 33 x 64 = 11 x 192, which reduces to 192 itself.
    const SpiralEntry& e = kSpiralOrder[63];
    EXPECT_EQ(preview.State().spiralHue[e.slot], 0);
    EXPECT_EQ(ColourOf(frame, e.key), kColourWheel[0]);
    // Position 0 starts at 33 and moves on by 3.
    EXPECT_EQ(ColourOf(frame, kSpiralOrder[0].key), kColourWheel[36]);
    preview.PreviewTick({11, false, 0, 0}, frame);
    EXPECT_EQ(ColourOf(frame, e.key), kColourWheel[3]);
}

TEST_F(Preview, SingleColourWavesShiftKeysRightOfAGap) {
    const Colour colour = MakeColour(200, 100, 50);
    preview.PreviewTick({1, false, 255, colour}, frame);
    const int phase = preview.State().phase[1];
    EXPECT_EQ(phase, 7);
    // Row 0: Esc at column 2, F4 at 6, then a gap at 7, F5 at 8.
    EXPECT_EQ(ColourOf(frame, pk::Esc), ScaleColour(colour, kPulseCurve[(phase + 14) % 96]));
    EXPECT_EQ(ColourOf(frame, pk::F4), ScaleColour(colour, kPulseCurve[(phase + 42) % 96]));
    EXPECT_EQ(ColourOf(frame, pk::F5), ScaleColour(colour, kPulseCurve[(phase + 56) % 96]));
    // Every row restarts at the phase: Shift is column 0 of row 4.
    EXPECT_EQ(ColourOf(frame, pk::Shift), ScaleColour(colour, kPulseCurve[phase]));

    // Colourful: steps of 9 on the wheel, the same gap rule.
    preview.PreviewTick({1, true, 0, colour}, frame);
    const int hue = preview.State().phase[1];
    EXPECT_EQ(ColourOf(frame, pk::F5), kColourWheel[(hue + 72) % 192]);
}

TEST_F(Preview, SingleColourWaveMovesTheCounterBeforeEachCell) {
    // The phase runs forward whatever the direction; the direction decides
    // whether the counter climbs or falls across a row.
    preview.PreviewTick({2, false, 0, kWhite}, frame);
    EXPECT_EQ(preview.State().phase[2], 4);
    EXPECT_EQ(ColourOf(frame, pk::Shift), ScaleColour(kWhite, kWaveCurve[127])); // 4 - 5 + 128
    EXPECT_EQ(ColourOf(frame, pk::Esc), ScaleColour(kWhite, kWaveCurve[117]));   // three steps down
    preview.PreviewTick({2, false, 255, kWhite}, frame);
    EXPECT_EQ(preview.State().phase[2], 8);
    EXPECT_EQ(ColourOf(frame, pk::Shift), ScaleColour(kWhite, kWaveCurve[13]));
    EXPECT_EQ(ColourOf(frame, pk::K45), ScaleColour(kWhite, kWaveCurve[18]));
}

TEST_F(Preview, StaticAndWholeGridModes) {
    preview.PreviewTick({6, true, 0, 0}, frame);
    EXPECT_EQ(ColourOf(frame, pk::O), kColourWheel[131]);       // group 0
    EXPECT_EQ(ColourOf(frame, pk::NumEnter), kColourWheel[10]); // group 11
    preview.PreviewTick({6, false, 0, MakeColour(1, 2, 3)}, frame);
    EXPECT_EQ(ColourOf(frame, pk::Fn), MakeColour(1, 2, 3));
    preview.PreviewTick({4, false, 255, 0}, frame);
    EXPECT_EQ(ColourOf(frame, pk::Space), kColourWheel[2]);
    preview.PreviewTick({12, true, 0, 0}, frame);
    const int phase = preview.State().phase[12];
    EXPECT_EQ(phase, 189);
    EXPECT_EQ(ColourOf(frame, pk::Ctrl), kColourWheel[(phase + 160) % 192]);
    preview.PreviewTick({5, true, 0, 0}, frame);
    // Breath: column k shows wheel[7k] scaled by the curve at the phase.
    EXPECT_EQ(ColourOf(frame, pk::Esc), ScaleColour(kColourWheel[14], kBreathCurve[2]));
}

TEST_F(Preview, ClearPreviewLeavesNothingLit) {
    preview.PreviewTick({4, true, 255, 0}, frame);
    EXPECT_TRUE(frame.At({KeyButtonKind::Fn, 0}).lit);
    EXPECT_EQ(frame.LitCount(), 107); // every key of the picture and Fn
    CPreview::ClearPreview(frame);
    EXPECT_EQ(frame.LitCount(), 0);
    for (int n = 0; n < kKeyButtonCount; ++n)
        EXPECT_EQ(frame.AtNumber(n).colour, 0u) << n;
    // Modes without a preview clear the picture too; mode 20 leaves it be.
    for (int mode : {7, 8, 9, 17, 19, 0, 21}) {
        preview.PreviewTick({4, true, 255, 0}, frame);
        preview.PreviewTick({mode, true, 255, 0}, frame);
        EXPECT_EQ(frame.LitCount(), 0) << mode;
    }
    preview.PreviewTick({4, true, 255, 0}, frame);
    preview.PreviewTick({20, true, 255, 0}, frame);
    EXPECT_EQ(frame.LitCount(), 107); // every key of the picture and Fn
}

// The cells set in any plane after `steps` spreads of a single cell.
std::set<std::pair<int, int>> RippleCells(int column, int row, int steps) {
    CRipplePlanes planes;
    planes.SetCell(column, row);
    for (int i = 0; i < steps; ++i)
        planes.Spread();
    std::set<std::pair<int, int>> cells;
    for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < 8; ++r)
            if (planes.CellSet(c, r)) cells.insert({c, r});
    return cells;
}

TEST_F(Preview, RippleGrowsIntoADiamondOneCellPerTick) {
    for (int steps = 0; steps <= 6; ++steps) {
        std::set<std::pair<int, int>> expected;
        for (int c = 0; c < kGridColumns; ++c)
            for (int r = 0; r < 8; ++r)
                if (std::abs(c - 11) + std::abs(r - 3) == steps) expected.insert({c, r});
        EXPECT_EQ(RippleCells(11, 3, steps), expected) << steps;
    }
    // At the edges the bits are lost, not wrapped.
    auto corner = RippleCells(0, 0, 1);
    EXPECT_EQ(corner, (std::set<std::pair<int, int>>{{1, 0}, {0, 1}}));
    // Rain only falls or rises.
    CRipplePlanes planes;
    planes.SetCell(5, 2);
    planes.ShiftVertical();
    EXPECT_EQ(planes.plane[0][5], 0x08);
    EXPECT_EQ(planes.plane[2][5], 0x02);
    EXPECT_EQ(planes.ColumnOr(4) | planes.ColumnOr(6), 0);
}

TEST_F(Preview, DemonstrationLightsItsStepsAndFades) {
    preview.ResetPreviewState();
    const PreviewParams p{14, false, 0, kWhite};
    // Step 0 lights Esc; each drawing fades it by 30 above 128, 20 above 64,
    // 10 above 32, 5 above 16, then 1.
    const uint8_t expected[] = {225, 195, 165, 135, 105, 85, 65, 45, 35, 25, 20, 15, 14};
    for (uint8_t b : expected) {
        preview.PreviewTick(p, frame);
        EXPECT_EQ(ColourOf(frame, pk::Esc), MakeColour(b, b, b));
    }
    EXPECT_EQ(ColourOf(frame, pk::F1), MakeColour(15, 15, 15)); // lit one tick later
    EXPECT_EQ(preview.State().demoStage, 0);
    for (int i = 0; i < 7; ++i)
        preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().demoStage, 1); // after the twentieth step

    // The script runs through its stages and starts again.
    std::set<int> stages;
    int restarts = 0, last = preview.State().demoStage;
    for (int i = 0; i < 2000 && restarts < 2; ++i) {
        preview.PreviewTick(p, frame);
        const int stage = preview.State().demoStage;
        stages.insert(stage);
        if (stage == 0 && last == 4) ++restarts;
        last = stage;
    }
    EXPECT_EQ(stages, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(restarts, 2);
}

TEST_F(Preview, RainFallsFromThreeColumnsPerTick) {
    preview.ResetPreviewState();
    preview.PreviewTick({15, false, 0, kWhite}, frame);
    // Columns 10, 13 and 16 of row 0: F7, F10 and Print Screen.
    EXPECT_EQ(preview.State().sharedCounter, 16);
    for (uint8_t key : {pk::F7, pk::F10, pk::PrintScreen})
        EXPECT_EQ(ColourOf(frame, key), MakeColour(235, 235, 235));
    EXPECT_EQ(ColourOf(frame, pk::F8), 0u);
    preview.PreviewTick({15, false, 0, kWhite}, frame);
    // The drops fell one row: column 10 of row 1 is 9.
    EXPECT_EQ(ColourOf(frame, pk::D9), MakeColour(235, 235, 235));
}

TEST_F(Preview, SparkleLightsOneSlotPerTickInItsOrder) {
    const PreviewParams p{10, false, 0, kWhite};
    preview.PreviewTick(p, frame);
    // Index 1 names spiral position 24, Right Alt; nothing else is lit yet.
    EXPECT_EQ(ColourOf(frame, pk::RightAlt), MakeColour(235, 235, 235));
    int bright = 0;
    for (int n = 0; n < kKeyButtonCount; ++n)
        bright += frame.AtNumber(n).colour != 0;
    EXPECT_EQ(bright, 1);
    for (int t = 2; t <= 104; ++t)
        preview.PreviewTick(p, frame);
    // Index 104 holds the position past the spiral, which stands for slot 0.
    EXPECT_EQ(ColourOf(frame, pk::Esc), MakeColour(235, 235, 235));
    for (int t = 105; t <= 107; ++t)
        preview.PreviewTick(p, frame);
    EXPECT_EQ(preview.State().sparkleIndex, 1); // 106 wrapped to 0
}

TEST_F(Preview, SparkleAndRipplesLightSlotsReproduciblyForOneSecond) {
    for (int mode : {10, 13, 16}) {
        CPreview a = FixedClockPreview(), b = FixedClockPreview();
        CKeyLightFrame fa, fb;
        a.ResetPreviewState();
        b.ResetPreviewState();
        int litMax = 0;
        for (int i = 0; i < 40; ++i) {
            a.PreviewTick({mode, true, 0, 0}, fa);
            b.PreviewTick({mode, true, 0, 0}, fb);
            int bright = 0;
            for (int n = 0; n < kKeyButtonCount; ++n) {
                ASSERT_EQ(fa.AtNumber(n).colour, fb.AtNumber(n).colour) << mode;
                bright += fa.AtNumber(n).colour != 0;
            }
            litMax = std::max(litMax, bright);
        }
        EXPECT_GT(litMax, 3) << mode;
    }
}

TEST_F(Preview, StaleStateIsResetOnTheNextTimerTick) {
    EXPECT_TRUE(preview.IsStale());
    for (int i = 0; i < 5; ++i)
        preview.TimerTick({18, false, 255, 0}, frame);
    EXPECT_EQ(preview.State().sharedCounter, 10);
    EXPECT_FALSE(preview.IsStale());
    preview.MarkStale();
    preview.TimerTick({18, false, 255, 0}, frame);
    EXPECT_EQ(preview.State().sharedCounter, 2);
    // The reset seeds the rain and corner planes and leaves mode 11 alone.
    EXPECT_EQ(preview.State().rainPlanes.ColumnOr(9), 0x40);
    EXPECT_EQ(preview.State().cornerPlanes.ColumnOr(1), 0x01);
}

// Calls back into the preview from inside a frame, as a re-entrant tick would.
class CReentrantLights : public CKeyLights {
  public:
    explicit CReentrantLights(CPreview& preview) : m_preview(preview) {}
    void SetKeyLight(const KeyButton&, Colour, bool) override {
        ++calls;
        if (calls == 1) m_preview.PreviewTick({4, false, 0, 0}, *this);
    }
    int calls = 0;

  private:
    CPreview& m_preview;
};

TEST_F(Preview, BrightnessScalesTheColoursAndSpeedSetsHowOftenTheTimerSteps) {
    // Ten timer ticks of the whole-grid walk (two phase units per step).
    struct Row {
        int brightness, speed;
        int steps;     // after ten ticks
        uint8_t scale; // of the colour a step shows
    } rows[] = {
        {5, 2, 10, 255}, // a fresh keyboard's speed: one step per tick, as ever
        {4, 2, 10, 204},
        {0, 2, 10, 0},
        {9, 2, 10, 255},
        // The first tick after a mode change always steps once.
        {5, 0, 19, 255},
        {5, 1, 14, 255},
        {5, 3, 7, 255},
        {5, 4, 5, 255},
        {5, 5, 3, 255},
        {5, 40, 3, 255},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("brightness " + std::to_string(r.brightness) + " speed " + std::to_string(r.speed));
        CPreview timed = FixedClockPreview();
        CPreview stepped = FixedClockPreview();
        CKeyLightFrame shown, expected;
        PreviewParams p{4, true, 255, 0, r.brightness, r.speed};
        for (int tick = 0; tick < 10; ++tick)
            timed.TimerTick(p, shown);
        stepped.ResetPreviewState();
        for (int step = 0; step < r.steps; ++step)
            stepped.PreviewTick({4, true, 255, 0}, expected);
        EXPECT_EQ(timed.State().phase[4], stepped.State().phase[4]);
        EXPECT_EQ(ColourOf(shown, pk::Esc), ScaleColour(ColourOf(expected, pk::Esc), r.scale));
        EXPECT_EQ(shown.LitCount(), expected.LitCount());
    }
}

TEST_F(Preview, AModeDoesNotRunInsideItself) {
    CReentrantLights lights(preview);
    preview.PreviewTick({4, false, 0, 0}, lights);
    EXPECT_EQ(lights.calls, 107 + 7); // seven wide keys fill two cells; no nested frame
    EXPECT_EQ(preview.State().phase[4], 190);
}

TEST_F(Preview, SwitchingColourfulMidAnimationStaysInsideTheCurves) {
    // Colourful and single colour share a mode's phase but not its range.
    for (int mode : {1, 2, 3}) {
        for (int i = 0; i < 40; ++i)
            preview.PreviewTick({mode, true, 255, kWhite}, frame);
        for (uint8_t dir : {0, 255}) {
            preview.PreviewTick({mode, false, dir, kWhite}, frame);
            EXPECT_LT(preview.State().phase[mode], mode == 2 ? 128 : 96) << mode;
        }
    }
}

} // namespace
} // namespace orvane
