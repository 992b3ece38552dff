// Language choice and text lookup, each test with a private program folder,
// home and registry store.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "services/Language.h"
#include "services/LanguageKeys.h"
#include "services/UserRegKey.h"
#include "support/ProgramFolder.h"

namespace orvane {
namespace {

class Language : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(program_.Ok()); }
    std::optional<uint32_t> StoredId() {
        CRegistryKey key;
        key.OpenOrCreate(kUserRegKeyPath);
        return key.ReadDword(kLanguageValueName);
    }

    testing::CProgramFolder program_;
};

TEST_F(Language, EnglishVariantsAndOtherLanguagesAreStoredAsUsEnglish) {
    ASSERT_TRUE(OpenUserRegKey());
    setenv("LANG", "en_GB.UTF-8", 1);
    EXPECT_EQ(CurrentLanguageId(), kLanguageEnglishUS);
    EXPECT_EQ(StoredId(), kLanguageEnglishUS);
    EXPECT_EQ(CurrentLanguageIndex(), 0);
    EXPECT_EQ(LanguageFilePath(0), program_.File("Lang0409.ini"));

    // Once stored, the desktop's language no longer matters.
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(CurrentLanguageId(), kLanguageEnglishUS);

    // A fresh choice on a German desktop lands on US English as well.
    ASSERT_TRUE(UserRegKey().WriteDword(kLanguageValueName, 0));
    EXPECT_EQ(CurrentLanguageId(), kLanguageEnglishUS);
    EXPECT_EQ(StoredId(), kLanguageEnglishUS);
}

TEST_F(Language, UnsupportedStoredIdStaysAndUsesTheFirstFile) {
    ASSERT_TRUE(OpenUserRegKey());
    ASSERT_TRUE(UserRegKey().WriteDword(kLanguageValueName, 0x0407));
    program_.WriteLanguage("[TEXT]\nMAIN_CAPTION=English caption\n");
    program_.WriteLanguage("[TEXT]\nMAIN_CAPTION=German caption\n", "Lang0407.ini");
    EXPECT_EQ(CurrentLanguageId(), 0x0407u);
    EXPECT_EQ(CurrentLanguageIndex(), 0);
    EXPECT_EQ(Text("MAIN_CAPTION"), "English caption");
    EXPECT_EQ(StoredId(), 0x0407u);
}

TEST_F(Language, ValueOfTheWrongTypeIsReplaced) {
    ASSERT_TRUE(OpenUserRegKey());
    ASSERT_TRUE(UserRegKey().WriteString(kLanguageValueName, "1033"));
    EXPECT_EQ(CurrentLanguageId(), kLanguageEnglishUS);
    EXPECT_EQ(StoredId(), kLanguageEnglishUS);
}

TEST_F(Language, WithoutAUsableRegistryNothingIsStored) {
    // The store's folder cannot be made (a file is in the way): every read and
    // write fails and each lookup chooses again.
    testing::WriteText(program_.Home().Dir().File("blocked"), "x");
    testing::CScopedEnv blocked("XDG_CONFIG_HOME", program_.Home().Dir().File("blocked/config"));
    OpenUserRegKey();
    setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(CurrentLanguageId(), kLanguageEnglishUS);
    EXPECT_EQ(CurrentLanguageIndex(), 0);
    EXPECT_FALSE(StoredId().has_value());
    program_.WriteLanguage("[TEXT]\nMAIN_CAPTION=Main\n");
    EXPECT_EQ(Text("MAIN_CAPTION"), "Main");
}

TEST_F(Language, TextLookups) {
    program_.WriteLanguage("[TEXT]\n"
                           "MAIN_CAPTION=Main\n"
                           "PROFILE_OK=\n"
                           "Speed=text speed\n"
                           "LONG=" +
                           std::string(400, 'a') +
                           "\n"
                           "[light]\n"
                           "speed=Light speed\n"
                           "[MODE]\n"
                           "1=Wave\n"
                           "20=Custom\n");
    EXPECT_EQ(LoadText("MAIN_CAPTION", 0), "Main");
    EXPECT_EQ(LoadText("main_caption", 0), "Main");
    EXPECT_EQ(LoadText("PROFILE_OK", 0), "");
    EXPECT_EQ(LoadText("NOT_THERE", 0), kMissingText);
    EXPECT_EQ(LoadText("LONG", 0), std::string(kMaxTextChars - 1, 'a'));
    // Sections are kept apart.
    EXPECT_EQ(LoadLightText("Speed", 0), "Light speed");
    EXPECT_EQ(LoadText("Speed", 0), "text speed");
    EXPECT_EQ(LoadModeText("MAIN_CAPTION", 0), kMissingText);
    EXPECT_EQ(LoadModeText(1, 0), "Wave");
    EXPECT_EQ(LoadModeText(20, 0), "Custom");
    EXPECT_EQ(LoadModeText(21, 0), kMissingText);
    EXPECT_EQ(ModeText(1), "Wave");
    EXPECT_EQ(LightText("speed"), "Light speed");
    // Outside the table counts as entry 0; entry 1 has no file.
    EXPECT_EQ(LoadText("MAIN_CAPTION", -1), "Main");
    EXPECT_EQ(LoadText("MAIN_CAPTION", 7), "Main");
    EXPECT_EQ(LoadText("MAIN_CAPTION", 1), kMissingText);

    std::filesystem::remove(program_.File("Lang0409.ini"));
    EXPECT_EQ(LoadText("MAIN_CAPTION", 0), kMissingText);
    EXPECT_EQ(LoadLightText("Speed", 0), kMissingText);
}

TEST(LanguageLocale, LocaleNamesMapToLanguageIds) {
    const std::map<std::string, uint16_t> cases = {
        {"en_US.UTF-8", 0x0409},
        {"en_GB.UTF-8", 0x0809},
        {"en_AU", 0x0C09},
        {"en-CA", 0x1009},
        {"en_NZ", 0x1409},
        {"en_IE", 0x1809},
        {"en_ZA", 0x1C09},
        {"en_JM", 0x2009},
        {"en_BZ", 0x2809},
        {"en_TT", 0x2C09},
        {"en", 0x0409},
        {"en_IN", 0x4009},
        {"en_XX", 0x0409},
        {"de_DE@euro", 0x0407},
        {"de_AT.UTF-8", 0x0C07},
        {"fr", 0x040C},
        {"fr_CA", 0x0C0C},
        {"pt_BR", 0x0416},
        {"ja_JP.eucJP", 0x0411},
        {"zh_TW", 0x0404},
        {"C", 0},
        {"POSIX", 0},
        {"C.UTF-8", 0},
        {"", 0},
        {"zz_ZZ", 0},
        {"_US", 0},
    };
    for (const auto& [name, id] : cases)
        EXPECT_EQ(LanguageIdFromLocaleName(name), id) << name;

    for (uint16_t id : {0x0809, 0x0C09, 0x1009, 0x1409, 0x1809, 0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09})
        EXPECT_TRUE(IsEnglishVariant(id)) << id;
    EXPECT_FALSE(IsEnglishVariant(0x0409)); // already the supported one
    EXPECT_FALSE(IsEnglishVariant(0x4009));
    EXPECT_FALSE(IsEnglishVariant(0x0407));
}

TEST(LanguageLocale, FirstSetVariableDecides) {
    setenv("LC_ALL", "", 1); // set but empty counts as unset
    setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
    setenv("LANG", "en_GB.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x0407);
    setenv("LC_ALL", "fr_FR", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), 0x040C);
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(SystemDefaultLanguageId(), kLanguageEnglishUS);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
    EXPECT_EQ(SystemDefaultLanguageId(), kLanguageEnglishUS);
}

TEST(LanguageFormat, OnlyTheExpectedConversionIsFilledIn) {
    EXPECT_EQ(FormatTextNumber("Key 0x%03X", 0x64), "Key 0x064");
    EXPECT_EQ(FormatTextNumber("At most %d macros", 100), "At most 100 macros");
    EXPECT_EQ(FormatTextNumber("%u%%", 40000), "40000%");
    EXPECT_EQ(FormatTextNumber("[%-5d][%5d]", 7), "[7    ][%5d]"); // the second stays as written
    EXPECT_EQ(FormatTextNumber("%ld %lld %I64d", 1), "1 %lld %I64d");
    EXPECT_EQ(FormatTextNumber("%x", 0x1FF), "1ff");
    // Conversions that would read arguments that are not there stay literal.
    EXPECT_EQ(FormatTextNumber("%s %n %p %*d %d", 5), "%s %n %p %*d 5");
    EXPECT_EQ(FormatTextNumber("100%", 1), "100%");
    EXPECT_EQ(FormatTextNumber("%5.", 1), "%5.");
    EXPECT_EQ(FormatTextNumber("no number", 1), "no number");
    EXPECT_EQ(FormatTextNumber("%0999999999999d", 1).size(), kMaxTextChars - 1);
    EXPECT_EQ(FormatTextNumber("%d", 12345, 3), "12");
    EXPECT_EQ(FormatTextNumber("%d", 1, 0), "");

    EXPECT_EQ(FormatTextString("%s is not a profile file.", "/home/u/a.fwc"),
              "/home/u/a.fwc is not a profile file.");
    EXPECT_EQ(FormatTextString("%d: %s", "p"), "%d: p");
    EXPECT_EQ(FormatTextString("[%.2s][%-4s]", "\xC3\x84\xC3\x84\xC3\x84"), "[\xC3\x84\xC3\x84][%-4s]");
    EXPECT_EQ(FormatTextString("[%4s]", "\xC3\x84"), "[   \xC3\x84]");
    // A long path is cut as a whole text would be, never inside a character.
    std::string path(300, 'p');
    EXPECT_EQ(FormatTextString("%s", path).size(), kMaxTextChars - 1);
    EXPECT_EQ(CutToChars("\xC3\x84"
                         "b\xE2\x82\xAC",
                         2),
              "\xC3\x84"
              "b");
    EXPECT_EQ(CutToChars("\xC3\x84"
                         "b\xE2\x82\xAC",
                         3),
              "\xC3\x84"
              "b\xE2\x82\xAC");
    EXPECT_EQ(CutToChars("abc", 0), "");
}

// Conversions in a text, as printf would see them ("%%" excluded).
std::vector<char> Conversions(const std::string& text) {
    std::vector<char> found;
    static const std::regex conversion(R"(%%|%[-+ #0]*[0-9]*(\.[0-9]*)?(hh|h|ll|l|I64)?([a-zA-Z]))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), conversion); it != std::sregex_iterator();
         ++it)
        if ((*it)[0] != "%%") found.push_back((*it)[3].str()[0]);
    return found;
}

TEST(ShippedLanguageFile, HoldsEveryKeyTheProgramLooksUp) {
    const std::string file = std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini";
    ASSERT_TRUE(std::filesystem::exists(file));
    size_t count = 0;
    const LanguageKeyEntry* keys = LanguageKeys(&count);
    ASSERT_GT(count, 100u);
    std::set<std::string> seen;
    for (size_t i = 0; i < count; ++i) {
        const LanguageKeyEntry& entry = keys[i];
        const std::string section = LanguageSectionName(entry.section);
        EXPECT_TRUE(seen.insert(section + "/" + entry.key).second) << entry.key << " listed twice";
        const std::string value = IniReadString(file, section, entry.key, kMissingText, kMaxTextChars);
        EXPECT_NE(value, kMissingText) << section << "/" << entry.key << " missing";
        EXPECT_FALSE(value.empty()) << section << "/" << entry.key << " empty";
        std::vector<char> conversions = Conversions(value);
        switch (entry.format) {
        case LanguageFormat::None:
            EXPECT_TRUE(conversions.empty()) << entry.key << ": " << value;
            break;
        case LanguageFormat::Number:
            ASSERT_EQ(conversions.size(), 1u) << entry.key << ": " << value;
            EXPECT_NE(std::string("diuxXo").find(conversions[0]), std::string::npos) << entry.key;
            break;
        case LanguageFormat::String:
            ASSERT_EQ(conversions.size(), 1u) << entry.key << ": " << value;
            EXPECT_EQ(conversions[0], 's') << entry.key;
            break;
        }
    }
    for (int mode = 1; mode <= 20; ++mode)
        EXPECT_TRUE(seen.count("MODE/" + std::to_string(mode))) << mode;
}

TEST(ShippedLanguageFile, EveryKeyOnceAndEveryTextOneScriptAndOneSpelling) {
    // The reader takes the first of two equal keys, so a duplicate is a slip.
    // Glyphs outside plain ASCII show as empty boxes where no font has them,
    // and the texts read as one set: British -our and -ise throughout.
    const std::regex american(R"(\b([Cc]olor|[Ff]avor|[A-Za-z]+iz(e|es|ed|ing|ation))\b)");
    std::ifstream in(std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini");
    std::string line, section;
    std::set<std::string> seen;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line;
            EXPECT_TRUE(seen.insert(section).second) << "section " << line << " twice";
            continue;
        }
        std::string key = line.substr(0, line.find('='));
        for (char& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(section + key).second) << line;
        const std::string value = line.substr(line.find('=') + 1);
        for (char c : value)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "line " << lineNumber << ": " << line;
        EXPECT_FALSE(std::regex_search(value, american)) << "line " << lineNumber << ": " << line;
    }
    EXPECT_GT(lineNumber, 300);
}

} // namespace
} // namespace orvane
