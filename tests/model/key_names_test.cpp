// Key names come from the language file beside the executable; these tests
// give the program a private folder, home and registry.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "model/KeyTables.h"
#include "services/Language.h"
#include "support/ProgramFolder.h"

namespace orvane {
namespace {

class KeyNames : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(program_.Ok()); }

    testing::CProgramFolder program_;
};

TEST_F(KeyNames, NamesAndTheUnknownKeyFallback) {
    program_.WriteLanguage("[TEXT]\n"
                           "IDS_KEYBOARD_A=A\n"
                           "IDS_KEYBOARD_RSHIFT=Right Shift\n"
                           "IDS_KEYBOARD_ESC=\n"
                           "UNKNOWN_KEY=Key %03X\n");
    EXPECT_EQ(GetKeyName(0x01E), "A");
    EXPECT_EQ(GetKeyName(0x136), "Right Shift"); // both Right Shift rows share the text
    EXPECT_EQ(GetKeyName(0x064), "Key 064");     // F13: a row without text key
    EXPECT_EQ(GetKeyName(0x055), "Key 055");     // empty row
    EXPECT_EQ(GetKeyName(0x001), "Key 001");     // present but empty text
    EXPECT_EQ(GetKeyName(0x250), "Key 250");     // beyond the table
    EXPECT_EQ(GetKeyName(0x030), "#Error");      // text key missing from the file

    EXPECT_EQ(GetKeyIdName(0x0000), "A");
    EXPECT_EQ(GetKeyIdName(0x0067), "Right Shift");
    EXPECT_EQ(GetKeyIdName(0x006A), "");
    EXPECT_EQ(GetKeyIdName(0x802D), ""); // F13
    EXPECT_EQ(GetKeyIdName(kKeyIdNone), "");
}

TEST_F(KeyNames, HostileUnknownKeyFormatIsNotHandedToPrintf) {
    program_.WriteLanguage("[TEXT]\nUNKNOWN_KEY=%s%n%p %d %d\n");
    EXPECT_EQ(GetKeyName(0x064), "%s%n%p 100 %d");
    program_.WriteLanguage("[TEXT]\nUNKNOWN_KEY=%999999999d\n");
    EXPECT_EQ(GetKeyName(0x064).size(), kMaxTextChars - 1);
}

TEST_F(KeyNames, CallerBufferIsNeverOverrun) {
    program_.WriteLanguage("[TEXT]\nIDS_KEYBOARD_RSHIFT=Right Shift\nIDS_KEYBOARD_A=\xC3\x84\xC3\x84\n");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetKeyName(kScanRightShift, buffer, 3), 2u);
    EXPECT_STREQ(buffer, "Ri");
    EXPECT_EQ(buffer[3], 'x');
    EXPECT_EQ(GetKeyName(kScanRightShift, buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetKeyName(kScanRightShift, buffer, 0), 0u);
    // "ÄÄ" is four bytes; four bytes of room hold one character, not one and a half.
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetKeyName(0x01E, buffer, 4), 2u);
    EXPECT_STREQ(buffer, "\xC3\x84");
    EXPECT_EQ(GetKeyName(0x01E, buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "\xC3\x84\xC3\x84");
}

TEST_F(KeyNames, ShippedLanguageFileNamesEveryKey) {
    const std::string shipped = std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini";
    std::filesystem::copy_file(shipped, program_.File("Lang0409.ini"));
    for (unsigned i = 0; i < kKeyTableSize; ++i) {
        const KeyTableRow& row = KeyTableRowAt(static_cast<uint8_t>(i));
        if (row.textKey[0] == '\0') continue;
        const std::string name = GetKeyName(IndexToScanCode(static_cast<uint8_t>(i)));
        EXPECT_NE(name, kMissingText) << row.textKey;
        EXPECT_FALSE(name.empty()) << row.textKey;
        EXPECT_EQ(name.find("0x"), std::string::npos) << row.textKey << " fell back to the unknown-key text";
    }
    for (uint16_t id = 0; id < kPickListKeyCount; ++id)
        EXPECT_FALSE(GetKeyIdName(id).empty()) << id;
    EXPECT_EQ(GetKeyName(0x064), "Key 0x064");
}

} // namespace
} // namespace orvane
