// Key capture on the Key tab: which key events are taken, which are
// swallowed and which go on to the desktop, and that the keyboard is held
// only while the Key tab is on screen.
#include <csignal>
#include <linux/input-event-codes.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>

#include "dialogs/OnScreenKeyboard.h"
#include "dialogs/support/CompositeTestEnv.h"
#include "model/ConfigStore.h"
#include "model/EvdevKeys.h"
#include "platform/Processes.h"
#include "services/Language.h"
#include "support/Programs.h"
#include "ui/DesktopOpen.h"

namespace orvane::test {
namespace {

constexpr uint16_t kIndexA = 0x1E;

// Tab and Shift+Tab as the window system sends them to the focused control.
void Walk(Orvane_DlgComposite& dialog, bool next) {
    QKeyEvent event(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab,
                    next ? Qt::NoModifier : Qt::ShiftModifier, KEY_TAB + kXkbKeycodeOffset, 0, 0);
    QApplication::sendEvent(dialog.focusWidget(), &event);
}

TEST_F(CompositeTest, KeyboardChoiceTakesFirstPressesAndSwallowsTheRest) {
    auto dialog = Open(kIndexA);
    ASSERT_EQ(dialog->TabKind(), TAB_CLEARED);
    QWidget* field = dialog->Control(1127);
    ASSERT_EQ(dialog->focusWidget(), field) << "the Key tab opens on the key field";

    EXPECT_TRUE(Press(*dialog, KEY_B));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x30);
    EXPECT_EQ(EditText(*dialog), "B");
    EXPECT_EQ(dialog->TabKind(), TAB_KEY);
    EXPECT_TRUE(dialog->ApplyEnabled());
    EXPECT_EQ(dialog->focusWidget(), dialog->Control(1186)) << "one key, then the focus moves on";
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    // Shift+Tab back into the field: that Tab is not taken, the key's
    // release there neither, nor an auto-repeat.
    Walk(*dialog, false);
    ASSERT_EQ(dialog->focusWidget(), field);
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_TAB));
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_C, true));
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_C));
    EXPECT_EQ(EditText(*dialog), "B");
    EXPECT_EQ(dialog->focusWidget(), field);

    // Enter and Escape are keys like any other here.
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_ESC, false, Qt::Key_Escape));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x01);
    EXPECT_TRUE(dialog->isVisible());

    // A click on a button leaves the field armed, as before.
    Walk(*dialog, false);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog->Control(1032), &click);
    }
    EXPECT_EQ(dialog->TabKind(), TAB_CLEARED);
    EXPECT_EQ(dialog->focusWidget(), field);
    EXPECT_TRUE(Press(*dialog, KEY_A));
    EXPECT_EQ(EditText(*dialog), "A");

    // With the mouse choice the field is off: keys work the controls.
    dialog->OnCommand(1186);
    field->setFocus();
    EXPECT_FALSE(field->hasFocus());
    EXPECT_FALSE(Press(*dialog, KEY_D));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x1E);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    dialog->OnCommand(1185);
    EXPECT_EQ(dialog->focusWidget(), field) << "choosing the keyboard arms the field";
}

TEST_F(CompositeTest, AKeyboardOnlyUserAssignsTabAndLeavesByOk) {
    auto dialog = Open(kIndexA);
    QWidget* field = dialog->Control(1127);
    EXPECT_TRUE(Press(*dialog, KEY_B));
    EXPECT_NE(dialog->focusWidget(), field);

    Walk(*dialog, false);
    ASSERT_EQ(dialog->focusWidget(), field);
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_TAB, false, Qt::Key_Tab));
    EXPECT_EQ(EditText(*dialog), "Tab");
    EXPECT_EQ(dialog->CapturedScanCode(), 0x0F);

    // Shift held in the field is taken, but Shift+Tab then takes Tab and
    // goes back, as it does elsewhere.
    Walk(*dialog, false);
    ASSERT_EQ(dialog->focusWidget(), field);
    EXPECT_TRUE(Press(*dialog, KEY_LEFTSHIFT));
    EXPECT_EQ(dialog->focusWidget(), field);
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_TAB, false, Qt::Key_Backtab));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x0F);
    EXPECT_NE(dialog->focusWidget(), field);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    // Shift let go alone is the key itself.
    Walk(*dialog, true);
    ASSERT_EQ(dialog->focusWidget(), field);
    EXPECT_TRUE(Press(*dialog, KEY_LEFTSHIFT));
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_LEFTSHIFT));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x2A);
    EXPECT_EQ(dialog->focusWidget(), dialog->Control(1186));

    // Tab goes on as the dialog reads: past the mouse list, which is off
    // with the keyboard chosen, to the disable box, Clear and OK.
    Walk(*dialog, false);
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_TAB, false, Qt::Key_Tab));
    Walk(*dialog, true);
    EXPECT_EQ(dialog->focusWidget(), dialog->Control(kDisableBoxId));
    Walk(*dialog, true);
    EXPECT_EQ(dialog->focusWidget(), dialog->Control(1032));
    Walk(*dialog, true);
    QWidget* ok = dialog->Control(IDOK);
    ASSERT_EQ(dialog->focusWidget(), ok);
    Key(*dialog, QEvent::KeyPress, KEY_SPACE, false, Qt::Key_Space);
    Key(*dialog, QEvent::KeyRelease, KEY_SPACE, false, Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(g_ConfigStore.Record(0, kIndexA), (KeyFunction{2, 0, 0x0F, 0, 0}));
}

TEST_F(CompositeTest, MediaKeysAndUnknownKeysPassOn) {
    auto dialog = Open(kIndexA);
    for (int key : {KEY_VOLUMEUP, KEY_MUTE, KEY_PLAYPAUSE, 0x2FF - 8}) {
        EXPECT_FALSE(Press(*dialog, key)) << key;
        EXPECT_FALSE(Key(*dialog, QEvent::KeyRelease, key)) << key;
    }
    EXPECT_EQ(dialog->CapturedScanCode(), 0);
    EXPECT_EQ(dialog->TabKind(), TAB_CLEARED);
    EXPECT_FALSE(dialog->ApplyEnabled());
}

TEST_F(CompositeTest, PrintScreenSuperAndMenuAreTakenOnAnyEvent) {
    auto dialog = Open(kIndexA);
    // The desktop may report Print Screen's release only.
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_SYSRQ));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x137);

    QWidget* field = dialog->Control(1127);
    EXPECT_NE(dialog->focusWidget(), field);

    // Super and Menu never reach the desktop. A held Super key keeps the
    // field, and the keyboard, until it is let go.
    field->setFocus();
    EXPECT_TRUE(Press(*dialog, KEY_LEFTMETA));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x15B);
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_LEFTMETA));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x15B);
    EXPECT_NE(dialog->focusWidget(), field);
    field->setFocus();
    EXPECT_TRUE(Key(*dialog, QEvent::KeyRelease, KEY_RIGHTMETA));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x15C);
    field->setFocus();
    EXPECT_TRUE(Key(*dialog, QEvent::KeyPress, KEY_COMPOSE, true));
    EXPECT_EQ(dialog->CapturedScanCode(), 0x15D);
    EXPECT_NE(dialog->focusWidget(), field);
}

TEST_F(CompositeTest, KeyboardIsHeldOnlyWhileTheKeyTabIsShown) {
    auto dialog = Open(kIndexA);
    ASSERT_TRUE(dialog->isActiveWindow());
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());

    dialog->OnCommand(1030); // Media
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_FALSE(Press(*dialog, KEY_B)) << "no capture outside the Key tab";
    EXPECT_EQ(dialog->CapturedScanCode(), 0);

    dialog->OnCommand(1028);
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    dialog->Control(2)->setFocus();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "the focus elsewhere frees the keyboard";
    dialog->Control(1127)->setFocus();
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());
    dialog->hide();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "a hidden dialog holds no keys";
    dialog->show();
    QApplication::setActiveWindow(dialog.get()); // the window manager's part
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isActiveWindow());
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());

    dialog->OnCancel();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_FALSE(dialog->Capture().Active());
}

// Stands in for the desktop's handler of local files.
class CHelpOpener : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

TEST_F(CompositeTest, EnterAndEscapeDoNothingAndF1OpensHelpOutsideTheKeyTab) {
    CHelpOpener help;
    QDesktopServices::setUrlHandler("file", &help, "Open");
    auto dialog = Open(kIndexA);
    dialog->OnCommand(1031); // Function: no capture here
    for (int qtKey : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        Key(*dialog, QEvent::KeyPress, 0, false, qtKey);
        QKeyEvent onCombo(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QApplication::sendEvent(dialog->Control(1129), &onCombo);
    }
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    EXPECT_EQ(g_ConfigStore.Record(0, kIndexA), KeyFunction{});

    Key(*dialog, QEvent::KeyPress, KEY_F1, false, Qt::Key_F1);
    ASSERT_EQ(help.opened.size(), 1);
    EXPECT_TRUE(help.opened[0].toLocalFile().endsWith("/Help/index.html"))
        << help.opened[0].toString().toStdString();

    // On the Key tab F1 is a key to assign.
    dialog->OnCommand(1028);
    Key(*dialog, QEvent::KeyPress, KEY_F1, false, Qt::Key_F1);
    EXPECT_EQ(dialog->CapturedScanCode(), 0x3B);
    EXPECT_EQ(help.opened.size(), 1);
    QDesktopServices::unsetUrlHandler("file");
}

TEST_F(CompositeTest, WithNothingOnPathHelpAndTheOnScreenKeyboardSayWhatIsMissing) {
    if (ProgramRunning("onboard") || ProgramRunning("florence"))
        GTEST_SKIP() << "an on-screen keyboard already runs here";
    testing::CScopedEnv path("PATH", std::string()), browser("BROWSER", std::nullopt);
    auto dialog = Open(kIndexA);
    dialog->OnCommand(1031); // outside the Key tab F1 is help
    Key(*dialog, QEvent::KeyPress, KEY_F1, false, Qt::Key_F1);
    dialog->OnCommand(1132);
    ASSERT_EQ(prompt_.shown.size(), 2u);
    EXPECT_EQ(prompt_.shown[0], FormatTextString(Text("HELP_OPEN_FAILED"), HelpPagePath().toStdString()));
    EXPECT_NE(prompt_.shown[0].find("/Help/index.html"), std::string::npos) << prompt_.shown[0];
    EXPECT_EQ(prompt_.shown[1], Text("OSK_MISSING"));
    EXPECT_NE(prompt_.shown[1].find("onboard"), std::string::npos);
}

TEST(OnScreenKeyboard, StartsTheFirstInstalledKeyboardOnly) {
    if (ProgramRunning("onboard") || ProgramRunning("florence"))
        GTEST_SKIP() << "an on-screen keyboard already runs here";
    testing::CTempDir bin;
    EXPECT_EQ(StartOnScreenKeyboard(bin.Path()), "") << "neither installed: nothing starts";

    const std::string marker = bin.File("started");
    const std::string florence = bin.File("florence");
    testing::WriteText(florence, "#!/bin/sh\ntouch '" + marker + "'\n");
    std::filesystem::permissions(florence, std::filesystem::perms::owner_all);
    EXPECT_EQ(StartOnScreenKeyboard(bin.Path()), florence);
    EXPECT_TRUE(testing::WaitFor([&] { return std::filesystem::exists(marker); }));
    testing::WaitFor([] { return !ProgramRunning("florence"); });

    const std::string onboard = bin.File("onboard");
    const std::string pidFile = bin.File("onboard.pid");
    testing::WriteText(onboard, "#!/bin/sh\necho $$ > '" + pidFile +
                                    "'\ntrap 'exit 0' TERM\nwhile :; do sleep 0.1; done\n");
    std::filesystem::permissions(onboard, std::filesystem::perms::owner_all);
    EXPECT_EQ(StartOnScreenKeyboard(bin.Path()), onboard) << "onboard comes first";

    // While one runs, no second one starts.
    testing::WaitFor([] { return ProgramRunning("onboard"); });
    EXPECT_EQ(StartOnScreenKeyboard(bin.Path()), "onboard");
    // The process shows up before its script has written the pid file.
    testing::WaitFor([&] { return std::atoi(testing::ReadText(pidFile).c_str()) > 0; });
    const pid_t started = std::atoi(testing::ReadText(pidFile).c_str());
    ASSERT_GT(started, 0);
    kill(started, SIGTERM);
    // Reaped by the starter's own thread: wait for it, so no zombie is left.
    const std::string proc = "/proc/" + std::to_string(started);
    testing::WaitFor([&] { return !std::filesystem::exists(proc); });
}

} // namespace
} // namespace orvane::test

#include "composite_capture_test.moc"
