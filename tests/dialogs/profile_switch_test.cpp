// Profile switching, the flip setting and the backup and restore commands,
// against the simulated keyboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "device/DeviceCommands.h"
#include "dialogs/EditorOpenCounts.h"
#include "dialogs/FlipSetting.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "platform/Registry.h"
#include "services/Language.h"
#include "sim/SimFaults.h"
#include "support/ProfileTestSupport.h"
#include "support/SimFaultCases.h"
#include "transfer/BusyIndicator.h"
#include "transfer/ProfileFileCommands.h"

namespace orvane::test {
namespace {

constexpr int kKeyA = 0x1E;

class ProfileSwitchTest : public ProfileTest {
  protected:
    // An unsent change in the working copy, as a key dialog leaves it.
    void ChangeKeyA(int profile) {
        ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(profile, kKeyA, KeyFunctionKind::Disabled, 0));
        host.pending = true;
    }
    bool KeyAChanged(int profile) {
        return g_ConfigStore.Record(profile, kKeyA).Is(KeyFunctionKind::Disabled);
    }
    bool FileHasKeyAChanged(int fileProfile, int block) {
        CConfigStore copy;
        return LoadProfileFile(WorkingProfilePath(fileProfile), copy) == 1 &&
               copy.Record(block, kKeyA).Is(KeyFunctionKind::Disabled);
    }
    // Reads of the active profile do not count: only what changes the keyboard.
    bool WroteAnything() {
        for (const WireRequest& r : TakeRequests())
            if (r.command == CMD_WRITE_INFO || r.command == CMD_WRITE_LIGHTING ||
                r.command == CMD_WRITE_KEY_MATRIX || r.command == CMD_WRITE_MACRO_MEMORY ||
                r.command == CMD_WRITE_KEY_COLOURS)
                return true;
        return false;
    }
};

TEST_F(ProfileSwitchTest, ProfilesOutsideTheThreeSwitchToTheFirst) {
    for (int asked : {3, -1, 42}) {
        ASSERT_EQ(SetActiveProfile(2), 1);
        EXPECT_EQ(SelectProfile(asked, false), 1) << asked;
        EXPECT_EQ(KeyboardActive(), 0) << asked;
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ProfileSwitchTest, EverySwitchIsRefusedWhileTheKeyDialogIsOpen) {
    ChangeKeyA(0);
    TakeRequests();
    {
        CCompositeOpenScope keyDialog;
        EXPECT_EQ(SelectProfile(1, false), 0);
        EXPECT_EQ(SelectProfile(2, true), 0);
        EXPECT_EQ(SwitchForProfileButton(1), -1);
    }
    ASSERT_EQ(prompt.shown.size(), 3u);
    for (const std::string& text : prompt.shown)
        EXPECT_EQ(text, Text("PROFILE_SEELCT_PROMPT2"));
    EXPECT_FALSE(WroteAnything());
    EXPECT_TRUE(host.pending.load());
    EXPECT_TRUE(KeyAChanged(0));
    EXPECT_EQ(KeyboardActive(), 0);
}

// Unsent key changes at a switch: dropped for the saved file (No, unless it
// is gone), kept with the switch called off (Cancel), or saved into the
// profile that was active and sent first (Yes, or when no one is asked).
TEST_F(ProfileSwitchTest, UnsentKeyChangesAreDroppedKeptOrSentAsAnswered) {
    struct Case {
        const char* what;
        int answer;
        bool withoutAsking, fileGone, switched, sent, kept;
    };
    for (const Case& c : {Case{"no", IDNO, false, false, true, false, false},
                          Case{"no, the saved file gone", IDNO, false, true, true, false, true},
                          Case{"cancel", IDCANCEL, false, false, false, false, true},
                          Case{"yes", IDYES, false, false, true, true, true},
                          Case{"without asking", IDNO, true, false, true, true, true}}) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(SetActiveProfile(0), 1);
        ChangeKeyA(0);
        if (c.fileGone) std::filesystem::remove(WorkingProfilePath(0));
        prompt.shown.clear();
        prompt.styles.clear();
        prompt.answer = c.answer;
        TakeRequests();
        EXPECT_EQ(SelectProfile(1, c.withoutAsking), c.switched ? 1 : 0);
        WaitForBusyIndicator();
        if (c.switched) {
            bool matrixSent = false;
            for (const WireRequest& r : TakeRequests())
                matrixSent |= r.command == CMD_WRITE_KEY_MATRIX;
            EXPECT_EQ(matrixSent, c.sent);
        } else {
            EXPECT_FALSE(WroteAnything());
            EXPECT_EQ(SwitchForProfileButton(2), -1) << "no button checked";
        }
        if (c.withoutAsking) {
            EXPECT_TRUE(prompt.shown.empty());
        } else {
            ASSERT_EQ(prompt.shown.size(), c.switched ? 1u : 2u);
            EXPECT_EQ(prompt.shown[0], Text("PROFILE_SWITCH_UNSENT_PROMPT"));
            EXPECT_EQ(prompt.styles[0] & 0xF, MB_YESNOCANCEL);
            EXPECT_TRUE(prompt.styles[0] & MB_DEFBUTTON2); // No is the default answer
        }
        EXPECT_EQ(FileHasKeyAChanged(0, 0), c.sent);
        EXPECT_EQ(KeyAChanged(0), c.kept);
        EXPECT_EQ(host.pending.load(), c.kept && !c.sent);
        EXPECT_EQ(KeyboardActive(), c.switched ? 1 : 0);
        ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, kKeyA, KeyFunctionKind::Default, 0));
        host.pending = false;
        CreateWorkingProfile(0);
    }
}

TEST_F(ProfileSwitchTest, ProfileButtonOfTheActiveProfileNeitherAsksNorSends) {
    ASSERT_EQ(SetActiveProfile(1), 1);
    ChangeKeyA(1);
    int rebuilt = 0;
    SetProfileMenuRebuild([&] { ++rebuilt; });
    TakeRequests();
    EXPECT_EQ(SwitchForProfileButton(1), 1);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(WroteAnything());
    EXPECT_TRUE(host.pending.load());
    EXPECT_EQ(rebuilt, 0);

    host.pending = false;
    EXPECT_EQ(SwitchForProfileButton(2), 2);
    EXPECT_EQ(rebuilt, 1);
    EXPECT_EQ(KeyboardActive(), 2);
}

TEST_F(ProfileSwitchTest, AFaultStopsTheSwitchSaysSoAndKeepsWhatWasNotTaken) {
    for (const testing::SimFaultCase& fault : testing::kRequestFaults)
        for (bool atSwitch : {false, true}) {
            SCOPED_TRACE(std::string(fault.name) + (atSwitch ? " at the switch" : " at the Apply before it"));
            ASSERT_EQ(SetActiveProfile(0), 1);
            if (!atSwitch) ChangeKeyA(0);
            prompt.shown.clear();
            prompt.answer = IDYES;
            // The Apply's first request, or the switch's write after its read.
            testing::FailRequest(*sim, fault.kind, sim->RequestCount() + (atSwitch ? 2 : 1));
            EXPECT_EQ(SelectProfile(1, false), 0);
            WaitForBusyIndicator();
            sim->ClearFaults();
            ASSERT_FALSE(prompt.shown.empty());
            EXPECT_EQ(prompt.shown.back(), Text(atSwitch ? "PROFILE_SWITCH_FAILED" : "PROFILE_APPLY_FAILED"));
            EXPECT_EQ(host.pending.load(), !atSwitch);
            EXPECT_EQ(KeyAChanged(0), !atSwitch);
            EXPECT_EQ(KeyboardActive(), 0);
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, kKeyA, KeyFunctionKind::Default, 0));
            host.pending = false;
        }
    // Macros the keyboard has no room for: one message says why, and that
    // the profile was not switched.
    ChangeKeyA(0);
    prompt.shown.clear();
    SetMacroCapacity(1);
    EXPECT_EQ(SelectProfile(1, false), 0);
    WaitForBusyIndicator();
    SetMacroCapacity(0);
    EXPECT_EQ(prompt.shown, (std::vector<std::string>{Text("PROFILE_SWITCH_UNSENT_PROMPT"),
                                                      Text("EXTRA_MACRO_TOO_LONG") + "\n\n" +
                                                          Text("PROFILE_APPLY_FAILED")}));
    EXPECT_EQ(KeyboardActive(), 0);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, kKeyA, KeyFunctionKind::Default, 0));
    host.pending = false;
    // A profile button then checks no button.
    testing::FailRequest(*sim, SimFault::Status, sim->RequestCount() + 2);
    EXPECT_EQ(SwitchForProfileButton(2), -1);
    EXPECT_EQ(KeyboardActive(), 0);
}

TEST_F(ProfileSwitchTest, FollowingAResetSwitchesWithoutAskingOnceInstalled) {
    InstallProfileSwitching();
    ASSERT_EQ(SetActiveProfile(0), 1);
    ChangeKeyA(1);
    prompt.answer = IDNO;
    {
        CCompositeOpenScope keyDialog; // the reset comes whatever is open
        EXPECT_EQ(SelectProfileWithoutAsking(2), 1);
    }
    WaitForBusyIndicator();
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(host.pending.load());
    EXPECT_TRUE(FileHasKeyAChanged(0, 1));
    // No reload: the working copy keeps what the reset left in every block.
    EXPECT_TRUE(KeyAChanged(1));
    EXPECT_EQ(KeyboardActive(), 2);
}

// ------------------------------------------------------------------- flip

TEST_F(ProfileSwitchTest, FlipTogglesIsKeptAndAnyOtherStoredValueCountsAsSet) {
    EXPECT_EQ(ReadFlip(), 0);
    EXPECT_EQ(ToggleFlip(), 1);
    EXPECT_EQ(GetProfileString(kFlipSection, kFlipValueName, ""), "1");
    EXPECT_EQ(ToggleFlip(), 0);
    EXPECT_EQ(GetProfileString(kFlipSection, kFlipValueName, ""), "0");
    ASSERT_TRUE(WriteProfileString(kFlipSection, kFlipValueName, "7"));
    EXPECT_NE(ReadFlip(), 0);
    EXPECT_EQ(ToggleFlip(), 0);
    EXPECT_EQ(GetProfileString(kFlipSection, kFlipValueName, ""), "0");

    // A store that cannot be written: the window still flips, and the user
    // learns where the setting was lost and why.
    std::filesystem::remove(RegistryStorePath());
    std::filesystem::create_directory(RegistryStorePath());
    prompt.shown.clear();
    EXPECT_EQ(ToggleFlip(), 1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(RegistryStorePath()), std::string::npos) << prompt.shown[0];
    EXPECT_NE(prompt.shown[0].find("Is a directory"), std::string::npos) << prompt.shown[0];
}

// ---------------------------------------------------- backup and restore

TEST_F(ProfileSwitchTest, ExportWritesAFileThatValidatesCancelWritesNothingAndAFailureSaysWhere) {
    ChangeKeyA(2);
    const std::string out = home.Dir().File("backup.fwc");
    const std::string unwritable = home.Dir().File("no-such-folder/backup.fwc");
    prompt.files = {std::nullopt, out, unwritable};
    EXPECT_EQ(ExportProfileCommand(), 0);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(ExportProfileCommand(), 1);
    EXPECT_EQ(ValidateProfileFile(out), kProfileValid);
    CConfigStore copy;
    ASSERT_EQ(LoadProfileFile(out, copy), 1);
    EXPECT_TRUE(copy.Record(2, kKeyA).Is(KeyFunctionKind::Disabled));
    EXPECT_EQ(prompt.dialogExtensions, (std::vector<std::string>{"fwc", "fwc"}));
    EXPECT_TRUE(prompt.shown.empty());

    EXPECT_EQ(ExportProfileCommand(), 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(unwritable), std::string::npos);
}

TEST_F(ProfileSwitchTest, BackupAndRestoreStartInTheFolderEachLastUsedAtFirstTheHomeFolder) {
    testing::CScopedEnv homeFolder("HOME", home.Dir().Path());
    std::filesystem::create_directories(home.Dir().File("backups"));
    std::filesystem::create_directories(home.Dir().File("downloads"));
    const std::string backup = home.Dir().File("backups/mine.fwc");
    prompt.files = {backup, std::nullopt, home.Dir().File("downloads/gone.fwc"), std::nullopt, std::nullopt};
    EXPECT_EQ(ExportProfileCommand(), 1);
    EXPECT_EQ(ExportProfileCommand(), 0);
    ImportProfileCommand(); // a file that is not there: still its folder
    ImportProfileCommand();
    std::filesystem::remove_all(home.Dir().File("backups"));
    ExportProfileCommand(); // the remembered folder went away
    const std::string h = home.Dir().Path();
    EXPECT_EQ(prompt.dialogStarts, (std::vector<std::string>{h + "/*.fwc", h + "/backups/*.fwc", h + "/*.fwc",
                                                             h + "/downloads/*.fwc", h + "/*.fwc"}));
}

TEST_F(ProfileSwitchTest, ADamagedImportChangesNothing) {
    ChangeKeyA(0);
    const std::string bad = home.Dir().File("bad.fwc");
    ASSERT_EQ(CreateBlankProfile(&bad, 0), 1);
    {
        std::fstream f(bad, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(31);
        f.put(0x5A); // checksum off
    }
    const std::string savedBefore = testing::ReadText(WorkingProfilePath(0));
    prompt.files = {bad};
    TakeRequests();
    EXPECT_EQ(ImportProfileCommand(), 0);
    // One message, and it says why.
    EXPECT_EQ(prompt.shown, (std::vector<std::string>{FormatTextString(Text("PROFILE_FORMAT_ERROR"), bad)}));
    EXPECT_TRUE(KeyAChanged(0));
    EXPECT_TRUE(host.pending.load());
    EXPECT_FALSE(WroteAnything());
    EXPECT_EQ(testing::ReadText(WorkingProfilePath(0)), savedBefore);

    prompt.shown.clear();
    prompt.files = {std::nullopt};
    EXPECT_EQ(ImportProfileCommand(), 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ProfileSwitchTest, AGoodImportBecomesTheWorkingCopyAndIsSent) {
    ChangeKeyA(1);
    const std::string good = home.Dir().File("good.fwc");
    ASSERT_EQ(SaveProfileFile(good), 1);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(1, kKeyA, KeyFunctionKind::Default, 0));
    prompt.files = {good};
    TakeRequests();
    EXPECT_EQ(ImportProfileCommand(), 1);
    WaitForBusyIndicator();
    EXPECT_TRUE(KeyAChanged(1));
    EXPECT_FALSE(host.pending.load());
    EXPECT_TRUE(WroteAnything());
}

} // namespace
} // namespace orvane::test
