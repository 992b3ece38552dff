// The main window over the simulated keyboard: what a connection and a
// reconnection read, Apply and the profile buttons while the keyboard is slow
// or fails, the lighting read back, the preview, and the window without a
// mouse.
#include <filesystem>
#include <functional>
#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <set>
#include <utility>

#include "dialogs/COrvane_DlgProfile.h"
#include "dialogs/ProfileNames.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/KeyboardView.h"
#include "mainwnd/MainWindowIds.h"
#include "mainwnd/support/MainWindowFixture.h"
#include "model/ConfigStore.h"
#include "model/LightingModel.h"
#include "model/PreviewLights.h"
#include "model/ProfileFile.h"
#include "services/Language.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"
#include "sim/SimFaults.h"
#include "support/SimFaultCases.h"
#include "transfer/ActiveProfile.h"
#include "transfer/KeyboardBackup.h"
#include "ui/ControlMessages.h"
#include "ui/FadingNote.h"
#include "ui/KeyFocusGroup.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"

namespace orvane::testing {
namespace {

constexpr int kKeyA = 0x1E;

bool ProfileButtonsCheck(COrvaneDlg& window, int profile) {
    for (int p = 0; p < 3; ++p)
        if (window.Button(IDC_PROFILE_1 + p)->IsChecked() != (p == profile)) return false;
    return true;
}

// How often a 10 ms timer of the window's thread fired while `run` ran;
// `each` runs at every tick.
int TicksDuring(
    const std::function<void()>& run, const std::function<void()>& each = [] {}) {
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        each();
    });
    tick.start(10);
    run();
    return ticks;
}

CPngButton* KeyNamed(COrvaneDlg& window, const std::string& name) {
    for (auto* b : window.findChildren<CPngButton*>())
        if (CKeyboardView::OwnKeyName(ControlIdOf(b)) == name) return b;
    return nullptr;
}

TEST_F(ConnectedWindow, OpenAskedWhileTheKeyboardIsReadShowsTheWindowAfterwards) {
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

TEST_F(ConnectedWindow, ASlowApplyKeepsTheWindowPaintingThroughAResetWhichFollowsOnceItIsDone) {
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
    window->SetApplyPending(true);
    const int ticks = TicksDuring([&] { window->OnCommand(IDC_APPLY); }, [&] { window->update(); });
    const std::vector<int> during = frames;
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
}

TEST_F(ConnectedWindow, AnExitDuringASlowApplyEndsTheProgramOnceTheApplyIsDone) {
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
}

TEST_F(ConnectedWindow, AConnectionLoadsTheKeyboardsProfileChecksOnlyItsButtonAndNamesItWhole) {
    ASSERT_EQ(SetActiveProfile(2), 1);
    ASSERT_TRUE(SetProfileName(2, "Racing"));
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

    // The profiles button and the tray tip name the profile in use.
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

    // Each connection links the paint flags anew, whatever a flag held.
    ASSERT_TRUE(DeviceOffersMode(kMaxLightingMode));
    CLightingModel& lighting = TheLighting();
    const KeyButton q = KeyButtonAt(0);
    const int linked =
        lighting.KeyColour(1, CLightingModel::LedOfButton(q)) == lighting.LinkedPaintColour() ? 1 : 0;
    lighting.SetPaintFlag(1, q, 1 - linked);
    window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
    EXPECT_EQ(lighting.PaintFlag(1, q), linked);
}

TEST_F(ConnectedWindow, AReconnectionKeepsUnsentChangesAndSaysWhenTheKeyboardCannotBeRead) {
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
    const std::string file = ReadText(WorkingProfilePath(active));
    const std::string backup = KeyboardBackupPath(active);

    std::vector<std::optional<SimFault::Kind>> faults = {std::nullopt};
    for (const SimFaultCase& fault : kRequestFaults)
        faults.push_back(fault.kind);
    for (const std::optional<SimFault::Kind>& fault : faults) {
        SCOPED_TRACE(fault ? static_cast<int>(*fault) : -1);
        prompt.shown.clear();
        std::filesystem::remove(backup);
        SetActiveProfileCache(-1); // as after a reconnection
        if (fault) FailRequest(sim, *fault, sim.RequestCount() + 1);
        window->Bridge().SendMessage(UM_PROFILE, TAG_PROF, 0);
        sim.ClearFaults();
        EXPECT_EQ(g_ConfigStore.Records(), records);
        EXPECT_EQ(ReadText(WorkingProfilePath(active)), file);
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
}

TEST_F(ConnectedWindow, ChangedLightingAndAResetAreReadBackOnceEach) {
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
    TicksDuring(
        [&] {
            window->Bridge().SetTimer(LIGHTING_CHANGED_TIMER, 0);
            EXPECT_TRUE(QTest::qWaitFor([&] { return refreshes > 0; }, 30000));
        },
        [&] { ticksWhileRead += sim.RequestCount() >= first && refreshes == 0; });
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
}

// The keyboard says its lighting changed, but reading it back fails in each
// way a keyboard can: the user is told, and the lighting shown stays what
// was last read rather than a record half read.
TEST_F(ConnectedWindow, AFailedLightingReadBackIsToldAndKeepsWhatWasRead) {
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
    for (const SimFaultCase& fault : kRequestFaults) {
        SCOPED_TRACE(fault.name);
        FailRequest(sim, fault.kind, sim.RequestCount() + 3 + static_cast<uint32_t>(profile));
        window->Bridge().SetTimer(LIGHTING_CHANGED_TIMER, 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt.shown.empty(); }, 10000));
        sim.ClearFaults();
        EXPECT_EQ(prompt.shown, std::vector<std::string>{LightText("READ_FAILED")});
        prompt.shown.clear();
        EXPECT_EQ(TheLighting().LightingArea(), area);
        EXPECT_EQ(TheLighting().Settings().mode, kept.mode);
    }
}

TEST_F(ConnectedWindow, ASentApplyConfirmsWithoutAClickInTheWindowOrFromTheTray) {
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
}

TEST_F(ConnectedWindow, AProfileButtonThatAppliesFirstAndTheManagersOkKeepTheWindowRunning) {
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
    const int ticks = TicksDuring([&] { window->OnCommand(IDC_PROFILE_2); });
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
    EXPECT_GT(TicksDuring([&] { manager->OnOK(); }), 5)
        << "the window's own timers ran while the manager switched";
    EXPECT_FALSE(manager->IsOpen());
    SetActiveProfileCache(-1);
    EXPECT_EQ(GetActiveProfile(), 2);
}

TEST_F(ConnectedWindow, ThePreviewRunsOnlyWhileSomeoneCanSeeIt) {
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
}

TEST_F(ConnectedWindow, WithoutAMouseTabReachesEveryControlArrowsWalkTheKeysAndAllAreNamed) {
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
}

} // namespace
} // namespace orvane::testing
