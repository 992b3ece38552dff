// Key matrices read back from the keyboard, turned into records, checked
// against the encoder and the key tables.
#include <gtest/gtest.h>

#include <vector>

#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "sim/SimFirmware.h"
#include "transfer/DecodeKeyMatrix.h"

namespace orvane {
namespace {

constexpr int kPosA = 19; // the factory matrix holds (2, 2, 0x04), key A, here
constexpr uint8_t kIndexA = 0x1E;

std::vector<uint8_t> Factory(int keys) {
    const auto& m = SimFactoryMatrix();
    return {m.begin(), m.begin() + (keys == 126 ? 378 : 512)};
}

KeyFunction DecodeAt(DeviceKeyCode code, int profile = 0) {
    std::vector<uint8_t> matrix = Factory(128);
    matrix[kPosA * 3] = code.type;
    matrix[kPosA * 3 + 1] = code.a;
    matrix[kPosA * 3 + 2] = code.b;
    return DecodeKeyMatrix(profile, matrix, Factory(128), 128)[kIndexA];
}

TEST(DecodeKeyMatrix, DefaultMatrixLeavesTheFreshBlockOnBothModels) {
    for (int keys : {126, 128})
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(DecodeKeyMatrix(p, Factory(keys), Factory(keys), keys), FreshKeyFunctionBlock(p));
    // Only profile 0's fresh block carries the G-key codes.
    EXPECT_EQ(FreshKeyFunctionBlock(0)[kGKeyFirstIndex].aux, 0x301);
    EXPECT_EQ(FreshKeyFunctionBlock(1)[kGKeyFirstIndex].aux, 0);
}

TEST(DecodeKeyMatrix, EveryKindOfCode) {
    struct Row {
        DeviceKeyCode code;
        KeyFunctionKind kind;
        int32_t value;
    };
    using K = KeyFunctionKind;
    const Row rows[] = {
        {{5, 1, 4}, K::Macro, 5},      {{5, 2, 9}, K::StopMacro, 0},   {{5, 5, 3}, K::Function, 3},
        {{5, 7, 1}, K::Disabled, 0},   {{3, 0xCD, 0x00}, K::Media, 1}, {{3, 0x99, 0x99}, K::Disabled, 0},
        {{1, 1, 1}, K::Key, 0x171},    {{1, 1, 2}, K::Key, 0x172},     {{1, 1, 4}, K::Key, 0x173},
        {{1, 5, 0x01}, K::Key, 0x161}, {{1, 5, 0xFF}, K::Key, 0x162},  {{1, 1, 8}, K::Disabled, 0},
        {{1, 2, 0}, K::Disabled, 0},   {{2, 2, 0x05}, K::Key, 0x30},   {{2, 2, 0x00}, K::Disabled, 0},
        {{2, 1, 0x02}, K::Key, 0x2A},  {{2, 1, 0x80}, K::Key, 0x15C},  {{2, 1, 0x00}, K::Disabled, 0},
        {{0, 0, 0}, K::Disabled, 0},   {{9, 1, 1}, K::Disabled, 0},
    };
    for (const Row& r : rows) {
        const KeyFunction got = DecodeAt(r.code);
        EXPECT_TRUE(got.Is(r.kind)) << int{r.code.type} << "," << int{r.code.a} << "," << int{r.code.b};
        EXPECT_EQ(got.value, r.value) << int{r.code.type} << "," << int{r.code.a} << "," << int{r.code.b};
    }
}

TEST(DecodeKeyMatrix, PositionsWithoutAKeyAndShortMatricesAreIgnored) {
    std::vector<uint8_t> matrix = Factory(128);
    matrix[6 * 3] = 2; // position 6 is empty in the factory matrix
    matrix[6 * 3 + 1] = 2;
    matrix[6 * 3 + 2] = 5;
    matrix[0] = 0; // position 0 holds (5, 0, 0), which names no key
    EXPECT_EQ(DecodeKeyMatrix(1, matrix, Factory(128), 128), FreshKeyFunctionBlock(1));
    matrix.resize(100);
    EXPECT_EQ(DecodeKeyMatrix(1, matrix, Factory(128), 128), FreshKeyFunctionBlock(1));
}

// Whatever the encoder sends for a record, the decoder turns back into that
// record: for every media key, every modifier, the mouse and every key of the
// key table that has a keyboard usage.
TEST(DecodeKeyMatrix, UndoesTheEncoderForEveryTableRow) {
    MacroList macros(6);
    for (size_t i = 0; i < macros.size(); ++i)
        macros[i].id = static_cast<uint16_t>(i + 1);
    const DeviceKeyCode templ{2, 2, 0x04};
    std::vector<KeyFunction> records;
    auto add = [&](KeyFunctionKind kind, int32_t value) {
        KeyFunction r;
        r.SetKind(kind);
        r.value = value;
        records.push_back(r);
    };
    for (int m = 0; m < kMediaKeyCount; ++m)
        add(KeyFunctionKind::Media, m);
    for (int f = 0; f < kFunctionCount; ++f)
        add(KeyFunctionKind::Function, f);
    for (int id = 1; id <= 6; ++id)
        add(KeyFunctionKind::Macro, id);
    add(KeyFunctionKind::StopMacro, 0);
    for (ScanCode c : {0x171, 0x172, 0x173, 0x161, 0x162, 0x1D, 0x2A, 0x38, 0x15B, 0x11D, 0x36, 0x138, 0x15C})
        add(KeyFunctionKind::Key, c);
    for (int i = 1; i < 256; ++i) {
        const ScanCode code = IndexToScanCode(static_cast<uint8_t>(i));
        const UsagePair u = ScanCodeToUsagePair(code);
        // The lowest row with a usage is the one a read-back names.
        if (u.kind == kUsageKindKeyboard && u.usage != 0 && UsagePairToScanCode(u.kind, u.usage) == code)
            add(KeyFunctionKind::Key, code);
    }
    ASSERT_GT(records.size(), 100u);
    for (const KeyFunction& r : records) {
        const DeviceKeyCode code = EncodeKeyFunction(r, templ, macros);
        if (code == templ) continue; // A assigned itself stays the factory code
        const KeyFunction back = DecodeAt(code);
        EXPECT_EQ(back.kind, r.kind) << r.kind << " " << r.value;
        EXPECT_EQ(back.value, r.value) << r.kind << " " << r.value;
    }
}

} // namespace
} // namespace orvane
