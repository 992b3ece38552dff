// The main window on its own, without the keyboard picture and the lighting
// panel: its buttons against the skin, its texts, the keys it swallows, OK,
// Cancel, the clock-change Apply, the About box, the tray and the shutdown,
// and an Apply that keeps the window painting while the keyboard is slow.
#include "mainwnd/COrvaneDlg.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <set>
#include <utility>

#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/HidBackend.h"
#include "device/ReportExchange.h"
#include "dialogs/COrvane_DlgProfile.h"
#include "dialogs/FlipSetting.h"
#include "dialogs/ProfileNames.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/KeyboardView.h"
#include "mainwnd/MainTrayIcon.h"
#include "mainwnd/MainWindowButtonTable.h"
#include "mainwnd/MainWindowIds.h"
#include "mainwnd/QtPrompt.h"
#include "mainwnd/support/WindowTestDoubles.h"
#include "model/ConfigStore.h"
#include "model/LightingModel.h"
#include "model/PreviewLights.h"
#include "model/ProfileFile.h"
#include "platform/Paths.h"
#include "services/Language.h"
#include "services/MainWindowLink.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "sim/SimFaults.h"
#include "sim/SimKeyboard.h"
#include "support/SimFaultCases.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "transfer/ActiveProfile.h"
#include "transfer/BusyIndicator.h"
#include "transfer/DeviceInfo.h"
#include "transfer/KeyboardBackup.h"
#include "ui/ControlMessages.h"
#include "ui/DesktopOpen.h"
#include "ui/FadingNote.h"
#include "ui/HyperLink.h"
#include "ui/KeyFocusGroup.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"

using namespace orvane;

namespace {

using orvane::testing::CAloneSystem;
using CScriptedPrompt = orvane::testing::CRecordingPrompt;

void Pump(int ms = 0) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::vector<CAboutDlg*> AboutBoxes() {
    std::vector<CAboutDlg*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<CAboutDlg*>(w); box && !box->IsClosed()) boxes.push_back(box);
    return boxes;
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        orvane::testing::TestApp();
        ASSERT_TRUE(BuildPathTable(std::string(ORVANE_BIN_DIR) + "/orvane"));
        ASSERT_TRUE(FileExists(Paths().MainSkinFile)) << "build the skins first";
        window.emplace(std::vector<std::string>{"/Start"}, system);
        ASSERT_FALSE(window->EndProcessRequested());
        ASSERT_TRUE(window->OnInitDialog());
        window->SetKeyboardPresence([this] { return keyboard; });
        window->Tray()->SetStatusNotifierForTests(0);
        SetPrompt(&prompt);
        Pump(); // UM_INIT
    }
    void TearDown() override {
        if (!window) return;
        window->CloseProgram();
        WaitForBusyIndicator();
        window.reset();
        Pump();
    }
    // The simulated keyboard as the connection monitor leaves it.
    static void Connect(CSimKeyboard& sim) {
        SetHidBackend(&sim);
        ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
        g_DeviceOpen.store(1);
        ASSERT_EQ(ReadConnectionInfo(), DEV_OK);
    }
    static void Disconnect() {
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetHidBackend(nullptr);
    }
    void Key(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }

    orvane::testing::CTempHome home;
    CAloneSystem system;
    CScriptedPrompt prompt;
    bool keyboard = true;
    std::optional<COrvaneDlg> window;
};

TEST_F(MainWindow, EveryOwnControlSitsOnItsSkinRectangleWithItsFaces) {
    const std::string& skin = Paths().MainSkinFile;
    auto check = [&](const MainButtonInfo& info) {
        CPngButton* button = window->Button(info.id);
        ASSERT_NE(button, nullptr) << info.id;
        EXPECT_EQ(ControlIdOf(button), info.id);
        const SkinRect r = ReadSkinRect(skin, kSectionButtons, info.skinKey);
        EXPECT_FALSE(r.IsUnplaced()) << info.skinKey << " is missing from the shipped skin";
        EXPECT_EQ(button->geometry(), QRect(r.x, r.y, r.w, r.h)) << info.skinKey;
        EXPECT_EQ(button->Source(), QPoint(r.x, r.y)) << info.skinKey;
        EXPECT_NE(button->Face(FACE_NORMAL), nullptr) << info.skinKey;
    };
    for (const MainButtonInfo& info : MainWindowButtons())
        check(info);
    for (const MainButtonInfo& info : MainWindowLinkButtons())
        check(info);

    // The arrows take their faces from the arrow picture at the flip's origin.
    const SkinRect left = ReadSkinRect(skin, kSectionButtons, "LEFT_ARROW");
    const SkinRect leftFace = ReadSkinRect(skin, kSectionFaceOrigins, "DOWN_ARROW_LEFT1");
    EXPECT_EQ(window->Button(IDC_LEFT_ARROW)->geometry(), QRect(left.x, left.y, left.w, left.h));
    EXPECT_EQ(window->Button(IDC_LEFT_ARROW)->Source(), QPoint(leftFace.x, leftFace.y));
    EXPECT_NE(window->Button(IDC_RIGHT_ARROW), nullptr);

    // Apply: its own disabled face, and disabled while nothing is pending.
    EXPECT_NE(window->Button(IDC_APPLY)->Face(FACE_DISABLED), window->Button(IDC_APPLY)->Face(FACE_NORMAL));
    EXPECT_FALSE(window->Button(IDC_APPLY)->isEnabled());
    window->SetApplyPending(true);
    EXPECT_TRUE(window->Button(IDC_APPLY)->isEnabled());
    window->SetApplyPending(false);

    // The controls that are there but never seen.
    EXPECT_TRUE(window->Button(IDC_SWITCH)->isHidden());
    EXPECT_TRUE(window->HiddenButton(IDC_HIDDEN_1)->isHidden());
    EXPECT_TRUE(window->HiddenButton(IDC_HIDDEN_2)->isHidden());
    EXPECT_FALSE(window->Button(IDC_VERSION)->isEnabled());
    EXPECT_TRUE(window->Button(IDC_VERSION)->text().isEmpty());
}

TEST_F(MainWindow, TextsComeFromTheLanguageFileAndOnlyATaggedLangReplacesThem) {
    const int lang = CurrentLanguageIndex();
    auto text = [&](const char* key) { return QString::fromStdString(LoadText(key, lang)); };
    EXPECT_EQ(window->windowTitle(), text("MAIN_CAPTION"));
    for (const MainButtonInfo& info : MainWindowButtons()) {
        if (info.captionKey) {
            EXPECT_EQ(window->Button(info.id)->text(), text(info.captionKey)) << info.skinKey;
        }
    }
    EXPECT_EQ(window->Button(IDC_HELP)->TooltipText(), text("MAIN_HELP_PROMPT"));
    EXPECT_EQ(window->Button(IDC_CLOSE)->TooltipText(), text("MAIN_CLOSE_PROMPT"));
    EXPECT_EQ(window->Button(IDC_MINIMISE)->TooltipText(), text("MAIN_MINIMIZE_PROMPT"));
    EXPECT_EQ(window->Button(IDC_MENU)->TooltipText(), text("MAIN_MENU_PROMPT"));
    EXPECT_EQ(window->Button(IDC_WEB_ADDRESS)->TooltipText(), window->WebAddress());
    EXPECT_FALSE(window->WebAddress().isEmpty());
    EXPECT_EQ(window->Tray()->Tip(), text("KEYBOARD_TRAY_DESC"));
    EXPECT_EQ(QtFileFilter(ProfileFileFilter()), "Profile files (*.fwc);;All files (*.*)");
    // 1005 names the keyboard's profile in use; none is known yet.
    EXPECT_EQ(window->Button(IDC_PROFILE_MANAGER)->text(), text("DEFAULT_PROFILE_NAME"));

    window->Button(IDC_OK)->setText("changed");
    window->Bridge().SendMessage(UM_LANG, TAG_OPEN, lang); // another tag: nothing
    EXPECT_EQ(window->Button(IDC_OK)->text(), "changed");
    window->Bridge().SendMessage(UM_LANG, TAG_LANG, lang);
    EXPECT_EQ(window->Button(IDC_OK)->text(), text("PROFILE_OK"));

    // The tray menu's texts are set each time it is about to show.
    QMenu& menu = window->Tray()->Menu();
    for (QAction* a : menu.actions())
        a->setText("stale");
    window->Tray()->PrepareMenu();
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0]->text(), text("MENU_11"));
    EXPECT_EQ(menu.actions()[1]->text(), text("MENU_22"));
    EXPECT_EQ(menu.actions()[2]->text(), text("MENU_33"));
}

TEST_F(MainWindow, EnterEscapeAndArrowsOnTheModeListChangeNothing) {
    // Stand-ins for the lighting panel's mode list and another list.
    auto* modes = new QComboBox(window.operator->());
    SetControlId(modes, IDC_MODE_LIST);
    modes->addItems({"1", "2", "3"});
    modes->setCurrentIndex(1);
    auto* other = new QComboBox(window.operator->());
    other->addItems({"a", "b", "c"});
    other->setCurrentIndex(1);
    window->ShowMainWindow();
    ASSERT_TRUE(window->isVisible());

    modes->setFocus();
    for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Enter,
                    Qt::Key_Escape})
        Key(modes, key);
    EXPECT_EQ(modes->currentIndex(), 1);
    EXPECT_TRUE(window->isVisible());

    window->Button(IDC_OK)->setFocus();
    Key(window->Button(IDC_OK), Qt::Key_Return);
    Key(window.operator->(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->AppliesStarted(), 0);

    // Elsewhere the arrows keep their meaning.
    other->setFocus();
    Key(other, Qt::Key_Down);
    EXPECT_EQ(other->currentIndex(), 2);
}

TEST_F(MainWindow, OkAppliesAndHidesCancelOnlyHidesAClockChangeApplies) {
    window->ShowMainWindow();
    window->OnCommand(IDC_CANCEL);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->AppliesStarted(), 0);

    window->ShowMainWindow();
    window->OnCommand(IDC_OK);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->AppliesStarted(), 1);

    window->Bridge().PostMessage(WM_TIMECHANGE, 0, 0);
    Pump();
    EXPECT_EQ(window->AppliesStarted(), 2);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindow, WithoutAKeyboardOpenOnlySaysSoAndTheTrayFollowsTheKeyboard) {
    keyboard = false;
    window->Tray()->OnActivated(QSystemTrayIcon::DoubleClick);
    window->OnCommand(ID_TRAY_OPEN);
    window->Bridge().SendMessage(UM_OPEN, TAG_OPEN, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompt.shown,
              std::vector<std::string>(3, LoadText("MAIN_NO_DEVICE_PROMPT", CurrentLanguageIndex())));

    keyboard = true;
    window->Tray()->OnActivated(QSystemTrayIcon::Trigger); // a single click: nothing
    EXPECT_FALSE(window->isVisible());
    window->Tray()->SetStatusNotifierForTests(1); // where a click is all there is, it opens
    window->Tray()->OnActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window->isVisible());

    EXPECT_EQ(window->TrayIconId(), ICON_NO_KEYBOARD);
    for (int icon : {ICON_CONNECTED, ICON_KEYBOARD_SIGNAL, ICON_CONNECTED}) {
        GetMainWindowLink()->SetTrayIcon(icon);
        Pump();
        EXPECT_EQ(window->TrayIconId(), icon);
        EXPECT_EQ(window->Tray()->IconId(), icon);
    }
}

// A second start while the keyboard's configuration is still being read
// (the keyboard is there, not yet counted as connected): the window opens
// once it is read, and nobody is told there is no keyboard.
TEST_F(MainWindow, OpenAskedWhileTheKeyboardIsReadShowsTheWindowAfterwards) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    keyboard = false;
    // Handled from inside the reading's own loop.
    window->Bridge().PostMessage(UM_OPEN, TAG_OPEN, 0);
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front();
    EXPECT_TRUE(window->isVisible());

    // Gone while it was read: nothing opens.
    window->HideMainWindow();
    window->Bridge().PostMessage(UM_OPEN, TAG_OPEN, 0);
    window->Bridge().PostMessage(UM_DEVICE_GONE, 0, 0);
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    Pump();
    EXPECT_FALSE(window->isVisible());
    Disconnect();
}

TEST_F(MainWindow, ARightClickOnTheWindowOffersAbout) {
    window->ShowMainWindow();
    QString offered;
    // The menu runs its own loop: it is answered from inside it.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || menu->actions().isEmpty()) return;
        offered = menu->actions()[0]->text();
        menu->setActiveAction(menu->actions()[0]);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint inside(5, 5);
    QContextMenuEvent click(QContextMenuEvent::Mouse, inside, window->mapToGlobal(inside));
    QApplication::sendEvent(&*window, &click);
    EXPECT_EQ(offered.toStdString(), Text("MENU_22"));
    EXPECT_EQ(AboutBoxes().size(), 1u);
}

TEST_F(MainWindow, WithNothingOnPathHelpAndEveryLinkSayWhatIsMissing) {
    orvane::testing::CScopedEnv path("PATH", std::string()), browser("BROWSER", std::nullopt);
    window->ShowMainWindow();
    window->OnCommand(IDC_HELP);
    Key(&*window, Qt::Key_F1);
    window->OnCommand(IDC_WEB_ADDRESS);
    window->OnCommand(ID_TRAY_ABOUT);
    ASSERT_EQ(AboutBoxes().size(), 1u);
    AboutBoxes()[0]->Link().Open();
    const std::string help = FormatTextString(Text("HELP_OPEN_FAILED"), HelpPagePath().toStdString());
    const std::string link = FormatTextString(Text("LINK_OPEN_FAILED"), window->WebAddress().toStdString());
    EXPECT_EQ(prompt.shown, (std::vector<std::string>{help, help, link, link}));
    EXPECT_NE(help.find("xdg-open"), std::string::npos);
    // No link of the window points at a site the program does not have.
    for (int id : {IDC_LINK_SITE, IDC_LINK_FACEBOOK, IDC_LINK_TWITTER})
        EXPECT_FALSE(window->Button(id)->isVisible()) << id;
}

TEST_F(MainWindow, AboutTwiceLeavesOneBoxAndTheShutdownClosesItFirst) {
    window->OnCommand(ID_TRAY_ABOUT);
    window->OnCommand(ID_TRAY_ABOUT);
    ASSERT_EQ(AboutBoxes().size(), 1u);
    CAboutDlg* box = AboutBoxes()[0];
    const int lang = CurrentLanguageIndex();
    EXPECT_EQ(box->windowTitle().toStdString(), LoadText("LANG_ABOUT_TITLE", lang));
    EXPECT_EQ(box->Description().text().toStdString(), LoadText("GUANYU_JIESHAO", lang));
    EXPECT_EQ(box->OkButton().text().toStdString(), LoadText("LANG_ABOUT_OK", lang));

    // OK closes it; the next About makes a new one.
    box->OkButton().click();
    EXPECT_TRUE(AboutBoxes().empty());
    window->OnCommand(ID_TRAY_ABOUT);
    ASSERT_EQ(AboutBoxes().size(), 1u);

    // A keyboard that goes away closes it too.
    window->Bridge().SendMessage(UM_DEVICE_GONE, 0, 0);
    EXPECT_TRUE(AboutBoxes().empty());

    window->OnCommand(ID_TRAY_ABOUT);
    bool openAtTrayRemoval = true;
    QObject::connect(window->AboutBox(), &CAboutDlg::Closed,
                     [&] { openAtTrayRemoval = window->Tray()->Shown(); });
    window->OnCommand(IDC_CLOSE);
    EXPECT_TRUE(openAtTrayRemoval) << "the box closes before the tray icon goes";
    EXPECT_TRUE(AboutBoxes().empty());
    EXPECT_TRUE(window->ShutdownDone());
    EXPECT_FALSE(window->Tray()->Shown());
    EXPECT_EQ(window->TrayIconId(), 0);
    EXPECT_FALSE(InstanceMutex().HasHandle());
}

// Calls `seen` for every paint event of the object it watches.
class CPaintWatch final : public QObject {
  public:
    explicit CPaintWatch(std::function<void()> seen) : m_seen(std::move(seen)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_seen();
        return false;
    }

  private:
    std::function<void()> m_seen;
};

TEST_F(MainWindow, ASlowApplyKeepsTheWindowPaintingThroughAResetWhichFollowsOnceItIsDone) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    // The first request of the send goes unanswered three times: the
    // exchange waits out its read time before each retry. Long enough to
    // outlast a pause of the GUI thread (the thread sanitizer stops it for a
    // while the first time it reads its debug information).
    ASSERT_GE(GetActiveProfile(), 0); // known: the send is the first to talk
    const uint32_t next = sim.RequestCount() + 1;
    const uint32_t answered = next + 3; // the fourth try of that request
    sim.AddFault({SimFault::NoReply, next, next + 2, 0});
    sim.SetPacing(true);
    window->ShowMainWindow();
    ASSERT_TRUE(window->isVisible());

    // The keyboard reports its reset as soon as the busy picture shows, while
    // its first request is unanswered.
    std::vector<int> frames;
    bool resetReported = false;
    window->Parts().busyPicture = [&](int frame) {
        frames.push_back(frame);
        if (!std::exchange(resetReported, true)) window->Bridge().SetTimer(KEYBOARD_RESET_TIMER, 0);
    };
    // A paint draws what the working copy holds for a key, and counts when
    // it is done while the keyboard still has not answered.
    int paintsWhileSilent = 0;
    CPaintWatch paints([&] {
        g_ConfigStore.Record(0, 0x1E);
        const uint32_t seen = sim.RequestCount();
        paintsWhileSilent += resetReported && seen >= next && seen < answered;
    });
    window->installEventFilter(&paints);
    int refreshes = 0;
    window->Parts().refreshPanel = [&] { ++refreshes; };
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        window->update();
    });
    tick.start(10);
    window->SetApplyPending(true);
    window->OnCommand(IDC_APPLY);
    const std::vector<int> during = frames;
    tick.stop();
    window->removeEventFilter(&paints);

    EXPECT_GT(ticks, 5) << "the window's own timers ran while the keyboard was written";
    EXPECT_GT(paintsWhileSilent, 1) << "the window painted while the keyboard kept it waiting";
    ASSERT_GE(during.size(), 3u);
    EXPECT_EQ(during[0], 0);
    EXPECT_NE(during[1], during[2]);
    EXPECT_GT(sim.RequestCount(), next) << "the Apply went on after the lost reply";
    EXPECT_EQ(refreshes, 0) << "the reset waits for the Apply's end";

    ASSERT_TRUE(QTest::qWaitFor([&] { return refreshes == 1; }, 20000)) << "then it is followed";
    WaitForBusyIndicator();
    Pump(50);
    EXPECT_EQ(window->BusyFrame(), -1) << "the picture is hidden once the Apply is done";

    Disconnect();
}

TEST_F(MainWindow, AnExitDuringASlowApplyEndsTheProgramOnceTheApplyIsDone) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    const uint32_t next = sim.RequestCount() + 1;
    sim.AddFault({SimFault::NoReply, next, next + 2, 0});

    // A logout arrives while the keyboard has not answered yet.
    QTimer::singleShot(150, [&] { window->Bridge().PostMessage(UM_KILL, TAG_KILL, 0); });
    bool shutDownDuringApply = false;
    window->Parts().busyPicture = [&](int) { shutDownDuringApply |= window->ShutdownDone(); };
    window->SetApplyPending(true);
    window->OnCommand(IDC_APPLY);

    EXPECT_FALSE(shutDownDuringApply);
    EXPECT_TRUE(window->ShutdownDone());
    EXPECT_GT(sim.RequestCount(), next) << "the Apply ran to its end";

    Disconnect();
}

} // namespace

// ------------------------------------------- the keyboard coming and going

namespace {
constexpr int kKeyA = 0x1E;

bool ProfileButtonsCheck(COrvaneDlg& window, int profile) {
    for (int p = 0; p < 3; ++p)
        if (window.Button(IDC_PROFILE_1 + p)->IsChecked() != (p == profile)) return false;
    return true;
}

CPngButton* PictureButton(COrvaneDlg& window, int id) {
    for (auto* b : window.findChildren<CPngButton*>())
        if (ControlIdOf(b) == id) return b;
    return nullptr;
}
} // namespace

TEST_F(MainWindow, AConnectionLoadsTheKeyboardsProfileAndChecksOnlyItsButton) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    ASSERT_EQ(SetActiveProfile(2), 1);
    SetActiveProfileCache(-1);
    window->Bridge().SendMessage(UM_PROFILE, 0, 0); // without its tag: nothing
    EXPECT_TRUE(ProfileButtonsCheck(*window, -1));

    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    Pump();
    EXPECT_TRUE(ProfileButtonsCheck(*window, 2));
    EXPECT_EQ(GetCurrentProfile(), 2);
    EXPECT_FALSE(window->ApplyPending()) << "the working copy is what the keyboard holds";
    CConfigStore saved;
    EXPECT_EQ(LoadProfileFile(WorkingProfilePath(2), saved), 1);
    EXPECT_FALSE(window->isVisible()) << "a connection reloads without showing the window";

    // Each connection links the paint flags anew, whatever a flag held.
    ASSERT_TRUE(DeviceOffersMode(kMaxLightingMode));
    CLightingModel& lighting = TheLighting();
    const KeyButton q = KeyButtonAt(0);
    const int linked =
        lighting.KeyColour(1, CLightingModel::LedOfButton(q)) == lighting.LinkedPaintColour() ? 1 : 0;
    lighting.SetPaintFlag(1, q, 1 - linked);
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    EXPECT_EQ(lighting.PaintFlag(1, q), linked);
    Disconnect();
}

TEST_F(MainWindow, AReconnectionKeepsUnsentChangesAndSaysWhenTheKeyboardCannotBeRead) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    ASSERT_TRUE(prompt.shown.empty());
    const int active = GetActiveProfile();
    // A change not sent yet when the cable was pulled; meanwhile the
    // keyboard itself was given B for A.
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(active, kKeyA, KeyFunctionKind::Disabled, 0));
    window->SetApplyPending(true);
    sim.WithFirmware([active](CSimFirmware& f) {
        const uint8_t b[] = {0x02, 0x02, 0x05};
        std::copy(std::begin(b), std::end(b), f.Matrices.begin() + active * 512 + 19 * 3);
    });
    const KeyFunctionTable records = g_ConfigStore.Records();
    const std::string file = orvane::testing::ReadText(WorkingProfilePath(active));
    const std::string backup = KeyboardBackupPath(active);

    std::vector<std::optional<SimFault::Kind>> faults = {std::nullopt};
    for (const orvane::testing::SimFaultCase& fault : orvane::testing::kRequestFaults)
        faults.push_back(fault.kind);
    for (const std::optional<SimFault::Kind>& fault : faults) {
        SCOPED_TRACE(fault ? static_cast<int>(*fault) : -1);
        prompt.shown.clear();
        std::filesystem::remove(backup);
        SetActiveProfileCache(-1); // as after a reconnection
        if (fault) orvane::testing::FailRequest(sim, *fault, sim.RequestCount() + 1);
        window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
        sim.ClearFaults();
        EXPECT_EQ(g_ConfigStore.Records(), records);
        EXPECT_EQ(orvane::testing::ReadText(WorkingProfilePath(active)), file);
        EXPECT_TRUE(window->ApplyPending());
        EXPECT_TRUE(window->Button(IDC_APPLY)->isEnabled());
        CConfigStore kept;
        if (fault) {
            EXPECT_EQ(prompt.shown, std::vector<std::string>{Text("PROFILE_READ_FAILED")});
            EXPECT_FALSE(std::filesystem::exists(backup));
        } else {
            EXPECT_TRUE(prompt.shown.empty());
            ASSERT_EQ(LoadProfileFile(backup, kept), 1);
            EXPECT_TRUE(kept.Record(active, kKeyA).Is(KeyFunctionKind::Key));
            EXPECT_EQ(kept.Record(active, kKeyA).value, 0x30);
        }
    }
    Disconnect();
}

TEST_F(MainWindow, TheProfilesButtonAndTheTrayTipNameTheProfileInUseWhole) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    ASSERT_EQ(SetActiveProfile(2), 1);
    ASSERT_TRUE(SetProfileName(2, "Racing"));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    Pump();
    CPngButton* button = window->Button(IDC_PROFILE_MANAGER);
    EXPECT_EQ(button->text(), "Racing");
    EXPECT_EQ(window->Tray()->Tip().toStdString(),
              Text("KEYBOARD_TRAY_DESC") + "\n" + Text("PROFILE_TIP") + "Racing");

    // The caption's ink, as the difference to the button drawn without it:
    // one level line, clear of every edge.
    const QImage with = button->grab().toImage();
    button->setText(QString());
    const QImage without = button->grab().toImage();
    button->setText("Racing");
    ASSERT_EQ(with.size(), without.size());
    QRect ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.top(), 0);
    EXPECT_GT(ink.left(), 0);
    EXPECT_LT(ink.bottom(), with.height() - 1);
    EXPECT_LT(ink.right(), with.width() - 1);
    EXPECT_LT(ink.height(), with.height() / 2) << "a level caption, not a tilted one";
    Disconnect();
}

TEST_F(MainWindow, ChangedLightingAndAResetAreReadBackOnceEach) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    int refreshes = 0;
    window->Parts().refreshPanel = [&] { ++refreshes; };

    // The keyboard's own keys changed the mode of the current profile.
    const uint8_t mode = 5;
    ASSERT_EQ(DevWriteLighting(std::span(&mode, 1),
                               static_cast<uint16_t>(GetCurrentProfile() * kLightingRecordSize)),
              DEV_OK);
    // The keyboard leaves the first request of the read unanswered once; the
    // window's own timers keep running while it waits.
    const uint32_t first = sim.RequestCount() + 1;
    sim.AddFault({SimFault::NoReply, first, first, 0});
    int ticksWhileRead = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (sim.RequestCount() >= first && refreshes == 0) ++ticksWhileRead;
    });
    tick.start(10);
    window->Bridge().SetTimer(LIGHTING_CHANGED_TIMER, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return refreshes > 0; }, 30000));
    tick.stop();
    sim.ClearFaults();
    EXPECT_GT(ticksWhileRead, 0) << "the window answered while the keyboard was read";
    EXPECT_EQ(TheLighting().Settings().mode, mode);
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(window->Bridge().TimerActive(LIGHTING_CHANGED_TIMER));

    // A reset drops the assignments of every profile in the working copy
    // too, and what is left is sent: nothing stays pending.
    for (int p = 0; p < 3; ++p)
        ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(p, kKeyA, KeyFunctionKind::Disabled, 0));
    window->SetApplyPending(true);
    // The reset is followed on a transfer's worker; the profiles button it
    // rebuilds is a widget all the same.
    std::vector<QThread*> menuBuiltOn;
    SetProfileMenuRebuild([&] { menuBuiltOn.push_back(QThread::currentThread()); });
    window->Bridge().SetTimer(KEYBOARD_RESET_TIMER, 0);
    Pump(30);
    ASSERT_FALSE(menuBuiltOn.empty());
    for (QThread* thread : menuBuiltOn)
        EXPECT_EQ(thread, window->thread());
    for (int p = 0; p < 3; ++p)
        EXPECT_FALSE(g_ConfigStore.Record(p, kKeyA).Is(KeyFunctionKind::Disabled)) << p;
    EXPECT_FALSE(window->ApplyPending());
    EXPECT_EQ(refreshes, 2);
    EXPECT_TRUE(ProfileButtonsCheck(*window, GetActiveProfile()));
    EXPECT_FALSE(window->Bridge().TimerActive(KEYBOARD_RESET_TIMER));
    Disconnect();
}

// The keyboard says its lighting changed, but reading it back fails in each
// way a keyboard can: the user is told, and the lighting shown stays what
// was last read rather than a record half read.
TEST_F(MainWindow, AFailedLightingReadBackIsToldAndKeepsWhatWasRead) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    ASSERT_TRUE(prompt.shown.empty());
    const auto area = TheLighting().LightingArea();
    const CLightingSettings kept = TheLighting().Settings();
    const int profile = GetCurrentProfile();
    const uint8_t mode = kept.mode == 5 ? 6 : 5;
    ASSERT_EQ(DevWriteLighting(std::span(&mode, 1), static_cast<uint16_t>(profile * kLightingRecordSize)),
              DEV_OK);

    // Device info and begin pass; the current profile's record is lost
    // (every try of it) or refused.
    const SimFault faults[] = {{SimFault::Status, 0, 0, 0xFF},
                               {SimFault::NoReply, 0, TRANSACT_RETRIES, 0},
                               {SimFault::FailWrite, 0, 0, 0}};
    for (SimFault fault : faults) {
        SCOPED_TRACE("fault kind " + std::to_string(fault.What));
        fault.From = sim.RequestCount() + 3 + static_cast<uint32_t>(profile);
        fault.To += fault.From;
        sim.AddFault(fault);
        window->Bridge().SetTimer(LIGHTING_CHANGED_TIMER, 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt.shown.empty(); }, 10000));
        sim.ClearFaults();
        EXPECT_EQ(prompt.shown, std::vector<std::string>{LightText("READ_FAILED")});
        prompt.shown.clear();
        EXPECT_EQ(TheLighting().LightingArea(), area);
        EXPECT_EQ(TheLighting().Settings().mode, kept.mode);
    }
    Disconnect();
}

TEST_F(MainWindow, ASentApplyConfirmsWithoutAClickInTheWindowOrFromTheTray) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    Pump();
    window->ShowMainWindow();
    auto change = [&] {
        ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, kKeyA, KeyFunctionKind::Disabled, 0));
        window->SetApplyPending(true);
    };
    change();
    window->OnCommand(IDC_APPLY);
    ASSERT_NE(window->Note(), nullptr);
    EXPECT_TRUE(window->Note()->isVisible());
    EXPECT_EQ(window->Note()->text().toStdString(), Text("CONFIRM_APPLIED"));
    EXPECT_TRUE(prompt.shown.empty()) << "nothing to click away";
    QSignalSpy faded(window->Note(), &CFadingNote::Faded);
    ASSERT_TRUE(faded.wait(30000));
    EXPECT_FALSE(window->Note()->isVisible());

    // Nothing to send: nothing to confirm.
    window->OnCommand(IDC_APPLY);
    EXPECT_FALSE(window->Note()->isVisible());
    // OK hides the window: the tray says it.
    change();
    window->OnCommand(IDC_OK);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->Tray()->LastMessage().toStdString(), Text("CONFIRM_APPLIED"));
    Disconnect();
}

TEST_F(MainWindow, AProfileButtonThatAppliesFirstAndTheManagersOkKeepTheWindowRunning) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    ASSERT_EQ(GetActiveProfile(), 0);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, kKeyA, KeyFunctionKind::Disabled, 0));
    window->SetApplyPending(true);
    // Yes to sending the change first; the keyboard then leaves the Apply's
    // first request unanswered twice, so the exchange waits out its read time.
    prompt.answer = [&](const std::string&) {
        const uint32_t next = sim.RequestCount() + 1;
        sim.AddFault({SimFault::NoReply, next, next + 1, 0});
        return IDYES;
    };
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(10);
    window->OnCommand(IDC_PROFILE_2);
    tick.stop();
    WaitForBusyIndicator();

    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_GT(ticks, 5) << "the window's own timers ran while the change was sent";
    EXPECT_FALSE(window->ApplyPending());
    SetActiveProfileCache(-1);
    EXPECT_EQ(GetActiveProfile(), 1);
    EXPECT_TRUE(ProfileButtonsCheck(*window, 1));

    // The profile manager's OK switches and reads the keyboard back the same way.
    prompt.answer = nullptr;
    auto* manager = window->findChild<COrvane_DlgProfile*>();
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(manager->OnInitDialog());
    manager->List().BeginEdit(2, 2);
    const uint32_t next = sim.RequestCount() + 1;
    sim.AddFault({SimFault::NoReply, next, next + 1, 0});
    ticks = 0;
    tick.start(10);
    manager->OnOK();
    tick.stop();
    EXPECT_GT(ticks, 5) << "the window's own timers ran while the manager switched";
    EXPECT_FALSE(manager->IsOpen());
    SetActiveProfileCache(-1);
    EXPECT_EQ(GetActiveProfile(), 2);
    Disconnect();
}

TEST_F(MainWindow, ThePreviewRunsOnlyWhileSomeoneCanSeeIt) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    int frames = 0;
    window->Parts().previewTick = [&] { ++frames; };
    auto framesIn = [&](int ms) {
        const int before = frames;
        Pump(ms);
        return frames - before;
    };
    window->ShowMainWindow();
    TheLighting().SetLightingSwitch(true, *window, window->KeyLights());
    EXPECT_GT(framesIn(300), 0) << "shown with the switch on";

    window->showMinimized();
    Pump(120); // a tick already due may still come
    EXPECT_EQ(framesIn(300), 0) << "minimised";
    EXPECT_FALSE(window->Bridge().TimerActive(PREVIEW_TIMER));
    window->showNormal();
    EXPECT_GT(framesIn(300), 0) << "back from minimised";

    window->OnCommand(IDCANCEL);
    Pump(120);
    EXPECT_EQ(framesIn(300), 0) << "hidden";
    window->ShowMainWindow();
    EXPECT_GT(framesIn(300), 0) << "shown again";

    TheLighting().SetLightingSwitch(false, *window, window->KeyLights());
    Pump(120);
    EXPECT_EQ(framesIn(300), 0) << "switch off";
    EXPECT_FALSE(window->Bridge().TimerActive(PREVIEW_TIMER));
    Disconnect();
}

TEST_F(MainWindow, AGoneKeyboardClosesTheAboutBoxAndLeavesTheFocusOnTheFirstProfile) {
    window->ShowMainWindow();
    window->OpenAbout();
    ASSERT_EQ(AboutBoxes().size(), 1u);
    window->Button(IDC_MENU)->setFocus();
    window->Bridge().SendMessage(UM_DEVICE_GONE, 0, 0);
    Pump();
    EXPECT_TRUE(AboutBoxes().empty());
    EXPECT_EQ(window->focusWidget(), window->Button(IDC_PROFILE_1));
}

TEST_F(MainWindow, FlipSwapsTheSixExtraButtonsIntoTheFKeysPlace) {
    QRect fGroup;
    for (int id = 1010; id <= 1013; ++id) {
        CPngButton* f = PictureButton(*window, id);
        ASSERT_TRUE(f);
        fGroup |= f->geometry();
    }
    auto shownAlone = [&](bool flipped) {
        for (int id = 1010; id <= 1013; ++id)
            if (PictureButton(*window, id)->isHidden() == !flipped ||
                PictureButton(*window, id)->isEnabled() == flipped)
                return false;
        QRect previous;
        for (int id = 1016; id <= 1021; ++id) {
            CPngButton* b = PictureButton(*window, id);
            if (!b || b->isHidden() == flipped || b->isEnabled() != flipped) return false;
            // Side by side inside the F-keys' place, none on another.
            if (!fGroup.contains(b->geometry()) || b->geometry().intersects(previous)) return false;
            previous = b->geometry();
        }
        return true;
    };
    ASSERT_TRUE(shownAlone(false));
    window->Button(IDC_FLIP_1)->click();
    EXPECT_TRUE(shownAlone(true));
    window->Button(IDC_FLIP_2)->click();
    EXPECT_TRUE(shownAlone(false));
    // Either button toggles: the same one twice puts everything back.
    window->Button(IDC_FLIP_1)->click();
    window->Button(IDC_FLIP_1)->click();
    EXPECT_TRUE(shownAlone(false));
    EXPECT_EQ(ReadFlip(), 0);
}

namespace {
CPngButton* KeyNamed(COrvaneDlg& window, const std::string& name) {
    for (auto* b : window.findChildren<CPngButton*>())
        if (CKeyboardView::OwnKeyName(ControlIdOf(b)) == name) return b;
    return nullptr;
}
} // namespace

TEST_F(MainWindow, WithoutAMouseTabReachesEveryControlArrowsWalkTheKeysAndAllAreNamed) {
    CSimKeyboard sim(128);
    ASSERT_NO_FATAL_FAILURE(Connect(sim));
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    Pump();
    window->ShowMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*window));
    auto focus = [] { return QApplication::focusWidget(); };
    auto press = [&](int key) { QTest::keyClick(focus() ? focus() : &*window, Qt::Key(key)); };
    auto name = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name).toStdString() : std::string();
    };

    press(Qt::Key_Tab);
    QWidget* first = focus();
    ASSERT_NE(first, nullptr);
    std::set<QWidget*> reached{first};
    std::vector<QWidget*> walk{first};
    int steps = 0;
    for (; steps < 200 && (press(Qt::Key_Tab), focus() != first); ++steps) {
        reached.insert(focus());
        walk.push_back(focus());
    }
    ASSERT_LT(steps, 200) << "Tab never came back to the first control";
    // Tab reads the window: it goes right along a row and only wraps back up
    // once, from the last control to the first.
    int wraps = 0;
    for (size_t i = 0; i < walk.size(); ++i) {
        const QRect a = walk[i]->geometry(), b = walk[(i + 1) % walk.size()]->geometry();
        const bool sameRow = a.top() <= b.center().y() && b.center().y() <= a.bottom();
        if (b.center().y() < a.top() || (sameRow && b.x() < a.x())) ++wraps;
    }
    EXPECT_EQ(wraps, 1) << "Tab jumps around the window";
    // Indicators that do nothing when pressed are no stops.
    for (int id : {IDC_LOCK_CAPS, IDC_LOCK_AB, IDC_FLIP_0, IDC_LEFT_ARROW})
        EXPECT_FALSE(reached.count(window->Button(id))) << id;

    // The picture is one stop: from it the arrows reach every shown key.
    auto* group = window->findChild<CKeyFocusGroup*>();
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(reached.count(group->Current()));
    std::set<QWidget*> walked{group->Current()};
    for (std::vector<QWidget*> todo{group->Current()}; !todo.empty();) {
        QWidget* from = todo.back();
        todo.pop_back();
        for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
            if (QWidget* next = group->Neighbour(from, key); next && walked.insert(next).second)
                todo.push_back(next);
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&*window) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy())
            continue;
        const bool key = !CKeyboardView::OwnKeyName(ControlIdOf(w)).empty();
        EXPECT_TRUE(reached.count(w) || (key && walked.count(w)))
            << w->metaObject()->className() << " " << ControlIdOf(w) << " " << name(w);
        EXPECT_FALSE(name(w).empty()) << w->metaObject()->className() << " " << ControlIdOf(w);
    }
    for (QWidget* w : walked)
        EXPECT_FALSE(name(w).empty()) << ControlIdOf(w);

    // The arrows follow the keyboard's rows, not the alphabet.
    CPngButton* q = KeyNamed(*window, "Q");
    ASSERT_TRUE(q && KeyNamed(*window, "W") && KeyNamed(*window, "S") && KeyNamed(*window, "Tab"));
    q->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Right);
    EXPECT_EQ(focus(), KeyNamed(*window, "W"));
    press(Qt::Key_Down);
    EXPECT_EQ(focus(), KeyNamed(*window, "S"));
    press(Qt::Key_Up);
    EXPECT_EQ(focus(), KeyNamed(*window, "W"));
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(focus(), KeyNamed(*window, "Tab"));
    EXPECT_EQ(group->Current(), focus()) << "Tab comes back to the key last walked to";
    EXPECT_NE(name(q).find("Q"), std::string::npos);

    // Space clicks the focused button.
    CPngButton* profile = window->Button(IDC_PROFILE_2);
    QSignalSpy clicks(profile, &QAbstractButton::clicked);
    profile->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    Disconnect();
}
