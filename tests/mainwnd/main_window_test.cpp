// The main window on its own, without the keyboard picture and the lighting
// panel: its buttons against the skin, its texts, the keys it swallows, OK,
// Cancel, the clock-change Apply, the About box, help and links, the tray,
// the shutdown and the flip.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <thread>

#include "dialogs/FlipSetting.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/MainWindowButtonTable.h"
#include "mainwnd/MainWindowIds.h"
#include "mainwnd/QtPrompt.h"
#include "mainwnd/support/MainWindowFixture.h"
#include "mainwnd/TransferRunner.h"
#include "model/ProfileFile.h"
#include "services/Language.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"
#include "ui/ControlMessages.h"
#include "ui/DesktopOpen.h"
#include "ui/GuiThread.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"

namespace orvane::testing {
namespace {

std::vector<CAboutDlg*> AboutBoxes() {
    std::vector<CAboutDlg*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<CAboutDlg*>(w); box && !box->IsClosed()) boxes.push_back(box);
    return boxes;
}

CPngButton* PictureButton(COrvaneDlg& window, int id) {
    for (auto* b : window.findChildren<CPngButton*>())
        if (ControlIdOf(b) == id) return b;
    return nullptr;
}

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
    CScopedEnv path("PATH", std::string()), browser("BROWSER", std::nullopt);
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

TEST_F(MainWindow, AboutTwiceLeavesOneBoxWhichAGoneKeyboardOrTheShutdownClosesFirst) {
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

    // A keyboard that goes away closes it too, and leaves the focus on the
    // first profile.
    window->ShowMainWindow();
    window->Button(IDC_MENU)->setFocus();
    window->Bridge().SendMessage(UM_DEVICE_GONE, 0, 0);
    Pump();
    EXPECT_TRUE(AboutBoxes().empty());
    EXPECT_EQ(window->focusWidget(), window->Button(IDC_PROFILE_1));

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

TEST_F(MainWindow, ATransferAskedForDuringAnothersWaitRunsOffTheWindowsThreadToo) {
    // As a profile button pressed by Default reads the lighting back: the
    // window's thread keeps painting instead of waiting for the keyboard.
    CTransferRunner runner;
    const std::thread::id gui = std::this_thread::get_id();
    std::thread::id inner;
    runner.Run([&] { RunOnGuiThread([&] { runner.Run([&] { inner = std::this_thread::get_id(); }); }); });
    EXPECT_NE(inner, std::thread::id());
    EXPECT_NE(inner, gui);
    EXPECT_FALSE(runner.Running());
}

} // namespace
} // namespace orvane::testing
