// orvanectl's macro encoder and decoder on a file of sample macros: what the
// encoder writes, the decoder must read back as the same macros.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LittleEndian.h"
#include "support/Programs.h"
#include "support/TempDir.h"

namespace {

using orvane::testing::Orvanectl;
using orvane::testing::PutLE;

struct Action {
    uint32_t delay;
    uint16_t scan;
    uint16_t dir;
};

// One 0x7F00-byte macro record, laid out by hand.
std::string Record(const std::u16string& name, uint8_t repeat, uint16_t id,
                   const std::vector<Action>& actions) {
    std::vector<uint8_t> b(0x7F00, 0);
    for (size_t i = 0; i < name.size(); ++i)
        PutLE(b, 2 * i, name[i]);
    b[500] = repeat;
    PutLE(b, 502, 1);
    PutLE(b, 506, id);
    PutLE(b, 508, static_cast<uint16_t>(actions.size()));
    for (size_t i = 0; i < actions.size(); ++i) {
        PutLE(b, 512 + 8 * i, actions[i].delay, 4);
        PutLE(b, 516 + 8 * i, actions[i].scan);
        PutLE(b, 518 + 8 * i, actions[i].dir);
    }
    return std::string(b.begin(), b.end());
}

TEST(OrvanectlMacros, EncodeThenDecodeGivesTheSameMacros) {
    orvane::testing::CTempDir dir;
    const std::string samples = dir.File("macros.bin");
    orvane::testing::WriteText(
        samples, Record(u"Fire", 3, 17, {{0, 0x01E, 0}, {120, 0x01E, 1}, {40000, 0x130, 0}, {9, 0x130, 1}}) +
                     Record(u"Two", 1, 4, {{50, 0x15C, 0}, {10, 0x171, 0}, {10, 0x162, 1}}) +
                     Record(u"", 255, 9, {}));

    const auto encode = Orvanectl("encode-macros @" + samples);
    ASSERT_EQ(encode.code, 0) << encode.err;
    const std::vector<std::string> lines = orvane::testing::Lines(encode.out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "names: 1");
    EXPECT_EQ(lines[1], "size: " + std::to_string(16 + 6 + (4 + 16 + 8) + (4 + 12 + 6) + 4));
    EXPECT_EQ(lines[3], "names: 0");
    EXPECT_EQ(lines[4], "size: " + std::to_string(16 + 6 + (4 + 16) + (4 + 12) + 4));

    const char* expectedActions =
        "  delay 0 scan 01E dir 0\n  delay 120 scan 01E dir 1\n  delay 40000 scan 130 dir 0\n"
        "  delay 0 scan 130 dir 1\n";
    const char* secondActions =
        "  delay 50 scan 15C dir 0\n  delay 10 scan 171 dir 0\n  delay 10 scan 162 dir 1\n";
    for (int names : {1, 0}) {
        const std::string data = lines[names ? 2 : 5];
        ASSERT_EQ(data.rfind("data: ", 0), 0u);
        const std::string block = dir.File("block" + std::to_string(names));
        ASSERT_EQ(orvane::testing::Shell("echo " + data.substr(6) + " | xxd -r -p >" + block).code, 0);
        const auto decoded = Orvanectl("decode-macros @" + block);
        ASSERT_EQ(decoded.code, 0) << decoded.err;
        EXPECT_EQ(decoded.out, std::string("macro 0 id 1 repeat 3 name ") + (names ? "Fire" : "Macro1") +
                                   " actions 4\n" + expectedActions + "macro 1 id 2 repeat 1 name " +
                                   (names ? "Two" : "Macro2") + " actions 3\n" + secondActions +
                                   "macro 2 id 3 repeat 255 name Macro3 actions 0\n");
    }

    // A file that is no block is refused, not read.
    EXPECT_NE(Orvanectl("decode-macros @" + samples).code, 0);
}

} // namespace
