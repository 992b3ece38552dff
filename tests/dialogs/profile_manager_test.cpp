// The profile manager dialog and the profile menu, laid out from the shipped
// profile skin, against the simulated keyboard.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "device/DeviceCommands.h"
#include "dialogs/COrvane_DlgProfile.h"
#include "dialogs/EditorOpenCounts.h"
#include "dialogs/ProfileMenu.h"
#include "dialogs/ProfileNames.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "platform/Registry.h"
#include "services/Language.h"
#include "support/ProfileTestSupport.h"
#include "support/SimFaultCases.h"
#include "support/TestApp.h"
#include "transfer/BusyIndicator.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"

namespace orvane::test {
namespace {

class ProfileManagerTest : public ProfileTest {
  protected:
    void SetUp() override {
        orvane::testing::TestApp();
        ASSERT_NO_FATAL_FAILURE(ProfileTest::SetUp());
        const std::string shipped = std::string(ORVANE_BIN_DIR) + "/Skins/";
        for (const char* file : {"Profile.ini", "Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg",
                                 "profile_bg.jpg", "profile_mask.bmp"})
            std::filesystem::copy_file(shipped + file, ProgramFolder() + "/Skins/" + file);
    }
    void Click(COrvane_DlgProfile& dlg, int id) {
        CPngButton* button = dlg.Button(id);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    }
};

TEST_F(ProfileManagerTest, OpensWithTheThreeProfilesAndTheActiveOneMarked) {
    ASSERT_EQ(SetActiveProfile(1), 1);
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(ProfileManagerOpenCount(), 1);
    CReportCtrl& list = dlg.List();
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.horizontalHeaderItem(column)->text().toStdString(),
                  (std::array{"Active", "Name", "Folder"}[column]));
    ASSERT_EQ(list.GetItemCount(), 3);
    const QString folder = QString::fromStdString(UserFolder() + "/");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.GetItemText(row, 1), QString("Profile %1").arg(row + 1));
        EXPECT_EQ(list.GetItemText(row, 2), folder);
        EXPECT_EQ(list.GetItemText(row, 0).isEmpty(), row != 1) << row;
    }
    EXPECT_EQ(dlg.ActiveRow(), 1);
    // Placed from the skin; Apply waits for a change; 1013 never shows.
    EXPECT_TRUE(dlg.Button(IDC_PROFILE_OK)->isEnabled());
    EXPECT_FALSE(dlg.Button(IDC_PROFILE_APPLY)->isEnabled());
    EXPECT_TRUE(dlg.Button(IDC_PROFILE_UNUSED)->isHidden());
    EXPECT_EQ(dlg.Button(IDC_PROFILE_LOAD)->TooltipText(), QString::fromStdString(Text("PROFILE_LOAD_TIP")));

    // Neither Escape nor Enter closes it; Cancel does, writing nothing.
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &press);
    }
    EXPECT_TRUE(dlg.IsOpen());
    Click(dlg, IDC_PROFILE_CANCEL);
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_EQ(ProfileManagerOpenCount(), 0);
    EXPECT_EQ(GetProfileString("PROFILES", "PROFILE00", "none"), "none");
}

TEST_F(ProfileManagerTest, ApplyWithFiveRowsRecordsEveryPathAndTheCount) {
    const std::string unwritable = home.Dir().File("no-such-folder/New.fwc");
    const std::string added = UserFolder() + "/Mine.fwc";
    const std::string loaded = home.Dir().File("elsewhere.fwc");
    prompt.files = {unwritable, added, loaded};
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    // A file Add cannot create is named to the user and not listed.
    Click(dlg, IDC_PROFILE_ADD);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(unwritable), std::string::npos) << prompt.shown[0];
    EXPECT_EQ(dlg.List().GetItemCount(), 3);
    EXPECT_FALSE(dlg.Button(IDC_PROFILE_APPLY)->isEnabled());
    Click(dlg, IDC_PROFILE_ADD);
    EXPECT_TRUE(dlg.Button(IDC_PROFILE_APPLY)->isEnabled());
    Click(dlg, IDC_PROFILE_LOAD);
    // Add makes a blank profile file; Load only lists the file.
    EXPECT_EQ(ValidateProfileFile(added), kProfileValid);
    EXPECT_FALSE(std::filesystem::exists(loaded));
    const std::string addStart = UserFolder() + "/" + Text("PROFILE_NEW");
    EXPECT_EQ(prompt.dialogStarts, (std::vector<std::string>{addStart, addStart, UserFolder() + "/*.fwc"}));
    ASSERT_EQ(dlg.List().GetItemCount(), 5);
    EXPECT_EQ(dlg.List().GetItemText(3, 1), "Mine");

    int rebuilt = 0;
    SetProfileMenuRebuild([&] { ++rebuilt; });
    Click(dlg, IDC_PROFILE_APPLY);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetProfileString("PROFILES", "PROFILE0" + std::to_string(i + 1), ""),
                  WorkingProfilePath(i));
    EXPECT_EQ(GetProfileString("PROFILES", "PROFILE04", ""), added);
    EXPECT_EQ(GetProfileString("PROFILES", "PROFILE05", ""), loaded);
    EXPECT_EQ(GetProfileString("PROFILES", "PROFILE00", ""), "5");
    EXPECT_EQ(rebuilt, 1);
    EXPECT_FALSE(dlg.ApplyPendingFlag());
    EXPECT_FALSE(dlg.Button(IDC_PROFILE_APPLY)->isEnabled());
    dlg.OnCancel();
}

TEST_F(ProfileManagerTest, TheActiveMarkFollowsItsRowNotItsPosition) {
    ASSERT_EQ(SetActiveProfile(2), 1);
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    dlg.List().SelectItem(0);
    Click(dlg, IDC_PROFILE_DELETE);
    ASSERT_EQ(dlg.List().GetItemCount(), 2);
    EXPECT_EQ(dlg.ActiveRow(), 1);
    Click(dlg, IDC_PROFILE_OK);
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_EQ(KeyboardActive(), 2);
    EXPECT_EQ(GetProfileString("PROFILES", "PROFILE00", ""), "2");
}

TEST_F(ProfileManagerTest, ChoosingAnotherRowSwitchesTheKeyboardOnApply) {
    ASSERT_EQ(SetActiveProfile(0), 1);
    prompt.files = {home.Dir().File("x.fwc")};
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    Click(dlg, IDC_PROFILE_LOAD);
    dlg.List().BeginEdit(3, 2); // a listed file is no profile of the keyboard
    EXPECT_EQ(dlg.ActiveRow(), 0);
    dlg.List().BeginEdit(2, 2);
    EXPECT_EQ(dlg.ActiveRow(), 2);
    EXPECT_FALSE(dlg.List().IsEditing());
    EXPECT_EQ(KeyboardActive(), 0); // only Apply switches
    Click(dlg, IDC_PROFILE_APPLY);
    EXPECT_EQ(KeyboardActive(), 2);
    dlg.OnCancel();
}

TEST_F(ProfileManagerTest, ApplyAsksBeforeReadingBackOverUnsentKeyChanges) {
    ASSERT_EQ(SetActiveProfile(0), 1);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    host.pending = true;
    prompt.answer = IDYES;
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    Click(dlg, IDC_PROFILE_OK);
    WaitForBusyIndicator();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], Text("PROFILE_SELECT_PROMPT"));
    // Sent before the read-back, so the keyboard hands the change back.
    EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(KeyFunctionKind::Disabled));
    EXPECT_FALSE(host.pending.load());
}

TEST_F(ProfileManagerTest, AFaultAtOkIsToldAndKeepsTheManagerOpenWithItsChanges) {
    // OK's steps with the keyboard in turn: the Apply of an unsent key
    // change (its first request), the switch's write, the first read back.
    struct Stage {
        const char* told;
        uint32_t at;
        bool keyChange;
    };
    for (const testing::SimFaultCase& fault : testing::kRequestFaults)
        for (const Stage& stage :
             {Stage{"PROFILE_APPLY_FAILED", 1, true}, Stage{"PROFILE_SWITCH_FAILED", 2, false},
              Stage{"PROFILE_READ_FAILED", 3, false}}) {
            SCOPED_TRACE(std::string(fault.name) + " " + stage.told);
            ASSERT_EQ(SetActiveProfile(0), 1);
            COrvane_DlgProfile dlg;
            ASSERT_TRUE(dlg.OnInitDialog());
            dlg.List().BeginEdit(2, 2);
            if (stage.keyChange) {
                ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
                host.pending = true;
                prompt.answer = IDYES;
            }
            const KeyFunctionTable records = g_ConfigStore.Records();
            prompt.shown.clear();
            testing::FailRequest(*sim, fault.kind, sim->RequestCount() + stage.at);
            Click(dlg, IDC_PROFILE_OK);
            WaitForBusyIndicator();
            sim->ClearFaults();
            ASSERT_FALSE(prompt.shown.empty());
            EXPECT_EQ(prompt.shown.back(), Text(stage.told));
            EXPECT_TRUE(dlg.IsOpen());
            EXPECT_TRUE(dlg.ApplyPendingFlag());
            EXPECT_TRUE(dlg.Button(IDC_PROFILE_APPLY)->isEnabled());
            EXPECT_EQ(host.pending.load(), stage.keyChange);
            EXPECT_EQ(g_ConfigStore.Records(), records);
            EXPECT_EQ(KeyboardActive(), stage.at == 3 ? 2 : 0);
            dlg.OnCancel();
            ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Default, 0));
            host.pending = false;
        }
}

TEST_F(ProfileManagerTest, ASwitchOrAGoneKeyboardReachesTheOpenManager) {
    ASSERT_EQ(SetActiveProfile(0), 1);
    prompt.files = {home.Dir().File("x.fwc")};
    COrvane_DlgProfile dlg;
    ASSERT_TRUE(dlg.OnInitDialog());
    Click(dlg, IDC_PROFILE_LOAD);
    // A switch the keyboard refused leaves the manager's choice pending.
    testing::FailRequest(*sim, SimFault::Status, sim->RequestCount() + 2);
    EXPECT_EQ(SelectProfile(2, true), 0);
    sim->ClearFaults();
    EXPECT_EQ(dlg.ActiveRow(), 0);
    EXPECT_TRUE(dlg.ApplyPendingFlag());
    prompt.shown.clear();
    // The list's own change is applied first: nothing asks or fails.
    prompt.answer = IDNO;
    EXPECT_EQ(SelectProfile(2, true), 1);
    EXPECT_EQ(dlg.ActiveRow(), 2);
    EXPECT_FALSE(dlg.ApplyPendingFlag());
    EXPECT_TRUE(prompt.shown.empty());
    dlg.CancelIfOpen();
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_EQ(OpenProfileManager(), nullptr);
    dlg.CancelIfOpen(); // a second cancel is harmless
    EXPECT_EQ(ProfileManagerOpenCount(), 0);
}

TEST_F(ProfileManagerTest, RenamedProfilesShowInTheListMenuButtonAndTrayTipAndAreStored) {
    ASSERT_EQ(SetActiveProfile(1), 1);
    auto rename = [](COrvane_DlgProfile& dlg, int row, const char* typed) {
        dlg.List().BeginEdit(row, 1);
        ASSERT_TRUE(dlg.List().IsEditing()) << "the name of an on-board profile opens for editing";
        dlg.List().EditBox()->setText(QString::fromUtf8(typed));
        dlg.List().EndEdit(true);
    };
    {
        COrvane_DlgProfile dlg;
        ASSERT_TRUE(dlg.OnInitDialog());
        dlg.show(); // cell editors only work on a shown list
        rename(dlg, 1, "  Gaming\n");
        rename(dlg, 2, "   "); // an emptied name is the default one again
        EXPECT_EQ(dlg.List().GetItemText(1, 1), "Gaming");
        EXPECT_EQ(dlg.List().GetItemText(2, 1), "Profile 3");
        EXPECT_EQ(dlg.ActiveRow(), 1) << "renaming chooses no profile";
        Click(dlg, IDC_PROFILE_OK);
    }
    EXPECT_EQ(GetProfileString("PROFILES", "NAME2", ""), "Gaming");
    EXPECT_TRUE(std::filesystem::exists(WorkingProfilePath(1))) << "the working file keeps its name";
    {
        COrvane_DlgProfile dlg;
        ASSERT_TRUE(dlg.OnInitDialog());
        dlg.show();
        EXPECT_EQ(dlg.List().GetItemText(1, 1), "Gaming");
        rename(dlg, 0, "Not kept");
        dlg.OnCancel();
    }
    EXPECT_EQ(ProfileName(0), "Profile 1");

    CPngButton button(nullptr, 1005);
    QMenu menu;
    const ProfileMenuModel shown = BuildProfileMenu(button, &menu);
    EXPECT_EQ(button.text(), "Gaming");
    EXPECT_EQ(button.TooltipText().toStdString(), Text("PROFILE_TIP") + "Gaming");
    ASSERT_EQ(menu.actions().size(), 5);
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    EXPECT_EQ(menu.actions()[3]->text(), "Gaming");
    EXPECT_TRUE(menu.actions()[3]->isChecked());
    EXPECT_EQ(menu.actions()[4]->data().toInt(), 9003);
    EXPECT_EQ(shown.trayTip, Text("KEYBOARD_TRAY_DESC") + "\n" + Text("PROFILE_TIP") + "Gaming");
    // Not known: the first is checked, and the button and the tip name none.
    const ProfileMenuModel unknown = MakeProfileMenu(-1);
    EXPECT_TRUE(unknown.items[0].checked);
    EXPECT_EQ(unknown.caption, Text("DEFAULT_PROFILE_NAME"));
    EXPECT_EQ(unknown.trayTip, Text("KEYBOARD_TRAY_DESC"));
    // A long name is cut whole characters at a time.
    EXPECT_EQ(CleanProfileName(std::string(39, 'x') + "\u00e9\u00e9"), std::string(39, 'x') + "\u00e9");
}

} // namespace
} // namespace orvane::test
