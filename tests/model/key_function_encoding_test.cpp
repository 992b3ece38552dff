#include <gtest/gtest.h>

#include "macro_test_env.h"
#include "model/ConfigStore.h"

namespace orvane {
namespace {

using test::Rec;

MacroRecord MacroWithId(uint16_t id) {
    MacroRecord m;
    m.id = id;
    return m;
}

TEST(EncodeKeyFunction, EveryKindAndTarget) {
    const DeviceKeyCode templ{2, 2, 0x04}; // the A key's factory code
    const MacroList macros = {MacroWithId(5), MacroWithId(9), MacroWithId(0x0102)};
    struct Row {
        KeyFunction record;
        DeviceKeyCode expected;
    } rows[] = {
        {Rec(KeyFunctionKind::Default), templ},
        {Rec(KeyFunctionKind::Disabled), {0, 0, 0}},
        {Rec(KeyFunctionKind::Key, 0x01D), {2, 1, 0x01}},
        {Rec(KeyFunctionKind::Key, 0x02A), {2, 1, 0x02}},
        {Rec(KeyFunctionKind::Key, 0x038), {2, 1, 0x04}},
        {Rec(KeyFunctionKind::Key, 0x15B), {2, 1, 0x08}},
        {Rec(KeyFunctionKind::Key, 0x11D), {2, 1, 0x10}},
        {Rec(KeyFunctionKind::Key, 0x036), {2, 1, 0x20}},
        {Rec(KeyFunctionKind::Key, 0x138), {2, 1, 0x40}},
        {Rec(KeyFunctionKind::Key, 0x15C), {2, 1, 0x80}},
        {Rec(KeyFunctionKind::Key, 0x171), {1, 1, 1}},
        {Rec(KeyFunctionKind::Key, 0x172), {1, 1, 2}},
        {Rec(KeyFunctionKind::Key, 0x173), {1, 1, 4}},
        {Rec(KeyFunctionKind::Key, 0x161), {1, 5, 0x01}},
        {Rec(KeyFunctionKind::Key, 0x162), {1, 5, 0xFF}},
        {Rec(KeyFunctionKind::Key, 0x030), {2, 2, 0x05}},   // B
        {Rec(KeyFunctionKind::Key, 0x148), {2, 2, 0x52}},   // Up arrow
        {Rec(KeyFunctionKind::Key, 0x15E), {2, 2, 0x00}},   // Power: no keyboard usage
        {Rec(KeyFunctionKind::Key, 0x16E), {2, 2, 0x00}},   // Pan Left: no usage at all
        {Rec(KeyFunctionKind::Key, 0x130), {2, 2, 0xC0}},   // a media key's slot byte is kind 7
        {Rec(KeyFunctionKind::Key, 0x7FFF001E), {2, 2, 0}}, // no scan code at all
        {Rec(KeyFunctionKind::Program, 1234), templ},
        {Rec(KeyFunctionKind::Macro, 9, 3), {5, 1, 1}},
        {Rec(KeyFunctionKind::Macro, 0x00010005), {5, 1, 0}}, // low 16 bits only
        {Rec(KeyFunctionKind::Macro, 0x0102), {5, 1, 2}},
        {Rec(KeyFunctionKind::Macro, 77), {5, 1, 0}}, // gone: position 0
        {Rec(KeyFunctionKind::StopMacro), {5, 2, 0}},
        {Rec(KeyFunctionKind::Text, 20), {0, 0, 0}},
        {Rec(KeyFunctionKind::Media, 0), {3, 0x83, 0x01}},
        {Rec(KeyFunctionKind::Media, 6), {3, 0xE9, 0x00}},
        {Rec(KeyFunctionKind::Media, 17), {3, 0x8A, 0x01}},
        {Rec(KeyFunctionKind::Function, 10), {5, 5, 10}},
        {Rec(KeyFunctionKind::Function, 0x1FF), {5, 5, 0xFF}},
    };
    for (const Row& r : rows) {
        const DeviceKeyCode got = EncodeKeyFunction(r.record, templ, macros);
        EXPECT_EQ(got, r.expected) << "kind " << r.record.kind << " value 0x" << std::hex << r.record.value
                                   << " gave " << int(got.type) << "," << int(got.a) << "," << int(got.b);
    }
}

// A default matrix whose positions cover keys, modifiers, mouse, media,
// empty positions and codes without a key identity.
std::vector<uint8_t> DefaultMatrix(size_t length, int keyCount) {
    std::vector<uint8_t> m(length, 0x5A); // padding past the key positions must survive
    const DeviceKeyCode codes[] = {
        {2, 2, 0x04}, // 0: A (index 0x1E)
        {2, 1, 0x01}, // 1: left Ctrl (0x1D)
        {0, 0, 0},    // 2: empty
        {5, 3, 0},    // 3: no key identity
        {3, 0xE9, 0}, // 4: V+ (0x130, index 0xB0)
        {2, 2, 0x05}, // 5: B (0x30)
        {1, 1, 1},    // 6: left button (0x171, index 0xF1)
        {6, 0xA2, 3}, // 7: scan code 0x202, no row
        {2, 2, 0x29}, // 8: Esc (0x01)
    };
    for (int pos = 0; pos < keyCount; ++pos) {
        const DeviceKeyCode c = pos < int(std::size(codes)) ? codes[pos] : DeviceKeyCode{0, 0, 0};
        m[3 * pos] = c.type;
        m[3 * pos + 1] = c.a;
        m[3 * pos + 2] = c.b;
    }
    return m;
}

using KeyMatrixTest = test::MacroTestEnv;

TEST_F(KeyMatrixTest, BuiltFromTheCommittedRecordsForBothModels) {
    MacroRecord m1 = MacroWithId(4), m2 = MacroWithId(8);
    ASSERT_TRUE(store_.SetMacros({m1, m2}));
    const int profile = 1;
    store_.SetRecord(profile, 0x1E, Rec(KeyFunctionKind::Key, 0x030));  // A -> B
    store_.SetRecord(profile, 0x1D, Rec(KeyFunctionKind::Macro, 8, 2)); // Ctrl -> second macro
    store_.SetRecord(profile, 0xB0, Rec(KeyFunctionKind::Program, 0));  // V+ keeps its code
    store_.SetRecord(profile, 0x30, Rec(KeyFunctionKind::Text, 0));     // B sends nothing
    store_.SetRecord(profile, 0xF1, Rec(KeyFunctionKind::Disabled));
    store_.SetRecord(profile, 0x00, Rec(KeyFunctionKind::Disabled)); // index of empty positions
    store_.SetRecord(profile, 0x7F, Rec(KeyFunctionKind::Disabled));
    store_.SetRecord(profile, kGKeyFirstIndex, Rec(KeyFunctionKind::Disabled));
    store_.SetRecord(0, 0x01, Rec(KeyFunctionKind::Disabled)); // another profile's Esc
    ASSERT_EQ(store_.Commit(), 1);
    // Changes after the commit are not sent.
    store_.SetRecord(profile, 0x01, Rec(KeyFunctionKind::Disabled));

    for (auto [length, keyCount] : {std::pair<size_t, int>{378, 126}, {512, 128}}) {
        const std::vector<uint8_t> def = DefaultMatrix(length, keyCount);
        const std::vector<uint8_t> m = store_.BuildKeyMatrix(profile, def.data(), def.size(), keyCount);
        ASSERT_EQ(m.size(), length);
        std::vector<uint8_t> expected = def;
        const uint8_t a[] = {2, 2, 0x05}, ctrl[] = {5, 1, 1}, zero[] = {0, 0, 0};
        std::copy(a, a + 3, expected.begin() + 0);
        std::copy(ctrl, ctrl + 3, expected.begin() + 3);
        std::copy(zero, zero + 3, expected.begin() + 15); // B: Text
        std::copy(zero, zero + 3, expected.begin() + 18); // left button: Disabled
        EXPECT_EQ(m, expected) << keyCount << " keys";

        // Profile 0 only has Esc disabled.
        std::vector<uint8_t> p0 = store_.BuildKeyMatrix(0, def.data(), def.size(), keyCount);
        std::vector<uint8_t> e0 = def;
        std::copy(zero, zero + 3, e0.begin() + 24);
        EXPECT_EQ(p0, e0);
    }

    const std::vector<uint8_t> def = DefaultMatrix(378, 126);
    EXPECT_TRUE(store_.BuildKeyMatrix(3, def.data(), def.size(), 126).empty());
    EXPECT_TRUE(store_.BuildKeyMatrix(-1, def.data(), def.size(), 126).empty());
    EXPECT_TRUE(store_.BuildKeyMatrix(0, def.data(), 377, 126).empty());
}

} // namespace
} // namespace orvane
