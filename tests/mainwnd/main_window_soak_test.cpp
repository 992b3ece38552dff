// The whole window over the simulated keyboard through many unplug and replug
// cycles, with the key dialog open at some of the unplugs: nothing may crash,
// hang or keep file descriptors or threads from one connection to the next.
// ORVANE_SOAK_CYCLES sets the number of cycles (200 by default).
#include <cstdlib>
#include <QThreadPool>
#include <string>

#include "device/ConnectionMonitor.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/OpenComposite.h"
#include "mainwnd/support/MainWindowFixture.h"
#include "services/WindowMessages.h"
#include "sim/SimInstall.h"
#include "support/ProcessCounts.h"

using namespace orvane;

namespace {

using CCountingPrompt = orvane::testing::CRecordingPrompt;

int SoakCycles() {
    constexpr int kDefault = 200;
    const char* text = std::getenv("ORVANE_SOAK_CYCLES");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : kDefault;
}

// The first key button that has a key to edit.
int FirstKeyButton() {
    for (int id = 1010; id <= 1120; ++id)
        if (CompositeKeyIndexForButton(id, false) >= 0) return id;
    return -1;
}

// Drives the cycles from the window's own event loop, one step per tick, and
// ends the run when done.
class CSoak {
  public:
    CSoak(COrvaneDlg& window, CSimKeyboard& sim, int cycles)
        : m_window(window), m_sim(sim), m_cycles(cycles) {}

    // What the process holds; Qt's pooled workers come and go on their own
    // (they end after 30 s idle): ended first, and left out of the count.
    struct CHeld {
        int fds = 0, threads = 0;
        std::string fdList, threadList;
        void Take() {
            QThreadPool::globalInstance()->waitForDone();
            fds = orvane::testing::OpenFdCount();
            fdList = orvane::testing::OpenFdTargets();
            threads = orvane::testing::ThreadCount(false);
            threadList = orvane::testing::ThreadNames();
        }
    } atStart, atEnd;
    int cyclesDone = 0, dialogsOpened = 0, dialogsLeftOpen = 0, shownWhileGone = 0;

    void Tick() {
        switch (m_step) {
        case Step::FirstConnection:
            if (ConnectedState() != 1 || !m_window.isVisible()) return;
            atStart.Take();
            NextCycle();
            return;
        case Step::OpenDialog:
            // Outside the tick, whose timer does not fire again while its
            // slot runs: the dialog's modal loop keeps ticking, and the
            // unplug must close it.
            m_step = Step::DialogShown;
            QTimer::singleShot(0, [this] {
                m_window.OnCommand(m_keyButton);
                if (OpenCompositeDialog()) ++dialogsLeftOpen;
            });
            return;
        case Step::DialogShown: {
            Orvane_DlgComposite* dialog = OpenCompositeDialog();
            if (!dialog || !dialog->isVisible()) return;
            ++dialogsOpened;
            Unplug();
            return;
        }
        case Step::Unplug:
            Unplug();
            return;
        case Step::WaitGone:
            if (ConnectedState() != 0) return;
            m_step = Step::Replug;
            return;
        case Step::Replug:
            // The window has gone with the keyboard.
            if (m_window.isVisible()) ++shownWhileGone;
            m_sim.Plug();
            m_step = Step::WaitBack;
            return;
        case Step::WaitBack:
            if (ConnectedState() != 1) return;
            m_window.Bridge().SendMessage(UM_OPEN, TAG_OPEN, 0);
            m_step = Step::WaitShown;
            return;
        case Step::WaitShown:
            // Asked for while the keyboard is read, the window shows once it
            // has been read; one that never shows ends in the hang below.
            if (!m_window.isVisible()) return;
            ++cyclesDone;
            NextCycle();
            return;
        case Step::Done:
            return;
        }
    }

  private:
    enum class Step {
        FirstConnection,
        OpenDialog,
        DialogShown,
        Unplug,
        WaitGone,
        Replug,
        WaitBack,
        WaitShown,
        Done
    };

    void NextCycle() {
        if (cyclesDone == m_cycles) {
            atEnd.Take();
            m_step = Step::Done;
            m_window.Bridge().PostMessage(UM_KILL, TAG_KILL, 0);
            return;
        }
        // The key dialog is open at every third unplug.
        m_step = cyclesDone % 3 == 1 ? Step::OpenDialog : Step::Unplug;
    }
    void Unplug() {
        m_sim.Unplug();
        m_step = Step::WaitGone;
    }

    COrvaneDlg& m_window;
    CSimKeyboard& m_sim;
    const int m_cycles;
    const int m_keyButton = FirstKeyButton();
    Step m_step = Step::FirstConnection;
};

using MainWindowSoak = orvane::testing::WindowTest;

TEST_F(MainWindowSoak, UnplugAndReplugLeavesNoDescriptorsThreadsOrDialogsBehind) {
    ASSERT_GE(FirstKeyButton(), 0);
    CSimKeyboard& sim = InstallSimulatedKeyboard(128);
    COrvaneDlg window({}, system);
    ASSERT_FALSE(window.EndProcessRequested());
    CCountingPrompt prompt;
    SetPrompt(&prompt);
    window.EnableDeviceThreads();

    CSoak soak(window, sim, SoakCycles());
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { soak.Tick(); });
    ticker.start(1);
    // Only a hang reaches this: it ends the run so the counts below say where.
    QTimer::singleShot(600000, [&] {
        ADD_FAILURE() << "the soak hung after " << soak.cyclesDone << " cycles";
        CancelCompositeDialog();
        window.CloseProgram();
    });
    window.RunModal();
    ticker.stop();
    StopDeviceThreads();
    SetPrompt(nullptr);

    EXPECT_EQ(soak.cyclesDone, SoakCycles());
    EXPECT_TRUE(window.ShutdownDone());
    EXPECT_EQ(soak.dialogsOpened, (SoakCycles() + 1) / 3);
    EXPECT_EQ(soak.dialogsLeftOpen, 0);
    EXPECT_EQ(soak.shownWhileGone, 0);
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front();
    EXPECT_EQ(soak.atEnd.fds, soak.atStart.fds)
        << "at start: " << soak.atStart.fdList << "\nat end: " << soak.atEnd.fdList;
    EXPECT_EQ(soak.atEnd.threads, soak.atStart.threads)
        << "at start: " << soak.atStart.threadList << "\nat end: " << soak.atEnd.threadList;
}

} // namespace
