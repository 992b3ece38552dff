// The key dialog's Macro tab on its own: macros added, named, deleted and
// recorded with real key events, rows edited in place, the prompt answered by
// the test.
#include <gtest/gtest.h>

#include <array>
#include <QApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QTest>

#include "device/DeviceCommands.h"
#include "dialogs/MacroTab.h"
#include "dialogs/support/CompositeTestEnv.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "services/Language.h"
#include "support/ScriptedPrompt.h"

namespace orvane::test {
namespace {

// evdev codes + 8, as X11 reports them.
constexpr quint32 kNativeA = 30 + 8, kNativeB = 48 + 8, kNativePrint = 99 + 8, kNativeSuper = 125 + 8,
                  kNativeVolumeUp = 115 + 8;

// The key dialog tests' program folder and home, with a prompt that keeps
// the styles of its questions.
class MacroTabTest : public CompositeTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CompositeTest::SetUp());
        SetPrompt(&prompt);
        g_ConfigStore.SetMacros({});
        g_ConfigStore.SetRecords({});
        m_dialog.resize(600, 400);
        m_tab.Actions()->setGeometry(0, 0, 300, 300);
        m_dialog.show();
        m_tab.SetUp();
        m_tab.SetClock([this] { return now; });
        m_tab.LoadList();
        m_tab.ShowTab(true, 0);
    }
    void TearDown() override {
        m_tab.FreeAll();
        CompositeTest::TearDown();
    }

    // Sends a key event to the tab's action list, as the window would get it.
    bool Key(QEvent::Type type, quint32 native, bool autoRepeat = false) {
        QKeyEvent event(type, 0, Qt::NoModifier, native, 0, 0, QString(), autoRepeat);
        event.setAccepted(false);
        return QApplication::sendEvent(m_tab.Actions(), &event) && event.isAccepted();
    }
    void Tap(quint32 native, int64_t at, int64_t heldMs) {
        now = at;
        Key(QEvent::KeyPress, native);
        now = at + heldMs;
        Key(QEvent::KeyRelease, native);
    }
    std::vector<uint32_t> Delays() const {
        std::vector<uint32_t> d;
        for (const MacroAction& a : m_tab.Rows())
            d.push_back(a.delay);
        return d;
    }
    std::vector<std::pair<ScanCode, uint16_t>> Keys() const {
        std::vector<std::pair<ScanCode, uint16_t>> k;
        for (const MacroAction& a : m_tab.Rows())
            k.emplace_back(a.scanCode, a.transition);
        return k;
    }
    void RecordDelays(bool on) {
        WriteRecordDelayOption(on ? 1 : 0);
        m_tab.RecordDelayBox()->setChecked(on);
    }

    testing::CScriptedPrompt prompt;
    int applyEnabled = 0;
    int64_t now = 1000;
    QWidget m_dialog;
    CMacroTab m_tab{&m_dialog, [this] { ++applyEnabled; }};
};

TEST_F(MacroTabTest, RecordingMeasuresGapsAndKeepsOnePressAndReleasePerKey) {
    RecordDelays(true);
    m_tab.OnCommand(1017);
    ASSERT_EQ(m_tab.Selected(), 0);
    m_tab.OnCommand(1020);
    ASSERT_TRUE(m_tab.Recording());
    EXPECT_FALSE(m_tab.MacroCombo()->isEnabled());

    // A held A: auto-repeats are swallowed and not recorded.
    now = 1100;
    EXPECT_TRUE(Key(QEvent::KeyPress, kNativeA));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Key(QEvent::KeyRelease, kNativeA, true));
        EXPECT_TRUE(Key(QEvent::KeyPress, kNativeA, true));
    }
    now = 1130;
    Key(QEvent::KeyRelease, kNativeA);
    // Print Screen: the real press is dropped, a press goes 2 ms before the release.
    Tap(kNativePrint, 1200, 50);
    // The volume key is left to the desktop.
    EXPECT_FALSE(Key(QEvent::KeyPress, kNativeVolumeUp));
    // Super, pressed twice without a release in between, counts once.
    now = 1300;
    Key(QEvent::KeyPress, kNativeSuper);
    Key(QEvent::KeyPress, kNativeSuper);
    now = 1310;
    Key(QEvent::KeyRelease, kNativeSuper);
    m_tab.OnCommand(1020);
    EXPECT_FALSE(m_tab.Recording());
    EXPECT_FALSE(m_tab.Recorder().HoldsKeyboard());

    const std::vector<std::pair<ScanCode, uint16_t>> keys{{0x01E, 0}, {0x01E, 1}, {0x137, 0},
                                                          {0x137, 1}, {0x15B, 0}, {0x15B, 1}};
    EXPECT_EQ(Keys(), keys);
    // Each row's delay is the gap to the next event, in the keyboard's 10 ms
    // steps (Print Screen's 2 ms is kept as 0); the last one's is 0.
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{30, 0, 120, 50, 10, 0}));
    EXPECT_EQ(m_tab.Actions()->GetItemCount(), 6);
    EXPECT_EQ(m_tab.Actions()->GetItemText(1, 2), "0");
    EXPECT_EQ(m_tab.Actions()->GetItemText(2, 2), "120");
    EXPECT_EQ(m_tab.Actions()->GetItemText(1, 1), "  \u2191");

    // Keys after the stop are not recorded.
    Tap(kNativeB, 2000, 10);
    EXPECT_EQ(m_tab.Rows().size(), 6u);
}

TEST_F(MacroTabTest, WithoutRecordedDelaysEveryGapIsFiftyMilliseconds) {
    RecordDelays(false);
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1007, 333);
    Tap(kNativeB, 9000, 1);
    Tap(kNativePrint, 20000, 5);
    m_tab.StopRecording();
    EXPECT_EQ(Delays(), (std::vector<uint32_t>{50, 50, 50, 50, 50, 0}));
    EXPECT_EQ(Keys().size(), 6u);
}

TEST_F(MacroTabTest, AddedMacrosGetFreeNamesAndIdsUpToTheLimit) {
    for (int i = 0; i < 100; ++i)
        m_tab.OnCommand(1017);
    ASSERT_EQ(m_tab.List().size(), 100u);
    EXPECT_EQ(MacroName(m_tab.List()[0]), u"Macro 1");
    EXPECT_EQ(m_tab.List()[99].id, 100);
    EXPECT_TRUE(prompt.shown.empty());
    m_tab.OnCommand(1017);
    EXPECT_EQ(m_tab.List().size(), 100u);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("100"), std::string::npos);
}

TEST_F(MacroTabTest, RenamingReplacesNamesThatClashOrStartWithASpace) {
    // Typed into the empty list: a new macro under that name.
    Q_EMIT m_tab.MacroCombo()->lineEdit()->textEdited(QStringLiteral("Solo"));
    ASSERT_EQ(m_tab.List().size(), 1u);
    EXPECT_EQ(MacroName(m_tab.List()[0]), u"Solo");
    EXPECT_EQ(m_tab.List()[0].newFlag, 1);
    m_tab.OnCommand(1018);
    ASSERT_TRUE(m_tab.List().empty());

    m_tab.OnCommand(1017); // Macro 1
    m_tab.OnCommand(1017); // Macro 2
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1100, 10);
    m_tab.StopRecording();
    QLineEdit* edit = m_tab.MacroCombo()->lineEdit();

    Q_EMIT edit->textEdited(QStringLiteral("Work"));
    EXPECT_EQ(MacroName(m_tab.List()[1]), u"Work");
    // "mac" begins "Macro 1": the typed text gives way to a generated name.
    Q_EMIT edit->textEdited(QStringLiteral("mac"));
    EXPECT_EQ(MacroName(m_tab.List()[1]), u"Macro 3");
    EXPECT_EQ(edit->text(), "Macro 3");
    Q_EMIT edit->textEdited(QStringLiteral(" x"));
    EXPECT_EQ(MacroName(m_tab.List()[1]), u"Macro 4");
    // The renamed macro keeps its place and its actions.
    EXPECT_EQ(m_tab.MacroCombo()->itemText(1), "Macro 4");
    EXPECT_EQ(m_tab.Rows().size(), 2u);

    // Too long: cut to the record's 249 units, never inside a surrogate pair.
    const QString longName = QString(248, QLatin1Char('n')) + QString::fromUtf8("\xF0\x9F\x98\x80") + "tail";
    Q_EMIT edit->textEdited(longName);
    EXPECT_EQ(MacroName(m_tab.List()[1]), std::u16string(248, u'n'));
}

TEST_F(MacroTabTest, DeletingAskOnlyForAppliedMacrosThatKeysPlay) {
    MacroRecord stored = NewMacroRecord(u"Used", {});
    stored.newFlag = 0;
    ASSERT_TRUE(g_ConfigStore.SetMacros({stored}));
    KeyFunction plays;
    plays.SetKind(KeyFunctionKind::Macro);
    plays.value = stored.id;
    plays.aux = 1;
    ASSERT_TRUE(g_ConfigStore.SetRecord(0, 0x1E, plays));
    m_tab.LoadList();
    m_tab.ShowTab(true, stored.id);

    prompt.answer = IDNO;
    m_tab.OnCommand(1018);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(m_tab.List().size(), 1u);

    // A macro added since the list was loaded is never asked about.
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1018);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(m_tab.List().size(), 1u);
    EXPECT_EQ(m_tab.Selected(), 0);

    prompt.answer = IDYES;
    m_tab.OnCommand(1018);
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_TRUE(m_tab.List().empty());
    EXPECT_EQ(m_tab.Selected(), -1);
    EXPECT_FALSE(m_tab.Button(1020)->isEnabled());
}

TEST_F(MacroTabTest, RepeatCountIsKeptBetweenOneAnd255) {
    m_tab.OnCommand(1017);
    QLineEdit* loops = m_tab.LoopEdit();
    loops->setText("300");
    EXPECT_EQ(loops->text(), "255");
    loops->setText("-4");
    EXPECT_EQ(loops->text(), "1");
    loops->clear();
    QTest::keyClicks(loops, "x7-");
    EXPECT_EQ(loops->text(), "7") << "only digits can be typed";
    m_tab.OnCommand(1017); // stores the shown macro first
    EXPECT_EQ(m_tab.List()[0].repeat, 7);
    // Emptied while the user types: left alone, and stored as 1, never 0.
    loops->setText("");
    EXPECT_EQ(loops->text(), "");
    m_tab.OnCommand(1017);
    EXPECT_EQ(m_tab.List()[1].repeat, 1);
}

TEST_F(MacroTabTest, CellEditsClampDelaysAndChangeKeysAndDirections) {
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1100, 10);
    CReportCtrl* list = m_tab.Actions();
    // Opening a delay cell stops recording.
    list->BeginEdit(0, 2);
    EXPECT_FALSE(m_tab.Recording());
    list->EditBox()->setText("50000");
    list->EndEdit(true);
    EXPECT_EQ(m_tab.Rows()[0].delay, 40000u);
    EXPECT_EQ(list->GetItemText(0, 2), "40000");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find("40000"), std::string::npos);
    list->BeginEdit(0, 2);
    list->EditBox()->setText("1237");
    list->EndEdit(true);
    EXPECT_EQ(m_tab.Rows()[0].delay, 1230u);

    list->BeginEdit(1, 0);
    ASSERT_TRUE(list->DropDown());
    EXPECT_EQ(list->DropDown()->count(), 106);
    EXPECT_EQ(list->DropDown()->maxVisibleItems(), 20);
    list->DropDown()->setCurrentIndex(static_cast<int>(ScanCodeToKeyId(0x030)));
    list->EndEdit(true);
    EXPECT_EQ(m_tab.Rows()[1].scanCode, 0x030);
    EXPECT_EQ(list->GetItemText(1, 0).toStdString(), GetKeyName(0x030));

    list->BeginEdit(1, 1);
    list->DropDown()->setCurrentIndex(0);
    list->EndEdit(true);
    EXPECT_EQ(m_tab.Rows()[1].transition, kActionPress);
}

TEST_F(MacroTabTest, RowsStopAt4000AndMoveDeleteAndClearKeepTheirActions) {
    m_tab.OnCommand(1017);
    for (int i = 0; i < 4001; ++i)
        m_tab.AddActionRow({static_cast<uint32_t>(i), 0x01E, 0}, {.keepDelay = true});
    EXPECT_EQ(m_tab.Rows().size(), 4000u);
    EXPECT_EQ(m_tab.Actions()->GetItemCount(), 4000);

    CReportCtrl* list = m_tab.Actions();
    list->SelectItem(3);
    m_tab.OnCommand(1023); // to the top
    EXPECT_EQ(m_tab.Rows()[0].delay, 3u);
    EXPECT_EQ(list->GetFirstSelectedItem(), 0);
    m_tab.OnCommand(1026); // to the bottom
    EXPECT_EQ(m_tab.Rows()[3999].delay, 3u);
    EXPECT_EQ(list->GetItemText(3999, 2), "3");
    m_tab.OnCommand(1021); // the last row goes; the one before is selected
    EXPECT_EQ(m_tab.Rows().size(), 3999u);
    EXPECT_EQ(list->GetFirstSelectedItem(), 3998);

    prompt.answer = IDNO;
    m_tab.OnCommand(1022);
    EXPECT_EQ(m_tab.Rows().size(), 3999u);
    EXPECT_EQ(prompt.styles.back() & MB_DEFBUTTON2, MB_DEFBUTTON2);
    prompt.answer = IDYES;
    m_tab.OnCommand(1022);
    EXPECT_TRUE(m_tab.Rows().empty());
}

TEST_F(MacroTabTest, CancelDropsEditsAndApplyStoresThem) {
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1100, 10);
    m_tab.FreeAll();
    EXPECT_EQ(g_ConfigStore.MacroCount(), 0u);

    m_tab.LoadList();
    m_tab.ShowTab(true, 0);
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1100, 10);
    ASSERT_TRUE(m_tab.StoreList(window_));
    EXPECT_FALSE(m_tab.Recording());
    const MacroList stored = g_ConfigStore.Macros();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].newFlag, 0);
    EXPECT_EQ(stored[0].actionCount, 2);
    EXPECT_EQ(stored[0].actions[1].transition, kActionRelease);
    // Applied macros are asked about from now on.
    EXPECT_EQ(m_tab.List()[0].newFlag, 0);
}

// Laid out from the shipped composite skin with the macro pictures: every
// control in its place inside the window, the list headed in the language's
// texts. With ORVANE_SHOT_DIR set the tab is also saved as a picture.
TEST_F(MacroTabTest, ControlsSitAtTheirSkinPlacesWithTheMacroPictures) {
    const std::string skins = std::string(ORVANE_BIN_DIR) + "/Skins/";
    std::array<CSkinFace, 4> pictures;
    const char* files[4] = {"macro_normal.jpg", "macro_over.jpg", "macro_down.jpg", "macro_disable.jpg"};
    for (size_t i = 0; i < pictures.size(); ++i)
        pictures[i].SetPixmap(QPixmap(QString::fromStdString(skins + files[i])));
    if (pictures[0].IsEmpty()) GTEST_SKIP() << "the skins are not built";
    const QRect window(QPoint(0, 0), pictures[0].Pixmap().size());
    m_dialog.setFixedSize(window.size());
    m_tab.Layout(skins + "Composite.ini",
                 {&pictures[0], &pictures[1], &pictures[2], &pictures[3], &pictures[2]});
    m_tab.ApplyTexts(0);
    m_tab.SetVisible(true);
    m_tab.OnCommand(1017);
    m_tab.OnCommand(1020);
    Tap(kNativeA, 1100, 10);
    m_tab.StopRecording();

    for (int id : {1017, 1018, 1020, 1021, 1022, 1023, 1024, 1025, 1026}) {
        CPngButton* button = m_tab.Button(id);
        EXPECT_TRUE(window.contains(button->geometry())) << id;
        EXPECT_TRUE(button->isEnabled()) << id;
        EXPECT_EQ(button->Face(FACE_NORMAL), &pictures[0]) << id;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{m_tab.MacroCombo(), m_tab.LoopEdit(), m_tab.Actions(),
                                                      m_tab.RecordDelayBox()}) {
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(window.contains(w->geometry())) << w->metaObject()->className();
        EXPECT_GT(w->width(), 1);
    }
    CReportCtrl* list = m_tab.Actions();
    EXPECT_EQ(list->columnWidth(2), 63);
    EXPECT_EQ(list->horizontalHeaderItem(2)->text().toStdString(), LoadText("MACRO_DELAY_MS", 0));
    EXPECT_EQ(m_tab.Button(1020)->text().toStdString(), LoadText("MACRO_ACTION_RECORD", 0));
    if (const QByteArray dir = qgetenv("ORVANE_SHOT_DIR"); !dir.isEmpty())
        m_dialog.grab().save(QString::fromLocal8Bit(dir) + "/macro_tab.png");
}

} // namespace
} // namespace orvane::test
