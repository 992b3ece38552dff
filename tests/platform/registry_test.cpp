#include "platform/Registry.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "support/TempDir.h"

using namespace orvane;
using orvane::testing::CTempHome;
using orvane::testing::ReadText;
using orvane::testing::WriteText;

namespace {

// A private store with one key open.
class Registry : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(key.OpenOrCreate("Software\\Brislane ")); }
    CTempHome home;
    CRegistryKey key;
};

TEST_F(Registry, KeepsTypedValuesUnderExactKeyNames) {
    EXPECT_EQ(RegistryStorePath(), home.Config() + "/orvane/registry");
    ASSERT_TRUE(key.WriteDword("dwLanguageId", 0x409));
    ASSERT_TRUE(key.WriteString("Text", "a \"quoted\" \\ path\nnext line \xC3\xA9"));

    // The trailing space is part of the name: the key without it is another one.
    CRegistryKey other;
    ASSERT_TRUE(other.OpenOrCreate("Software\\Brislane"));
    EXPECT_FALSE(other.ReadDword("dwLanguageId"));

    CRegistryKey again; // names compare without case, as the platform's do
    ASSERT_TRUE(again.OpenOrCreate("SOFTWARE\\brislane "));
    EXPECT_EQ(again.ReadDword("DWLANGUAGEID"), 0x409u);
    EXPECT_EQ(again.ReadString("text"), "a \"quoted\" \\ path\nnext line \xC3\xA9");
    // A value of the other type does not read.
    EXPECT_FALSE(again.ReadString("dwLanguageId"));
    EXPECT_FALSE(again.ReadDword("Text"));
    EXPECT_FALSE(again.ReadDword("Missing"));

    ASSERT_TRUE(again.WriteString("dwLanguageId", "now a string"));
    EXPECT_FALSE(key.ReadDword("dwLanguageId"));
    EXPECT_EQ(key.ReadString("dwLanguageId"), "now a string");

    EXPECT_FALSE(CRegistryKey().OpenOrCreate(""));
    EXPECT_FALSE(CRegistryKey().OpenOrCreate("Bad]Name"));
    EXPECT_FALSE(CRegistryKey().OpenOrCreate(std::string(600, 'k')));
}

TEST_F(Registry, DamagedStoreKeepsTheValuesThatStillParse) {
    ASSERT_TRUE(key.WriteDword("Good", 7));
    ASSERT_TRUE(key.WriteString("Kept", "yes"));

    std::string store = ReadText(RegistryStorePath());
    store += "garbage line\n\"Half\"=dword:00\n\"Open\"=\"no end\n[Unclosed\n\"Orphan\"=dword:00000001\n";
    store += "[Software\\Brislane ]\n\"Cut\"=\"abc"; // truncated in the middle of a value
    WriteText(RegistryStorePath(), store);

    EXPECT_EQ(key.ReadDword("Good"), 7u);
    EXPECT_EQ(key.ReadString("Kept"), "yes");
    EXPECT_FALSE(key.ReadDword("Half"));
    EXPECT_FALSE(key.ReadString("Open"));
    EXPECT_FALSE(key.ReadString("Cut"));

    ASSERT_TRUE(key.WriteDword("After", 1));
    EXPECT_EQ(key.ReadDword("Good"), 7u);
    EXPECT_EQ(key.ReadString("Kept"), "yes");
    EXPECT_EQ(key.ReadDword("After"), 1u);

    WriteText(RegistryStorePath(), std::string("\0\xff\xfe[\x01", 5));
    EXPECT_FALSE(key.ReadDword("Good"));
    EXPECT_TRUE(key.WriteDword("Good", 8));
    EXPECT_EQ(key.ReadDword("Good"), 8u);
}

TEST_F(Registry, FailedOrImpossibleWritesLeaveTheStoreWhole) {
    ASSERT_TRUE(key.WriteDword("dwLanguageId", 0x409));
    const std::string before = ReadText(RegistryStorePath());

    SetAtomicWriteFailureForTests(true);
    EXPECT_FALSE(key.WriteDword("dwLanguageId", 0x407));
    EXPECT_EQ(ReadText(RegistryStorePath()), before);
    EXPECT_EQ(key.ReadDword("dwLanguageId"), 0x409u);

    // A store that exists but cannot be read is neither trusted nor replaced.
    std::filesystem::remove(RegistryStorePath());
    std::filesystem::create_directory(RegistryStorePath());
    CRegistryKey blocked;
    EXPECT_FALSE(blocked.OpenOrCreate("Software\\Brislane "));
    EXPECT_FALSE(blocked.IsOpen());
    EXPECT_FALSE(blocked.WriteDword("dwLanguageId", 1));
    EXPECT_FALSE(blocked.ReadDword("dwLanguageId"));
    EXPECT_FALSE(key.WriteDword("dwLanguageId", 1));
    EXPECT_TRUE(std::filesystem::is_directory(RegistryStorePath()));
}

TEST_F(Registry, ProfileStringsLiveUnderTheSettingsRoot) {
    SetRegistrySettingsRoot("Orvane_Quenlo", "Orvane");
    EXPECT_EQ(GetProfileString("PROFILES", "Flip", "none"), "none");
    EXPECT_EQ(GetProfileInt("PROFILES", "Flip", 5), 5);

    ASSERT_TRUE(WriteProfileString("PROFILES", "Flip", "1"));
    ASSERT_TRUE(WriteProfileInt("PROFILES", "Delay", -3));
    ASSERT_TRUE(WriteProfileString("PROFILES", "Name", "abc"));
    EXPECT_EQ(GetProfileInt("PROFILES", "Flip", 0), 1);
    EXPECT_EQ(GetProfileInt("profiles", "DELAY", 0), -3);
    EXPECT_EQ(GetProfileInt("PROFILES", "Name", 9), 9);
    EXPECT_EQ(GetProfileString("PROFILES", "Name", ""), "abc");

    CRegistryKey raw;
    ASSERT_TRUE(raw.OpenOrCreate("Software\\Orvane_Quenlo\\Orvane\\PROFILES"));
    EXPECT_EQ(raw.ReadString("Flip"), "1");
}

} // namespace
