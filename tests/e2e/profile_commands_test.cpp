// orvanectl's profile file commands on files it writes and on a file laid
// out by hand: blank, validate and dump-profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/LittleEndian.h"
#include "support/Programs.h"
#include "support/TempDir.h"

namespace orvane::testing {
namespace {

// One Program record with the text a"b, one Macro record, one macro.
std::vector<uint8_t> HandMadeProfile() {
    const std::u16string text = u"a\"b";
    const uint32_t s = static_cast<uint32_t>(text.size() * 2 + 2);
    std::vector<uint8_t> b(32832 + 32512 + s, 0);
    PutLE(b, 0, 0x4446);
    PutLE(b, 2, 32);
    PutLE(b, 4, 3);
    PutLE(b, 6, 1);
    PutLE(b, 8, static_cast<uint32_t>(b.size()), 4);
    PutLE(b, 12, 2048);
    PutLE(b, 14, 1);
    PutLE(b, 16, s, 4);
    unsigned sum = 0;
    for (int i = 0; i < 31; ++i)
        sum += b[i];
    b[31] = static_cast<uint8_t>(sum);
    PutLE(b, 64 + 16 * 1, 3);   // record 1: Program at offset 0
    PutLE(b, 64 + 16 * 600, 4); // record 600: Macro 5, repeat 2, mark 1
    PutLE(b, 64 + 16 * 600 + 2, 2);
    PutLE(b, 64 + 16 * 600 + 4, 5, 4);
    PutLE(b, 64 + 16 * 600 + 8, 1, 4);
    const size_t m = 32832;
    PutLE(b, m, u'G');
    PutLE(b, m + 2, u'o');
    b[m + 500] = 1;
    PutLE(b, m + 506, 5);
    PutLE(b, m + 508, 1);
    PutLE(b, m + 512, 10, 4);
    PutLE(b, m + 516, 0x1E);
    for (size_t i = 0; i < text.size(); ++i)
        PutLE(b, 32832 + 32512 + 2 * i, text[i]);
    return b;
}

TEST(ProfileCommands, BlankFilesValidateAndDump) {
    CTempDir dir;
    const std::string path = dir.File("blank.fwc");
    const auto blank = Orvanectl("blank " + path);
    EXPECT_EQ(blank.code, 0);
    EXPECT_EQ(blank.out, "");
    EXPECT_EQ(ReadText(path).size(), 32832u);
    const auto valid = Orvanectl("validate " + path);
    EXPECT_EQ(valid.code, 0);
    EXPECT_EQ(valid.out, "valid\n");

    const auto dump = Orvanectl("dump-profile " + path);
    EXPECT_EQ(dump.code, 0);
    EXPECT_EQ(dump.out.rfind("magic: 17478\nheader size: 32\nprofile count: 3\nformat version: 1\n"
                             "total size: 32832\nkey record count: 2048\nmacro count: 0\ntext area size: 0\n"
                             "flag: 0\n",
                             0),
              0u)
        << dump.out;
    EXPECT_NE(dump.out.find("record 256 kind 0 aux 769 value 0 mark 0\n"), std::string::npos);
    EXPECT_NE(dump.out.find("record 273 kind 0 aux 4873 value 0 mark 0\n"), std::string::npos);
    EXPECT_EQ(dump.out.find("record 255 "), std::string::npos);
    EXPECT_EQ(dump.out.find("\nmacro 0 "), std::string::npos);
}

TEST(ProfileCommands, HandMadeFileDumpsRecordsMacrosAndTexts) {
    CTempDir dir;
    const std::string path = dir.File("hand.fwc");
    const std::vector<uint8_t> bytes = HandMadeProfile();
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(Orvanectl("validate " + path).out, "valid\n");
    const auto dump = Orvanectl("dump-profile " + path);
    EXPECT_EQ(dump.code, 0);
    EXPECT_NE(dump.out.find("macro count: 1\ntext area size: 8\n"), std::string::npos) << dump.out;
    const std::string tail = "record 1 kind 3 aux 0 value 0 mark 0\n"
                             "record 600 kind 4 aux 2 value 5 mark 1\n"
                             "macro 0 id 5 repeat 1 name Go actions 1\n"
                             "  delay 10 scan 01E dir 0\n"
                             "text 1 \"a\\\"b\"\n";
    ASSERT_GE(dump.out.size(), tail.size());
    EXPECT_EQ(dump.out.substr(dump.out.size() - tail.size()), tail) << dump.out;
}

// Missing and unreadable files are met in the orvanectl words test.
TEST(ProfileCommands, BrokenFilesAreReported) {
    CTempDir dir;
    std::vector<uint8_t> bytes = HandMadeProfile();
    bytes[31] = static_cast<uint8_t>(bytes[31] + 1);
    WriteText(dir.File("bad.fwc"), std::string(bytes.begin(), bytes.end()));
    // Cut inside the macro: the dump refuses instead of reading past the end.
    bytes.resize(40000);
    WriteText(dir.File("cut.fwc"), std::string(bytes.begin(), bytes.end()));
    const struct {
        std::string args, out;
        int code;
    } cases[] = {
        {"validate " + dir.File("bad.fwc"),
         "invalid 0: not a profile file, or damaged: its header does not match its contents\n", 1},
        {"dump-profile " + dir.File("cut.fwc"), "", 1},
        {"validate", "", 2},
        {"blank " + dir.File("no/such/folder/x.fwc"), "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto r = Orvanectl(c.args);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.code, c.code);
    }
}

} // namespace
} // namespace orvane::testing
