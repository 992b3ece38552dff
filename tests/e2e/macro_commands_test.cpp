// orvanectl's macro encoder and decoder on a file of sample macros: what the
// encoder writes, the decoder must read back as the same macros.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/Programs.h"
#include "support/TempDir.h"

namespace {

using orvane::testing::Shell;

struct Action {
    uint32_t delay;
    uint16_t scan;
    uint16_t dir;
};

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// One 0x7F00-byte macro record, laid out by hand.
std::vector<uint8_t> Record(const std::u16string& name, uint8_t repeat, uint16_t id,
                            const std::vector<Action>& actions) {
    std::vector<uint8_t> b(0x7F00, 0);
    for (size_t i = 0; i < name.size(); ++i)
        Put16(b, 2 * i, name[i]);
    b[500] = repeat;
    Put16(b, 502, 1);
    Put16(b, 506, id);
    Put16(b, 508, static_cast<uint16_t>(actions.size()));
    for (size_t i = 0; i < actions.size(); ++i) {
        const size_t at = 512 + 8 * i;
        Put16(b, at, static_cast<uint16_t>(actions[i].delay));
        Put16(b, at + 2, static_cast<uint16_t>(actions[i].delay >> 16));
        Put16(b, at + 4, actions[i].scan);
        Put16(b, at + 6, actions[i].dir);
    }
    return b;
}

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TEST(OrvanectlMacros, EncodeThenDecodeGivesTheSameMacros) {
    const std::string ctl = std::string(ORVANE_BIN_DIR) + "/orvanectl";
    ASSERT_TRUE(std::filesystem::exists(ctl)) << ctl;
    orvane::testing::CTempDir dir;

    std::vector<uint8_t> file;
    for (const auto& r :
         {Record(u"Fire", 3, 17, {{0, 0x01E, 0}, {120, 0x01E, 1}, {40000, 0x130, 0}, {9, 0x130, 1}}),
          Record(u"Two", 1, 4, {{50, 0x15C, 0}, {10, 0x171, 0}, {10, 0x162, 1}}), Record(u"", 255, 9, {})})
        file.insert(file.end(), r.begin(), r.end());
    std::ofstream(dir.File("macros.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

    const auto encode = Shell(ctl + " encode-macros @" + dir.File("macros.bin"));
    ASSERT_EQ(encode.code, 0) << encode.err;
    std::istringstream encoded(encode.out);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(encoded, line))
        lines.push_back(line);
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
        const std::vector<uint8_t> block = FromHex(data.substr(6));
        const std::string path = dir.File("block" + std::to_string(names));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
        const auto decoded = Shell(ctl + " decode-macros @" + path);
        ASSERT_EQ(decoded.code, 0) << decoded.err;
        EXPECT_EQ(decoded.out, std::string("macro 0 id 1 repeat 3 name ") + (names ? "Fire" : "Macro1") +
                                   " actions 4\n" + expectedActions + "macro 1 id 2 repeat 1 name " +
                                   (names ? "Two" : "Macro2") + " actions 3\n" + secondActions +
                                   "macro 2 id 3 repeat 255 name Macro3 actions 0\n");
    }

    // A file that is no block is refused, not read.
    EXPECT_NE(Shell(ctl + " decode-macros @" + dir.File("macros.bin")).code, 0);
}

} // namespace
