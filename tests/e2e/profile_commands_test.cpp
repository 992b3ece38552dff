// orvanectl's profile file commands on files it writes and on a file laid
// out by hand: blank, validate and dump-profile.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/Programs.h"
#include "support/TempDir.h"

namespace {

using orvane::testing::CTempDir;
using orvane::testing::ReadText;
using orvane::testing::WriteText;

std::string Ctl() {
    return std::string(ORVANE_BIN_DIR) + "/orvanectl";
}

std::string RunCtl(const std::string& args, int& exitCode) {
    const auto r = orvane::testing::Shell(Ctl() + " " + args);
    exitCode = r.code;
    return r.out;
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// One Program record with the text a"b, one Macro record, one macro.
std::vector<uint8_t> HandMadeProfile() {
    const std::u16string text = u"a\"b";
    const uint32_t s = static_cast<uint32_t>(text.size() * 2 + 2);
    std::vector<uint8_t> b(32832 + 32512 + s, 0);
    Put16(b, 0, 0x4446);
    Put16(b, 2, 32);
    Put16(b, 4, 3);
    Put16(b, 6, 1);
    Put32(b, 8, static_cast<uint32_t>(b.size()));
    Put16(b, 12, 2048);
    Put16(b, 14, 1);
    Put32(b, 16, s);
    unsigned sum = 0;
    for (int i = 0; i < 31; ++i)
        sum += b[i];
    b[31] = static_cast<uint8_t>(sum);
    Put16(b, 64 + 16 * 1, 3);   // record 1: Program at offset 0
    Put16(b, 64 + 16 * 600, 4); // record 600: Macro 5, repeat 2, mark 1
    Put16(b, 64 + 16 * 600 + 2, 2);
    Put32(b, 64 + 16 * 600 + 4, 5);
    Put32(b, 64 + 16 * 600 + 8, 1);
    const size_t m = 32832;
    Put16(b, m, u'G');
    Put16(b, m + 2, u'o');
    b[m + 500] = 1;
    Put16(b, m + 506, 5);
    Put16(b, m + 508, 1);
    Put32(b, m + 512, 10);
    Put16(b, m + 516, 0x1E);
    for (size_t i = 0; i < text.size(); ++i)
        Put16(b, 32832 + 32512 + 2 * i, text[i]);
    return b;
}

TEST(ProfileCommands, BlankFilesValidateAndDump) {
    CTempDir dir;
    const std::string path = dir.File("blank.fwc");
    int code = -1;
    EXPECT_EQ(RunCtl("blank " + path, code), "");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadText(path).size(), 32832u);
    EXPECT_EQ(RunCtl("validate " + path, code), "valid\n");
    EXPECT_EQ(code, 0);

    const std::string dump = RunCtl("dump-profile " + path, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(dump.rfind("magic: 17478\nheader size: 32\nprofile count: 3\nformat version: 1\n"
                         "total size: 32832\nkey record count: 2048\nmacro count: 0\ntext area size: 0\n"
                         "flag: 0\n",
                         0),
              0u)
        << dump;
    EXPECT_NE(dump.find("record 256 kind 0 aux 769 value 0 mark 0\n"), std::string::npos);
    EXPECT_NE(dump.find("record 273 kind 0 aux 4873 value 0 mark 0\n"), std::string::npos);
    EXPECT_EQ(dump.find("record 255 "), std::string::npos);
    EXPECT_EQ(dump.find("\nmacro 0 "), std::string::npos);
}

TEST(ProfileCommands, HandMadeFileDumpsRecordsMacrosAndTexts) {
    CTempDir dir;
    const std::string path = dir.File("hand.fwc");
    const std::vector<uint8_t> bytes = HandMadeProfile();
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    int code = -1;
    EXPECT_EQ(RunCtl("validate " + path, code), "valid\n");
    const std::string dump = RunCtl("dump-profile " + path, code);
    EXPECT_EQ(code, 0);
    EXPECT_NE(dump.find("macro count: 1\ntext area size: 8\n"), std::string::npos) << dump;
    const std::string tail = "record 1 kind 3 aux 0 value 0 mark 0\n"
                             "record 600 kind 4 aux 2 value 5 mark 1\n"
                             "macro 0 id 5 repeat 1 name Go actions 1\n"
                             "  delay 10 scan 01E dir 0\n"
                             "text 1 \"a\\\"b\"\n";
    ASSERT_GE(dump.size(), tail.size());
    EXPECT_EQ(dump.substr(dump.size() - tail.size()), tail) << dump;
}

TEST(ProfileCommands, BrokenFilesAreReported) {
    CTempDir dir;
    const std::string path = dir.File("bad.fwc");
    std::vector<uint8_t> bytes = HandMadeProfile();
    bytes[31] = static_cast<uint8_t>(bytes[31] + 1);
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    int code = -1;
    EXPECT_EQ(RunCtl("validate " + path, code),
              "invalid 0: not a profile file, or damaged: its header does not match its contents\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(RunCtl("validate " + dir.File("none.fwc"), code),
              "invalid 0: cannot open " + dir.File("none.fwc") + ": No such file or directory\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(RunCtl("validate " + dir.Path(), code), "invalid 254: not a regular file\n");

    // Cut inside the macro: the dump refuses instead of reading past the end.
    bytes.resize(40000);
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(RunCtl("dump-profile " + path, code), "");
    EXPECT_EQ(code, 1);

    EXPECT_EQ(RunCtl("validate", code), "");
    EXPECT_EQ(code, 2);
    EXPECT_EQ(RunCtl("blank " + dir.File("no/such/folder/x.fwc"), code), "");
    EXPECT_EQ(code, 1);
}

} // namespace
