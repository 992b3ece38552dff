#include <gtest/gtest.h>

#include <random>

#include "model/MacroBlock.h"
#include "platform/ByteOrder.h"

namespace orvane {
namespace {

MacroRecord Macro(const std::u16string& name, uint8_t repeat, std::vector<MacroAction> actions,
                  uint16_t id = 1) {
    MacroRecord m;
    SetMacroName(m, name);
    m.repeat = repeat;
    m.id = id;
    for (const MacroAction& a : actions)
        AddMacroAction(m, a);
    return m;
}

struct Encoded {
    uint16_t word;
    uint8_t a, b;
};
Encoded EncodeOne(uint32_t delay, uint16_t scan, uint16_t transition) {
    uint8_t out[4];
    EncodeMacroAction({delay, scan, transition}, out);
    return {GetLE16(out), out[2], out[3]};
}

TEST(MacroBlock, ActionEncodingFollowsTheDeviceKeyForms) {
    // Delay in tens of ms in bits 0-11, truncated.
    EXPECT_EQ(EncodeOne(40000, 0x01E, kActionPress).word & 0x0FFF, 0xFA0);
    EXPECT_EQ(EncodeOne(9, 0x01E, kActionPress).word & 0x0FFF, 0);
    EXPECT_EQ(EncodeOne(129, 0x01E, kActionPress).word & 0x0FFF, 12);
    // Bit 15 is a press, clear for a release; type in bits 12-14.
    const Encoded aPress = EncodeOne(0, 0x01E, kActionPress);
    EXPECT_EQ(aPress.word, 0x8000 | 0x2000);
    EXPECT_EQ(aPress.a, 2);
    EXPECT_EQ(aPress.b, 0x04);
    EXPECT_EQ(EncodeOne(0, 0x01E, kActionRelease).word, 0x2000);

    struct Row {
        uint16_t scan;
        uint8_t type, a, b;
    } rows[] = {
        {0x01D, 2, 1, 0x01}, {0x02A, 2, 1, 0x02}, {0x038, 2, 1, 0x04}, {0x15B, 2, 1, 0x08},
        {0x11D, 2, 1, 0x10}, {0x036, 2, 1, 0x20}, {0x138, 2, 1, 0x40}, {0x15C, 2, 1, 0x80},
        {0x130, 2, 2, 0xC0}, // V+: a media key goes out as its consumer slot byte
        {0x122, 2, 2, 0xCE}, {0x15E, 4, 0x81, 0}, {0x163, 4, 0x83, 0}, {0x171, 1, 1, 1},
        {0x172, 1, 1, 2},    {0x173, 1, 1, 4},    {0x161, 1, 5, 0x01}, {0x162, 1, 5, 0xFF},
        {0x16E, 0, 0, 0}, // Pan Left: no usage
        {0x000, 0, 0, 0},    {0x039, 2, 2, 0x2C},
    };
    for (const Row& r : rows) {
        const Encoded e = EncodeOne(0, r.scan, kActionRelease);
        EXPECT_EQ((e.word >> 12) & 7, r.type) << std::hex << r.scan;
        EXPECT_EQ(e.a, r.a) << std::hex << r.scan;
        EXPECT_EQ(e.b, r.b) << std::hex << r.scan;
    }
    // A delay past 12 bits stays the longest one instead of wrapping to a short one.
    EXPECT_EQ(EncodeOne(50000, 0x01E, kActionPress).word & 0x0FFF, 0xFFF);
}

TEST(MacroBlock, LayoutAndSizesOfASmallList) {
    MacroList list = {Macro(u"Ab", 3, {{100, 0x01E, 0}, {20, 0x01E, 1}}, 7), Macro(u"", 1, {}, 9)};
    const MacroBlockSizeInfo sizes = MacroBlockSizes(list);
    EXPECT_EQ(sizes.withoutNames, 16u + 4 + (4 + 8) + 4);
    EXPECT_EQ(sizes.withNames, sizes.withoutNames + 4);

    const std::vector<uint8_t> named = EncodeMacroBlock(list, true);
    ASSERT_EQ(named.size(), sizes.withNames);
    EXPECT_EQ(GetLE16(&named[0]), 0x55AA);
    EXPECT_EQ(GetLE16(&named[2]), named.size());
    EXPECT_EQ(GetLE16(&named[4]), 2);
    EXPECT_EQ(GetLE16(&named[6]), 1);
    for (int i = 8; i < 16; ++i)
        EXPECT_EQ(named[i], 0);
    EXPECT_EQ(GetLE16(&named[16]), 20);             // first entry right after the offsets
    EXPECT_EQ(GetLE16(&named[18]), 20 + 4 + 8 + 4); // second follows the first and its name
    EXPECT_EQ(GetLE16(&named[20]), 2);              // action count
    EXPECT_EQ(named[22], 3);                        // repeat
    EXPECT_EQ(named[23], 2);                        // name length
    EXPECT_EQ(GetLE16(&named[24]), 0x8000 | 0x2000 | 10);
    EXPECT_EQ(GetLE16(&named[32]), u'A');
    EXPECT_EQ(GetLE16(&named[34]), u'b');

    const std::vector<uint8_t> bare = EncodeMacroBlock(list, false);
    ASSERT_EQ(bare.size(), sizes.withoutNames);
    EXPECT_EQ(GetLE16(&bare[6]), 0);
    EXPECT_EQ(bare[23], 0);

    // No macros: the header alone.
    EXPECT_EQ(EncodeMacroBlock(MacroList{}, true).size(), 16u);
}

TEST(MacroBlock, EncodingRefusesWhatCannotBeWritten) {
    MacroList list = {Macro(u"A", 1, {{0, 0x01E, 0}})};
    std::vector<uint8_t> small(MacroBlockSizes(list).withNames - 1, 0xEE);
    EXPECT_EQ(EncodeMacroBlock(list, small.data(), small.size(), true), 0u);

    // Seventeen full macros overflow the 16-bit size field and offsets.
    MacroRecord full = Macro(u"F", 1, {});
    for (size_t i = 0; i < kMacroMaxActions; ++i)
        AddMacroAction(full, {10, 0x01E, uint16_t(i & 1)});
    MacroList big(17, full);
    EXPECT_GT(MacroBlockSizes(big).withoutNames, kMacroBlockMaxBytes);
    EXPECT_TRUE(EncodeMacroBlock(big, false).empty());
    EXPECT_TRUE(EncodeMacroBlock(MacroList(101, Macro(u"x", 1, {})), false).empty());
}

TEST(MacroBlock, DecodingRenumbersAndNamesMacros) {
    MacroList list = {Macro(u"First", 2, {{40000, 0x130, 0}, {9, 0x130, 1}}, 40),
                      Macro(u"Second", 255, {{50, 0x15C, 0}}, 3)};
    MacroList back;
    std::vector<uint8_t> bare = EncodeMacroBlock(list, false);
    ASSERT_EQ(DecodeMacroBlock(bare.data(), bare.size(), back), kMacroBlockOk);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(MacroName(back[0]), u"Macro1");
    EXPECT_EQ(MacroName(back[1]), u"Macro2");
    EXPECT_EQ(back[0].id, 1);
    EXPECT_EQ(back[1].id, 2);
    EXPECT_EQ(back[1].repeat, 255);
    ASSERT_EQ(back[0].actionCount, 2);
    EXPECT_EQ(back[0].actions[0], (MacroAction{40000, 0x130, kActionPress}));
    EXPECT_EQ(back[0].actions[1], (MacroAction{0, 0x130, kActionRelease})); // 9 ms is 0 tens
    EXPECT_EQ(back[1].actions[0], (MacroAction{50, 0x15C, kActionPress}));  // a key left pressed stays so

    std::vector<uint8_t> named = EncodeMacroBlock(list, true);
    ASSERT_EQ(DecodeMacroBlock(named.data(), named.size(), back), kMacroBlockOk);
    EXPECT_EQ(MacroName(back[0]), u"First");
    EXPECT_EQ(MacroName(back[1]), u"Second");
}

TEST(MacroBlock, RandomListsSurviveARoundTrip) {
    // Scan codes whose device code names them back (0x136, the second Right
    // Shift row, would come back as 0x036).
    const uint16_t codes[] = {0x01E, 0x01D, 0x15C, 0x130, 0x16D, 0x15E,
                              0x171, 0x162, 0x039, 0x148, 0x137, 0x045};
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        MacroList list;
        const size_t count = rng() % 8;
        for (size_t i = 0; i < count; ++i) {
            std::u16string name;
            const size_t len = 1 + rng() % kMacroNameMaxChars;
            for (size_t c = 0; c < len; ++c)
                name.push_back(static_cast<char16_t>(0x20 + rng() % 0x3000));
            std::vector<MacroAction> actions(rng() % 60);
            for (MacroAction& a : actions)
                a = {static_cast<uint32_t>(10 * (rng() % 4096)), codes[rng() % std::size(codes)],
                     static_cast<uint16_t>(rng() % 2)};
            list.push_back(Macro(name, static_cast<uint8_t>(rng()), actions, static_cast<uint16_t>(100 - i)));
            list.back().newFlag = 1;
        }
        for (bool withNames : {true, false}) {
            const std::vector<uint8_t> block = EncodeMacroBlock(list, withNames);
            ASSERT_FALSE(block.empty());
            MacroList back;
            ASSERT_EQ(DecodeMacroBlock(block.data(), block.size(), back), kMacroBlockOk);
            ASSERT_EQ(back.size(), list.size());
            for (size_t i = 0; i < list.size(); ++i) {
                MacroRecord expected = list[i];
                expected.id = static_cast<uint16_t>(i + 1);
                expected.newFlag = 0;
                if (!withNames) {
                    const std::string n = "Macro" + std::to_string(i + 1);
                    SetMacroName(expected, std::u16string(n.begin(), n.end()));
                }
                EXPECT_EQ(back[i], expected) << "round " << round << " macro " << i;
            }
        }
    }
}

// A valid two-macro block to break in the tests below.
std::vector<uint8_t> TwoMacroBlock() {
    return EncodeMacroBlock({Macro(u"Ab", 1, {{10, 0x01E, 0}}), Macro(u"Cd", 1, {{10, 0x030, 1}})}, true);
}

TEST(MacroBlock, BlocksThatDoNotFitAreRefusedWhole) {
    MacroList out;
    std::vector<uint8_t> block = TwoMacroBlock();
    ASSERT_EQ(DecodeMacroBlock(block.data(), block.size(), out), kMacroBlockOk);

    // Read back shorter than it says it is.
    EXPECT_EQ(DecodeMacroBlock(block.data(), block.size() - 1, out), kMacroBlockBadHeader);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(DecodeMacroBlock(block.data(), 15, out), kMacroBlockBadHeader);
    EXPECT_EQ(DecodeMacroBlock(nullptr, 0, out), kMacroBlockBadHeader);

    auto broken = [&](auto change) {
        std::vector<uint8_t> b = TwoMacroBlock();
        change(b);
        // Extra bytes after the block must not rescue a bad entry.
        b.resize(b.size() + 64, 0);
        out.assign(1, MacroRecord{});
        const int r = DecodeMacroBlock(b.data(), b.size(), out);
        EXPECT_TRUE(out.empty());
        return r;
    };
    EXPECT_EQ(broken([](auto& b) { b[0] = 0; }), kMacroBlockBadHeader);
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[4], 101); }), kMacroBlockTooMany);
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[4], 40); }), kMacroBlockBadHeader); // offsets past the size
    // The second entry is bad, so the good first one is not taken either.
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[18], static_cast<uint16_t>(b.size() - 2)); }),
              kMacroBlockBadEntry);
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[18], 0xFFFF); }), kMacroBlockBadEntry);
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[18], 4); }), kMacroBlockBadEntry); // inside the header
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[GetLE16(&b[18])], 2); }), kMacroBlockBadEntry);
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[GetLE16(&b[18])], 0xFFFF); }), kMacroBlockBadEntry);
    EXPECT_EQ(broken([](auto& b) { b[GetLE16(&b[18]) + 3] = 3; }),
              kMacroBlockBadEntry); // name runs past the end
    // A size field that claims less than the offset table.
    EXPECT_EQ(broken([](auto& b) { PutLE16(&b[2], 18); }), kMacroBlockBadHeader);
}

TEST(MacroBlock, NamesFromTheKeyboardAreCutOrReplaced) {
    // A keyboard block may carry up to 255 name characters; the record keeps 249.
    std::vector<uint8_t> b(16 + 2 + 4 + 2 * 255, 0);
    PutLE16(&b[0], 0x55AA);
    PutLE16(&b[2], static_cast<uint16_t>(b.size()));
    PutLE16(&b[4], 1);
    PutLE16(&b[6], 1);
    PutLE16(&b[16], 18);
    b[18 + 3] = 255;
    for (size_t c = 0; c < 255; ++c)
        PutLE16(&b[22 + 2 * c], u'x');
    MacroList out;
    ASSERT_EQ(DecodeMacroBlock(b.data(), b.size(), out), kMacroBlockOk);
    EXPECT_EQ(MacroName(out[0]), std::u16string(kMacroNameMaxChars, u'x'));
    EXPECT_EQ(out[0].name[kMacroNameMaxChars], 0);

    // A name that starts with a zero is no name at all.
    PutLE16(&b[22], 0);
    ASSERT_EQ(DecodeMacroBlock(b.data(), b.size(), out), kMacroBlockOk);
    EXPECT_EQ(MacroName(out[0]), u"Macro1");
}

} // namespace
} // namespace orvane
