// The key-assignment dialog: what it shows for each stored record, what
// Apply stores, the macro-only form, where it opens and what it leaves
// behind when it closes.
#include <algorithm>
#include <linux/input-event-codes.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "device/DeviceCommands.h"
#include "dialogs/CompositePlacement.h"
#include "dialogs/EditorOpenCounts.h"
#include "dialogs/OpenComposite.h"
#include "dialogs/support/CompositeTestEnv.h"
#include "model/ConfigStore.h"
#include "services/Language.h"
#include "ui/ControlMessages.h"

namespace orvane::test {
namespace {

constexpr uint16_t kIndexA = 0x1E;
constexpr int kButtonA = 1010; // any key button; the dialog is told the key index

bool Checked(Orvane_DlgComposite& d, int id) {
    return static_cast<QCheckBox*>(d.Control(id))->isChecked();
}
QComboBox* Combo(Orvane_DlgComposite& d, int id) {
    return static_cast<QComboBox*>(d.Control(id));
}
KeyFunction Stored(int profile, int keyIndex) {
    return g_ConfigStore.Record(profile, keyIndex);
}

MacroRecord Macro(uint16_t id, const std::u16string& name) {
    MacroRecord m{};
    SetMacroName(m, name);
    m.id = id;
    m.repeat = 1;
    return m;
}

TEST_F(CompositeTest, OpensKeyRecordsInTheKeyboardOrMouseState) {
    g_ConfigStore.StoreKeyFunction(0, kIndexA, KeyFunctionKind::Key, 0x172);
    g_ConfigStore.StoreKeyFunction(0, 0x30, KeyFunctionKind::Key, 0x12); // B sends E
    {
        auto d = Open(kIndexA);
        EXPECT_EQ(d->TabKind(), TAB_KEY);
        EXPECT_TRUE(Checked(*d, 1186));
        EXPECT_FALSE(Checked(*d, 1185));
        EXPECT_EQ(Combo(*d, 1187)->currentIndex(), 1);
        EXPECT_TRUE(Combo(*d, 1187)->isEnabled());
        EXPECT_FALSE(d->Control(1127)->isEnabled());
        EXPECT_TRUE(d->Button(1028)->IsChecked());
        d->OnCancel();
    }
    auto d = Open(0x30);
    EXPECT_TRUE(Checked(*d, 1185));
    EXPECT_FALSE(Checked(*d, 1186));
    EXPECT_EQ(EditText(*d), "E");
    EXPECT_TRUE(d->Control(1127)->isVisible());
    EXPECT_FALSE(d->Control(1128)->isVisible());
    EXPECT_FALSE(Combo(*d, 1187)->isEnabled());
}

TEST_F(CompositeTest, CapturingTheKeysOwnKeyOrNothingStoresDefault) {
    g_ConfigStore.StoreKeyFunction(0, kIndexA, KeyFunctionKind::Key, 0x30);
    auto d = Open(kIndexA);
    Press(*d, KEY_A);
    EXPECT_EQ(EditText(*d), "A");
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(Stored(0, kIndexA).kind, 0);
    EXPECT_FALSE(d->ApplyEnabled());
    EXPECT_EQ(window_.changes, 1) << "the main window's Apply is enabled";

    // Clear forgets the captured key: choosing KB afterwards stores no key.
    d->Control(1127)->setFocus();
    Press(*d, KEY_B);
    d->OnCommand(1032);
    EXPECT_EQ(d->TabKind(), TAB_CLEARED);
    EXPECT_EQ(EditText(*d), "");
    d->OnCommand(1185);
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(Stored(0, kIndexA), KeyFunction{});
}

TEST_F(CompositeTest, EveryKindRoundTrips) {
    SetActiveProfileCache(1);
    g_ConfigStore.SetMacros({Macro(5, u"first"), Macro(9, u"second")});

    struct Case {
        const char* what;
        std::function<void(Orvane_DlgComposite&)> assign;
        KeyFunction stored;
        std::function<void(Orvane_DlgComposite&)> check;
    };
    const Case cases[] = {
        {"key",
         [&](auto& d) { Press(d, KEY_B); },
         {2, 0, 0x30, 0, 0},
         [&](auto& d) {
             EXPECT_EQ(EditText(d), "B");
             EXPECT_TRUE(Checked(d, 1185));
         }},
        {"mouse",
         [&](auto& d) {
             d.OnCommand(1186);
             Combo(d, 1187)->setCurrentIndex(4);
         },
         {2, 0, 0x162, 0, 0},
         [&](auto& d) { EXPECT_EQ(Combo(d, 1187)->currentIndex(), 4); }},
        {"macro",
         [&](auto& d) {
             d.OnCommand(1029);
             d.MacroTab().MacroCombo()->setCurrentIndex(1);
             d.MacroTab().LoopEdit()->setText("300"); // one byte holds it
         },
         {4, 255, 9, 0, 0},
         [&](auto& d) {
             EXPECT_EQ(d.MacroTab().MacroCombo()->currentIndex(), 1);
             EXPECT_EQ(d.MacroTab().LoopEdit()->text(), "255");
             EXPECT_EQ(g_ConfigStore.Macros()[1].repeat, 255);
             EXPECT_TRUE(d.MacroTab().MacroCombo()->isVisible());
         }},
        {"media",
         [&](auto& d) {
             d.OnCommand(1030);
             Combo(d, 1128)->setCurrentIndex(17);
         },
         {7, 0, 17, 0, 0},
         [&](auto& d) { EXPECT_EQ(Combo(d, 1128)->currentIndex(), 17); }},
        {"function",
         [&](auto& d) {
             d.OnCommand(1031);
             Combo(d, 1129)->setCurrentIndex(10);
         },
         {8, 0, 10, 0, 0},
         [&](auto& d) { EXPECT_EQ(Combo(d, 1129)->currentIndex(), 10); }},
        {"cleared",
         [&](auto& d) { d.OnCommand(1032); },
         {0, 0, 0, 0, 0},
         [&](auto& d) {
             EXPECT_EQ(EditText(d), "");
             EXPECT_TRUE(d.Button(1028)->IsChecked());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            auto d = Open(kIndexA);
            c.assign(*d);
            d->OnOK();
            EXPECT_EQ(d->result(), QDialog::Accepted);
        }
        EXPECT_EQ(Stored(1, kIndexA), c.stored);
        EXPECT_EQ(Stored(0, kIndexA), KeyFunction{}) << "only the active profile changes";
        auto d = Open(kIndexA);
        EXPECT_EQ(d->TabKind(), c.stored.kind);
        c.check(*d);
        d->OnCancel();
    }
    EXPECT_FALSE(window_.tooltips.empty()) << "the key tooltips were rebuilt";
}

TEST_F(CompositeTest, MacroTabWithoutMacrosStoresDefault) {
    g_ConfigStore.StoreKeyFunction(0, kIndexA, KeyFunctionKind::Media, 3);
    auto d = Open(kIndexA);
    d->OnCommand(1029);
    EXPECT_EQ(d->TabKind(), TAB_MACRO);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(Stored(0, kIndexA), KeyFunction{});
}

TEST_F(CompositeTest, UnknownActiveProfileShowsProfileZeroAndRefusesApply) {
    g_ConfigStore.StoreKeyFunction(0, kIndexA, KeyFunctionKind::Function, 4);
    SetActiveProfileCache(-1); // and no keyboard to ask
    auto d = Open(kIndexA);
    EXPECT_EQ(d->TabKind(), TAB_FUNCTION);
    EXPECT_EQ(Combo(*d, 1129)->currentIndex(), 4);
    d->OnCommand(1030);
    d->OnOK();
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0], Text("APPLY_PROMPT"));
    EXPECT_TRUE(d->isVisible()) << "the choice is kept for another try";
    EXPECT_EQ(CompositeOpenCount(), 1);
    EXPECT_EQ(Stored(0, kIndexA).kind, 8);
    EXPECT_EQ(window_.changes, 0);
    d->OnCancel();
    EXPECT_EQ(CompositeOpenCount(), 0);
}

TEST_F(CompositeTest, KindsTheDialogDoesNotOfferSurviveOk) {
    // A key that runs a program: its path lives in the key's string slot.
    const std::u16string path = u"/usr/bin/true";
    g_ConfigStore.StoreKeyFunction(0, kIndexA, KeyFunctionKind::Program, 0, 1, &path);
    const KeyFunction before = Stored(0, kIndexA);
    auto d = Open(kIndexA);
    EXPECT_TRUE(d->Control(1127)->isVisible());
    d->OnOK();
    EXPECT_EQ(Stored(0, kIndexA), before);
    EXPECT_EQ(g_ConfigStore.KeyString(RecordIndex(0, kIndexA)), path);
}

TEST_F(CompositeTest, GKeysKeepTheirCodeAndTheOpenerFindsEveryKey) {
    EXPECT_EQ(CompositeKeyIndexForButton(1000, false), 256);
    EXPECT_EQ(CompositeKeyIndexForButton(1143, false), 264);
    EXPECT_EQ(CompositeKeyIndexForButton(1140, true), 256 + 5 + 9);
    EXPECT_EQ(CompositeKeyIndexForButton(1010, false),
              ScanCodeToIndex(KeySlotAt(KeySlotOfControlId(1010))->scanCode));
    for (int id : {1016, 1021, 1057, 1174, 1005, 0})
        EXPECT_EQ(CompositeKeyIndexForButton(id, false), -1) << id;
    EXPECT_EQ(OpenCompositeForButton(window_, 1057), -1);
    EXPECT_TRUE(window_.editing.empty());

    auto d = Open(256 + 3, 1003);
    d->OnCommand(1030);
    Combo(*d, 1128)->setCurrentIndex(2);
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(Stored(0, 256 + 3), (KeyFunction{7, GKeyCode(3), 2, 0, 0}));
}

// The id of the control that has the focus (an editable list's own edit
// stands for the list).
int FocusedId(const QWidget& dialog) {
    for (const QWidget* w = dialog.focusWidget(); w && w != &dialog; w = w->parentWidget())
        if (ControlIdOf(w) != 0) return ControlIdOf(w);
    return 0;
}

TEST_F(CompositeTest, TabWalksTheMacroTabAsItIsRead) {
    g_ConfigStore.SetMacros({Macro(5, u"first")});
    auto d = Open(kIndexA);
    d->OnCommand(1029);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    d->MacroTab().MacroCombo()->setFocus();
    std::vector<int> walked{FocusedId(*d)};
    for (int i = 0; i < 40; ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(d->focusWidget(), &tab);
        if (FocusedId(*d) == walked.front()) break;
        walked.push_back(FocusedId(*d));
    }
    // Name, add, delete, the action list, record, the move buttons, delete
    // and clear action, repeat, record delays; then the dialog's buttons
    // and the tabs. The buttons that need an action row are disabled.
    std::vector<int> expected;
    for (int id : {1126, 1017, 1018, 1019, 1020,     1023, 1024, 1025, 1026, 1021, 1022,
                   1125, 1027, 1032, IDOK, IDCANCEL, 1132, 1028, 1029, 1030, 1031})
        if (d->Control(id)->isEnabled()) expected.push_back(id);
    EXPECT_EQ(walked, expected);
    EXPECT_NE(std::find(walked.begin(), walked.end(), 1020), walked.end()) << "Record is reachable";
}

TEST_F(CompositeTest, RecordingHoldsTheKeyboardUntilAnotherTabIsShown) {
    g_ConfigStore.SetMacros({Macro(5, u"first")});
    auto d = Open(kIndexA);
    ASSERT_TRUE(d->isActiveWindow());
    d->OnCommand(1029);
    d->MacroTab().OnCommand(1020); // record
    ASSERT_TRUE(d->MacroTab().Recording());
    EXPECT_EQ(QWidget::keyboardGrabber(), d.get()) << "the desktop's shortcuts are recorded too";

    d->OnCommand(1031); // the Function tab
    EXPECT_FALSE(d->MacroTab().Recording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    d->OnCommand(1029);
    d->MacroTab().OnCommand(1020);
    ASSERT_TRUE(d->MacroTab().Recording());
    d->OnCancel();
    EXPECT_FALSE(d->MacroTab().Recording());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << "no grab outlives the dialog";
}

TEST_F(CompositeTest, MacroOnlyFormOpensCentredWithOnlyTheMacroTab) {
    g_ConfigStore.SetMacros({Macro(7, u"seven"), Macro(1, u"one")});
    // G9 plays a media key: its value is no macro id.
    g_ConfigStore.StoreKeyFunction(0, 264, KeyFunctionKind::Media, 1);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        Orvane_DlgComposite* d = OpenCompositeDialog();
        ASSERT_NE(d, nullptr);
        checked = true;
        EXPECT_TRUE(d->MacroOnly());
        EXPECT_EQ(d->TabKind(), TAB_MACRO);
        for (int id : {1028, 1030, 1031, 1032})
            EXPECT_FALSE(d->Button(id)->isEnabled()) << id;
        for (int id : {1028, 1030, 1031})
            EXPECT_TRUE(d->Button(id)->isHidden()) << id << ": a tab without a caption";
        EXPECT_TRUE(d->Button(1029)->isEnabled());
        EXPECT_TRUE(d->Button(1029)->IsChecked());
        EXPECT_EQ(d->MacroTab().MacroCombo()->currentIndex(), 0);
        EXPECT_EQ(d->Button(1028)->text(), "");
        EXPECT_EQ(static_cast<QLabel*>(d->Control(1199))->text(),
                  QString::fromStdString(Text("MACRO_EDIT_TISHI")));
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_LE(std::abs(d->geometry().center().x() - screen.center().x()), 1);
        EXPECT_LE(std::abs(d->geometry().center().y() - screen.center().y()), 1);
        EXPECT_EQ(CompositeOpenCount(), 1);
        EXPECT_EQ(OpenCompositeForButton(window_, kButtonA), -1) << "one key at a time";
        CancelCompositeDialog();
    });
    EXPECT_EQ(OpenCompositeForButton(window_, kMacroOnlyButtonId), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(CompositeOpenCount(), 0);
    EXPECT_EQ(OpenCompositeDialog(), nullptr);
    ASSERT_EQ(window_.editing.size(), 2u);
    EXPECT_EQ(window_.editing[0], std::make_pair(kMacroOnlyButtonId, true));
    EXPECT_EQ(window_.editing[1], std::make_pair(kMacroOnlyButtonId, false));
    EXPECT_EQ(Stored(0, 264), (KeyFunction{7, GKeyCode(8), 1, 0, 0})) << "Cancel stores nothing";
}

TEST(CompositePlacement, FirstFittingCornerElseRightBelow) {
    const QRect screen(0, 0, 1000, 800);
    const QSize size(300, 200);
    // right-below, right-above, left-below, left-above
    EXPECT_EQ(CompositePosition(QRect(100, 100, 40, 30), size, screen), QPoint(140, 130));
    EXPECT_EQ(CompositePosition(QRect(100, 700, 40, 30), size, screen), QPoint(140, 500));
    EXPECT_EQ(CompositePosition(QRect(800, 100, 40, 30), size, screen), QPoint(500, 130));
    EXPECT_EQ(CompositePosition(QRect(800, 700, 40, 30), size, screen), QPoint(500, 500));
    // Exactly fitting counts as fitting.
    EXPECT_EQ(CompositePosition(QRect(660, 570, 40, 30), size, screen), QPoint(700, 600));
    // Nowhere fits: right-below.
    EXPECT_EQ(CompositePosition(QRect(400, 300, 40, 30), QSize(900, 700), screen), QPoint(440, 330));
    // A second screen to the right: its own edges count.
    EXPECT_EQ(CompositePosition(QRect(1900, 100, 40, 30), size, QRect(1000, 0, 1000, 800)),
              QPoint(1600, 130));
    EXPECT_EQ(CentredPosition(size, QRect(1000, 0, 1000, 800)), QPoint(1350, 300));
}

} // namespace
} // namespace orvane::test
