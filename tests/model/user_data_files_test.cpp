// The user data files: defaults, value formats, first use of the folder,
// restoring from the template, and loading a colour set into the lighting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sys/stat.h>

#include "files_test_env.h"
#include "model/KeyTables.h"
#include "model/LightingModel.h"
#include "model/MacroRecord.h"
#include "model/UserData.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "recording_lighting_host.h"
#include "services/WriteFailureReport.h"
#include "support/RecordingLightingPort.h"

namespace orvane::test {
namespace {

using UserFolderTest = FilesTestEnv;

class UserDataTest : public FilesTestEnv {
  protected:
    void SetUp() override {
        FilesTestEnv::SetUp();
        std::filesystem::create_directories(UserFolder());
    }
    std::string File(int p) const { return UserFolder() + "/UserDengColor_" + std::to_string(p) + ".userd"; }
};

using testing::CRecordingLightingPort;

// Whole-table sends the port saw.
long TableSends(const CRecordingLightingPort& port) {
    return std::ranges::count(port.calls, std::string("T"));
}

TEST_F(UserDataTest, PathsFollowTheUserFolder) {
    EXPECT_EQ(UserFolderPath(), UserFolder());
    EXPECT_EQ(UserDataFilePath(0), File(0));
    EXPECT_EQ(UserDataFilePath(2), File(2));
    EXPECT_EQ(UserDataFilePath(3), "");
    EXPECT_EQ(UserDataFilePath(-1), "");
    EXPECT_EQ(UserDataTemplatePath(), TemplatePath());
}

TEST_F(UserDataTest, MissingFileAndKeysGiveTheDefaults) {
    // No file at all, then a file that lacks every key read below.
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(ReadPresentSet(1), 0);
        EXPECT_EQ(ReadSetName(1, 2), "0");
        EXPECT_EQ(ReadKeyColour(1, 0, 16), (KeyColourEntry{MakeColour(255, 0, 0), 1}));
        EXPECT_EQ(ReadPaintSettings(1, 0), PaintSettings{});
        WriteText(File(1), "[Other]\nmode=2\n[Mode1]\n16=1,1,1,0\n");
    }
}

TEST_F(UserDataTest, ValuesAreParsedNumberByNumber) {
    struct Case {
        const char* value;
        KeyColourEntry want;
    };
    const Case cases[] = {
        {"4,5,6,7", {MakeColour(4, 5, 6), 1}}, // any non-zero flag is 1
        {"4,5,6,0", {MakeColour(4, 5, 6), 0}},
        {"4,5", {MakeColour(4, 5, 0), 0}},     // missing numbers are 0
        {"4,x,6,1", {MakeColour(4, 0, 0), 0}}, // numbers after a bad one too
        {"", {0, 0}},
        {" 7, 8 ,9,1", {MakeColour(7, 8, 0), 0}}, // blanks only before a number
        {"1,2,3,-1", {MakeColour(1, 2, 3), 1}},
        {"99999999999999999999,0,0,1", {MakeColour(0xFF, 0, 0), 1}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(IniWriteString(File(0), "Mode2", "40", c.value));
        EXPECT_EQ(ReadKeyColour(0, 2, 40), c.want) << "value \"" << c.value << "\"";
    }
    ASSERT_TRUE(IniWriteString(File(0), "PRESENTMODE", "mode", "2abc"));
    EXPECT_EQ(ReadPresentSet(0), 2);
    ASSERT_TRUE(IniWriteString(File(0), "PRESENTMODE", "mode", "abc"));
    EXPECT_EQ(ReadPresentSet(0), 0);
    // Only the three sets exist; any other number reads as set 0.
    for (const char* bad : {"5", "3", "-1", "99999999999"}) {
        ASSERT_TRUE(IniWriteString(File(0), "PRESENTMODE", "mode", bad));
        EXPECT_EQ(ReadPresentSet(0), 0) << bad;
    }
}

TEST_F(UserDataTest, WritesUseTheFileFormatsAndReadBack) {
    WritePresentSet(2, 1);
    WriteSetName(2, 1, "Night\nshift");
    WriteKeyColour(2, 1, 110, MakeColour(10, 200, 30), 0);
    WritePaintSettings(2, 1, PaintSettings{1, MakeColour(1, 2, 3), MakeColour(250, 251, 252)});
    UserDataPaintStore().WriteKeyColour(2, 0, 5, MakeColour(7, 7, 7), 1);

    EXPECT_EQ(ReadPresentSet(2), 1);
    EXPECT_EQ(ReadSetName(2, 1), "Night shift"); // one line in the file
    EXPECT_EQ(ReadKeyColour(2, 1, 110), (KeyColourEntry{MakeColour(10, 200, 30), 0}));
    EXPECT_EQ(ReadPaintSettings(2, 1), (PaintSettings{1, MakeColour(1, 2, 3), MakeColour(250, 251, 252)}));
    EXPECT_EQ(ReadKeyColour(2, 0, 5), (KeyColourEntry{MakeColour(7, 7, 7), 1}));

    const std::string text = ReadText(File(2));
    EXPECT_NE(text.find("110=10,200,30,0"), std::string::npos) << text;
    EXPECT_NE(text.find("tool=1"), std::string::npos);
    EXPECT_LT(text.find("tool=1"), text.find("jcolor=1,2,3"));
    EXPECT_LT(text.find("jcolor=1,2,3"), text.find("color=250,251,252"));
    // Nothing went to the other profiles' files.
    EXPECT_FALSE(std::filesystem::exists(File(0)));

    // A new linked colour with its keys is one write: when that write fails,
    // no part of the change is in the file.
    const PaintedKey keys[] = {{16, MakeColour(4, 4, 4), 1}, {125, MakeColour(4, 4, 4), 1}};
    SetAtomicWriteFailureForTests(true);
    UserDataPaintStore().WritePaintSettings(2, 1, 1, MakeColour(4, 4, 4), 0, keys);
    SetAtomicWriteFailureForTests(false);
    EXPECT_EQ(ReadText(File(2)), text);
    UserDataPaintStore().WritePaintSettings(2, 1, 1, MakeColour(4, 4, 4), 0, keys);
    EXPECT_EQ(ReadPaintSettings(2, 1), (PaintSettings{1, MakeColour(4, 4, 4), 0}));
    EXPECT_EQ(ReadKeyColour(2, 1, 125), (KeyColourEntry{MakeColour(4, 4, 4), 1}));
    EXPECT_EQ(ReadKeyColour(2, 1, 110), (KeyColourEntry{MakeColour(10, 200, 30), 0}));
}

TEST_F(UserFolderTest, FirstUseCopiesTheTemplateIntoEveryMissingFileOnly) {
    WriteTemplate();
    ASSERT_FALSE(std::filesystem::exists(UserFolder()));
    EnsureUserFolder();
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(ReadText(UserFolder() + "/UserDengColor_" + std::to_string(p) + ".userd"), kTemplateText);
    EXPECT_EQ(ReadSetName(1, 1), "Glacier");

    // A first start cut short after making the folder: the files still come.
    std::filesystem::remove(UserFolder() + "/UserDengColor_1.userd");
    WriteText(UserFolder() + "/UserDengColor_0.userd", "[MODENAME]\n0=Mine\n");
    EnsureUserFolder();
    EXPECT_EQ(ReadText(UserFolder() + "/UserDengColor_1.userd"), kTemplateText);
    EXPECT_EQ(ReadSetName(0, 0), "Mine"); // the user's own file is kept
}

TEST_F(UserFolderTest, DataFolderDeeperThanTheOldPathLimitKeepsTheFiles) {
    // Several levels, as no single name may pass 255 characters.
    std::string deep = home_.Data();
    while (deep.size() < 300)
        deep += "/" + std::string(60, 'd');
    testing::CScopedEnv data("XDG_DATA_HOME", deep);
    BuildUserPaths();
    ASSERT_EQ(UserFolderPath(), deep + "/Brislane");
    WriteTemplate();
    EnsureUserFolder();
    EXPECT_EQ(ReadSetName(0, 1), "Glacier");
    WriteSetName(2, 0, "Deep");
    WriteKeyColour(2, 0, 16, MakeColour(1, 2, 3), 0);
    EXPECT_EQ(ReadSetName(2, 0), "Deep");
    EXPECT_EQ(ReadKeyColour(2, 0, 16), (KeyColourEntry{MakeColour(1, 2, 3), 0}));
    EXPECT_TRUE(std::filesystem::exists(deep + "/Brislane/UserDengColor_2.userd"));
}

TEST_F(UserFolderTest, FirstUseWithoutTemplateLeavesEmptyFiles) {
    EnsureUserFolder();
    for (int p = 0; p < 3; ++p) {
        const std::string path = UserFolder() + "/UserDengColor_" + std::to_string(p) + ".userd";
        ASSERT_TRUE(std::filesystem::exists(path));
        EXPECT_EQ(std::filesystem::file_size(path), 0u);
    }
    EXPECT_EQ(ReadKeyColour(0, 0, 0), (KeyColourEntry{MakeColour(255, 0, 0), 1}));
}

TEST_F(UserDataTest, RestoreReplacesTheFileOrKeepsItWhenTheWriteFails) {
    WriteTemplate();
    WriteText(File(1), "[MODENAME]\n0=Mine\n");
    ASSERT_TRUE(RestoreUserFile(1));
    EXPECT_EQ(ReadText(File(1)), kTemplateText);

    WriteText(File(1), "[MODENAME]\n0=Mine\n");
    SetAtomicWriteFailureForTests(true);
    EXPECT_FALSE(RestoreUserFile(1));
    SetAtomicWriteFailureForTests(false);
    EXPECT_EQ(ReadText(File(1)), "[MODENAME]\n0=Mine\n");

    EXPECT_EQ(WithoutWriteAccess(UserFolder(), [] { return RestoreUserFile(1) ? 1 : 0; }), 0);
    EXPECT_EQ(ReadText(File(1)), "[MODENAME]\n0=Mine\n");
    // Nothing half-written is left beside it either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(UserFolder()), {}), 1);
    EXPECT_FALSE(RestoreUserFile(3));
}

TEST_F(UserDataTest, LoadingAColourSetFillsTheLightingAndSendsOnlyWhenAsked) {
    const int slot = KeySlotOfScanCode(0x01E); // A
    ASSERT_GE(slot, 0);
    const int led = KeySlotAt(slot)->ledIndex;
    WriteText(File(1), "[PRESENTMODE]\nmode=2\n[Mode2]\n" + std::to_string(led) +
                           "=10,20,30,0\n110=1,2,3,0\n125=4,5,6,0\ntool=1\njcolor=7,8,9\ncolor=3,3,3\n");
    CRecordingLightingPort port;
    CLightingModel model(port);
    const KeyButton a{KeyButtonKind::Slot, static_cast<uint8_t>(slot)};
    const KeyButton fn{KeyButtonKind::Fn, 0};
    const KeyButton g1{KeyButtonKind::GKey, 0};
    model.SetPaintFlag(1, g1, 1);

    EXPECT_EQ(LoadKeyColours(1, false, model), 1);
    EXPECT_EQ(TableSends(port), 0);
    EXPECT_EQ(model.ColourSetInUse(1), 2);
    EXPECT_EQ(model.PaintTool(), 1);
    EXPECT_EQ(model.LinkedPaintColour(), MakeColour(7, 8, 9));
    EXPECT_EQ(model.OwnPaintColour(), MakeColour(3, 3, 3));
    EXPECT_EQ(model.KeyColour(1, led), MakeColour(10, 20, 30));
    EXPECT_EQ(model.PaintFlag(1, a), 0);
    EXPECT_EQ(model.KeyColour(1, 110), MakeColour(1, 2, 3));
    EXPECT_EQ(model.PaintFlag(1, fn), 0);
    EXPECT_EQ(model.PaintFlag(1, g1), 1); // the G keys follow only with sending
    // A slot without an entry is red and linked.
    const KeyButton b{KeyButtonKind::Slot, static_cast<uint8_t>(KeySlotOfScanCode(0x030))};
    EXPECT_EQ(model.KeyColour(1, KeySlotAt(b.index)->ledIndex), MakeColour(255, 0, 0));
    EXPECT_EQ(model.PaintFlag(1, b), 1);
    // Other profiles are untouched.
    EXPECT_EQ(model.KeyColour(0, led), 0u);

    port.Refuse("T", -3);
    EXPECT_EQ(LoadKeyColours(1, true, model), -3);
    EXPECT_EQ(TableSends(port), 1);
    EXPECT_EQ(model.PaintFlag(1, g1), 0);
    EXPECT_EQ(model.PaintFlag(1, KeyButton{KeyButtonKind::GKey, 8}), 0);
    ASSERT_EQ(port.table.size(), kKeyColourTableSize);
    EXPECT_EQ(port.table[led * 3 + 1], 20);
    EXPECT_EQ(port.table[110 * 3 + 2], 3);

    EXPECT_EQ(LoadKeyColours(3, true, model), 0);
    EXPECT_EQ(TableSends(port), 1);
}

TEST_F(UserDataTest, SelectingAndRenamingColourSets) {
    WriteTemplate();
    ASSERT_TRUE(RestoreUserFile(0));
    EXPECT_EQ(ListColourSets(0), (std::array<std::string, 3>{"Ember", "Glacier", "Day"}));
    EXPECT_EQ(ListColourSets(2), (std::array<std::string, 3>{"0", "0", "0"}));

    CRecordingLightingPort port;
    CLightingModel model(port);
    EXPECT_EQ(SelectColourSet(0, 1, true, model), 1);
    EXPECT_EQ(ReadPresentSet(0), 1);
    EXPECT_EQ(model.ColourSetInUse(0), 1);
    EXPECT_EQ(model.LinkedPaintColour(), MakeColour(9, 8, 7));
    EXPECT_EQ(TableSends(port), 1);
    RenameColourSet(0, "Frost", model);
    EXPECT_EQ(ListColourSets(0), (std::array<std::string, 3>{"Ember", "Frost", "Day"}));

    EXPECT_EQ(SelectColourSet(0, 3, true, model), 0);
    EXPECT_EQ(SelectColourSet(0, -1, true, model), 0);
    EXPECT_EQ(ReadPresentSet(0), 1);
}

// ------------------------------------------------- writes that cannot be made

// How the writes are stopped, and which of the three files that the actions
// write (settings file, user data file of profile 0, registry) it stops.
struct BlockedWrites {
    const char* name;
    bool byPermissions;
    int error;
    bool settings, userData, registry;
};

void PrintTo(const BlockedWrites& b, std::ostream* os) {
    *os << b.name;
}

class WriteFailureTest : public FilesTestEnv, public ::testing::WithParamInterface<BlockedWrites> {
  protected:
    void SetUp() override {
        FilesTestEnv::SetUp();
        SetRegistrySettingsRoot("Test", "Files");
        std::filesystem::create_directories(UserFolder());
        WriteTemplate();
        ASSERT_TRUE(RestoreUserFile(0));
        WriteText(Settings(), "[KEYCOLOR]\nDengCheck=1\n");
        ASSERT_TRUE(WriteProfileString("PROFILES", "Other", "kept"));
    }
    void TearDown() override {
        obeyed_.reset();
        ::chmod(UserFolder().c_str(), 0755);
        FilesTestEnv::TearDown();
    }
    std::string Settings() const { return UserFolder() + "/zaru.ini"; }

    void Block() {
        const BlockedWrites& b = GetParam();
        for (auto [blocked, path] :
             {std::pair{b.settings, Settings()}, std::pair{b.userData, UserDataFilePath(0)},
              std::pair{b.registry, RegistryStorePath()}}) {
            if (!blocked) continue;
            if (b.byPermissions) {
                ::chmod(path.c_str(), 0444);
            } else {
                std::filesystem::remove(path);
                std::filesystem::create_directory(path);
            }
        }
        if (b.byPermissions && b.settings && b.userData) ::chmod(UserFolder().c_str(), 0555);
        if (b.byPermissions) obeyed_.emplace();
    }
    std::optional<testing::CPermissionsApply> obeyed_;

    // Every regular file under the test's home, with its bytes.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.Dir().Path()))
            if (entry.is_regular_file()) files[entry.path().string()] = ReadText(entry.path().string());
        return files;
    }
};

TEST_P(WriteFailureTest, EachFailedWriteIsToldOnceWithItsPathAndNothingElseChanges) {
    CRecordingLightingPort port;
    CLightingModel model(port);
    model.SetPaintStore(&UserDataPaintStore());
    CRecordingLightingHost host;
    CKeyLightFrame lights;
    struct Action {
        const char* name;
        bool BlockedWrites::*stopped;
        std::string target;
        std::function<void()> run;
    };
    const Action actions[] = {
        {"lighting switch", &BlockedWrites::settings, Settings(),
         [&] { model.SetLightingSwitch(false, host, lights); }},
        {"colour set choice", &BlockedWrites::userData, UserDataFilePath(0),
         [&] { SelectColourSet(0, 2, false, model); }},
        {"colour set name", &BlockedWrites::userData, UserDataFilePath(0),
         [&] { RenameColourSet(0, "Frost", model); }},
        {"paint tool", &BlockedWrites::userData, UserDataFilePath(0), [&] { model.SelectPaintTool(0); }},
        {"record delay option", &BlockedWrites::registry, RegistryStorePath(),
         [&] { ReportWriteFailures({WriteRecordDelayOption(1)}); }},
    };
    Block();
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        prompt_.shown.clear();
        std::map<std::string, std::string> before = Files();
        action.run();
        std::map<std::string, std::string> after = Files();
        if (GetParam().*action.stopped) {
            EXPECT_EQ(prompt_.shown, std::vector<std::string>{NotSavedText(action.target, GetParam().error)});
        } else {
            EXPECT_TRUE(prompt_.shown.empty());
            EXPECT_NE(before[action.target], after[action.target]);
            before.erase(action.target);
            after.erase(action.target);
        }
        EXPECT_EQ(before, after);
    }
    // The name is stored at each key typed: a failure is told once, not per key.
    prompt_.shown.clear();
    RenameColourSet(0, "Frosty", model);
    EXPECT_EQ(prompt_.shown.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Blocked, WriteFailureTest,
    ::testing::Values(BlockedWrites{"ReadOnlyUserFolder", true, EACCES, true, true, false},
                      BlockedWrites{"ReadOnlySettingsFiles", true, EACCES, true, false, true},
                      BlockedWrites{"FoldersInTheFilesPlace", false, EISDIR, true, true, true}),
    [](const ::testing::TestParamInfo<BlockedWrites>& info) { return std::string(info.param.name); });

TEST_F(UserFolderTest, AFolderThatCannotBeMadeIsTheOneFailure) {
    WriteText(UserFolder(), "a file where the folder belongs");
    const std::vector<WriteResult> failed = EnsureUserFolder();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].path, UserFolder());
    EXPECT_EQ(failed[0].error, ENOTDIR);
    EXPECT_EQ(ReadText(UserFolder()), "a file where the folder belongs");
}

} // namespace
} // namespace orvane::test
