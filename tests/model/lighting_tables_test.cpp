// Cross-checks of the preview's constant tables against each other and
// against the key slot table, so a mistyped row shows up.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/KeyTables.h"
#include "model/LightingTables.h"

namespace orvane {
namespace {

std::set<uint8_t> GridKeys() {
    std::set<uint8_t> keys;
    for (const auto& row : kPreviewGrid)
        for (uint8_t k : row)
            if (k != pk::xx) keys.insert(k);
    return keys;
}

TEST(LightingTables, WheelIsBuiltFromTheRampsAndRunsSmoothly) {
    EXPECT_EQ(kColourWheel[0], MakeColour(255, 1, 0));
    EXPECT_EQ(kColourWheel[31], MakeColour(255, 255, 0));
    EXPECT_EQ(kColourWheel[32], MakeColour(248, 255, 0));
    EXPECT_EQ(kColourWheel[95], MakeColour(0, 255, 255));
    EXPECT_EQ(kColourWheel[160], MakeColour(255, 0, 248));
    EXPECT_EQ(kColourWheel[191], MakeColour(255, 0, 0));
    for (size_t h = 0; h < kWheelSize; ++h) {
        const Colour c = kColourWheel[h];
        const uint8_t ch[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
        // Every hue is saturated: one channel full, one empty (or both at a
        // segment's end).
        EXPECT_EQ(*std::max_element(ch, ch + 3), 255) << h;
        EXPECT_EQ(*std::min_element(ch, ch + 3), 0) << h;
        // Neighbouring hues (the wheel wraps) differ in one channel only.
        const Colour n = kColourWheel[(h + 1) % kWheelSize];
        int changed = (RedOf(c) != RedOf(n)) + (GreenOf(c) != GreenOf(n)) + (BlueOf(c) != BlueOf(n));
        EXPECT_LE(changed, 1) << h;
    }
    for (size_t k = 1; k < kRampSize; ++k) {
        EXPECT_LT(kRisingRamp[k - 1], kRisingRamp[k]);
        EXPECT_GT(kFallingRamp[k - 1], kFallingRamp[k]);
    }
    for (size_t h = 0; h < kLongWheelSize; ++h)
        EXPECT_EQ(kLongWheel[h], kColourWheel[h % kWheelSize]);
}

TEST(LightingTables, CurvesAreSymmetricAndShareTheirRisingHalf) {
    for (size_t k = 0; k < kPulseSize; ++k)
        EXPECT_EQ(kPulseCurve[k], kPulseCurve[kPulseSize - 1 - k]);
    for (size_t k = 0; k < kBreathSize; ++k)
        EXPECT_EQ(kBreathCurve[k], kBreathCurve[kBreathSize - 1 - k]);
    for (size_t k = 0; k < 48; ++k)
        EXPECT_EQ(kBreathCurve[16 + k], kPulseCurve[k]) << k;
    for (size_t k = 1; k < 64; ++k)
        EXPECT_LE(kBreathCurve[k - 1], kBreathCurve[k]) << k;
    EXPECT_EQ(kPulseCurve[0], 22);
    EXPECT_EQ(kPulseCurve[47], 255);
    // The wave rises to its peak at 16, then falls to nothing by 80.
    EXPECT_EQ(*std::max_element(kWaveCurve.begin(), kWaveCurve.end()), 255);
    EXPECT_EQ(kWaveCurve[16], 255);
    for (size_t k = 17; k < 80; ++k)
        EXPECT_LE(kWaveCurve[k], kWaveCurve[k - 1]) << k;
    EXPECT_TRUE(std::all_of(kWaveCurve.begin() + 80, kWaveCurve.end(), [](uint8_t v) { return v == 0; }));
    EXPECT_EQ(ScaleColour(MakeColour(255, 255, 255), kPulseCurve[0]), MakeColour(22, 22, 22));
    EXPECT_EQ(ScaleColour(MakeColour(200, 100, 3), 128), MakeColour(100, 50, 1));
}

TEST(LightingTables, GridMatchesTheKeyboardsLedMatrix) {
    // Every grid key is a key slot (or Fn), and grid rows and the order of
    // keys within a row follow the keyboard's own LED rows and columns.
    for (int r = 0; r < kGridRows; ++r) {
        int lastColumn = -1;
        uint8_t lastKey = pk::xx;
        for (int c = 0; c < kGridColumns; ++c) {
            const uint8_t key = kPreviewGrid[r][c];
            if (key == pk::xx || key == lastKey) continue;
            int ledRow, ledColumn;
            if (key == pk::Fn) {
                ledRow = kFnLedIndex / kLedColumns;
                ledColumn = kFnLedIndex % kLedColumns;
            } else {
                const KeySlot* slot = KeySlotAt(key);
                ASSERT_NE(slot, nullptr) << "row " << r << " column " << c;
                ledRow = slot->ledRow;
                ledColumn = slot->ledColumn;
            }
            // Enter and Backslash swap rows between the picture and the LED
            // matrix, and the tall Num + sits on its upper row there.
            const bool otherRow = key == pk::Enter || key == pk::Backslash || key == pk::NumPlus;
            EXPECT_EQ(ledRow, otherRow ? (key == pk::Enter ? r + 1 : r - 1) : r)
                << "row " << r << " column " << c;
            if (otherRow) continue;
            EXPECT_GT(ledColumn, lastColumn) << "row " << r << " column " << c;
            lastColumn = ledColumn;
            lastKey = key;
        }
    }
    // The preview leaves no key of the picture out.
    std::set<uint8_t> keys = GridKeys();
    EXPECT_EQ(keys.size(), 106u + 1u);
    EXPECT_EQ(keys.count(pk::RightWin), 1u);
    EXPECT_EQ(keys.count(pk::Fn), 1u);
}

TEST(LightingTables, SpiralAndSparkleOrdersCoverThePreviewKeys) {
    std::set<uint8_t> spiralKeys;
    for (const SpiralEntry& e : kSpiralOrder) {
        spiralKeys.insert(e.key);
        EXPECT_LT(e.slot, kSlotCount);
    }
    EXPECT_EQ(spiralKeys.size(), static_cast<size_t>(kSpiralLength)); // distinct keys
    EXPECT_EQ(spiralKeys, GridKeys());
    // The spiral walks the keyboard's edge first: it starts at Pause and
    // Esc's slot is 0, the one sparkle position 106 stands for.
    EXPECT_EQ(kSpiralOrder[0].key, pk::Pause);
    EXPECT_EQ(SpiralSlotOfKey(pk::Esc), 0);
    EXPECT_EQ(SpiralSlotOfKey(pk::Fn), 110);
    EXPECT_EQ(SpiralSlotOfKey(pk::RightWin), 112);

    std::set<uint8_t> sparkle(kSparkleOrder.begin(), kSparkleOrder.end());
    EXPECT_EQ(sparkle.size(), static_cast<size_t>(kSparkleLength)); // no position twice
    EXPECT_LE(*sparkle.rbegin(), kSparkleSlotZero);
}

TEST(LightingTables, GroupsAndTheDemoScriptNameAnimatedKeys) {
    for (int g = 0; g < kRainbowGroupCount; ++g)
        for (uint8_t key : kRainbowGroups[g])
            EXPECT_GE(SpiralSlotOfKey(key), 0) << "group " << g;
    for (int s = 0; s < kDemoStepCount; ++s)
        for (uint8_t key : kDemoSteps[s])
            EXPECT_GE(SpiralSlotOfKey(key), 0) << "step " << s;
    for (int s = 0; s < kDemoPairCount; ++s) {
        EXPECT_EQ(kDemoPairs[s].count, 2) << "pair " << s;
        for (uint8_t key : kDemoPairs[s])
            EXPECT_GE(SpiralSlotOfKey(key), 0) << "pair " << s;
    }
    EXPECT_EQ(kDemoSteps[19].count, 0);
    int column = -1, row = -1;
    ASSERT_TRUE(GridCellOfKey(pk::O, &column, &row));
    EXPECT_EQ(column, 10);
    EXPECT_EQ(row, 2);
}

} // namespace
} // namespace orvane
