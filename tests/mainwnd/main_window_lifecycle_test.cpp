// The main window's run: hidden at the start, opened and ended only by the
// tagged messages, and a second copy that ends before it makes a window.
#include <atomic>
#include <thread>
#include <unistd.h>

#include "app/InstanceProtocol.h"
#include "mainwnd/support/MainWindowFixture.h"
#include "services/AutoShowLatch.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"

using namespace orvane;

namespace {

using MainWindowLifecycle = orvane::testing::WindowTest;

TEST_F(MainWindowLifecycle, StartsHiddenOpensOnUmOpenAndOnlyUmKillEndsTheRun) {
    std::optional<COrvaneDlg> window;
    window.emplace(std::vector<std::string>{"/Start"}, system);
    ASSERT_FALSE(window->EndProcessRequested());
    window->SetKeyboardPresence([] { return true; });
    EXPECT_EQ(AutoShowLatch().load(), 1);
    EXPECT_TRUE(InstanceMutex().Owned());

    std::vector<std::string> steps;
    std::atomic<intptr_t> workerResult{-1};
    std::thread worker;
    QTimer::singleShot(0, [&] {
        steps.push_back(window->isVisible() ? "visible" : "hidden");
        EXPECT_EQ(window->WindowTag(), MAIN_WINDOW_TAG);
        EXPECT_EQ(access(InstanceSocketPath(getpid()).c_str(), F_OK), 0); // the tagged window listens

        window->Bridge().SendMessage(UM_OPEN, TAG_KILL, 0); // wrong tag
        steps.push_back(window->isVisible() ? "visible" : "hidden");
        window->Bridge().SendMessage(UM_OPEN, TAG_OPEN, 0);
        steps.push_back(window->isVisible() ? "visible" : "hidden");
        const WId shownAs = window->winId();
        // Cancel and a window-manager close only hide; the program runs on.
        window->OnCancel();
        steps.push_back(window->isVisible() ? "visible" : "hidden");
        window->Bridge().SendMessage(UM_OPEN, TAG_OPEN, 0);
        // Shown again as the same native window, so it keeps its place and type.
        EXPECT_EQ(window->winId(), shownAs);
        EXPECT_EQ(window->windowType(), Qt::Dialog);
        window->close();
        steps.push_back(window->isVisible() ? "visible" : "hidden");
        window->Bridge().SendMessage(UM_KILL, TAG_OPEN, 0); // wrong tag: ignored

        // The device side ends it from its own thread, through the process-wide link.
        worker =
            std::thread([&] { workerResult = GetMainWindowLink()->SendWindowMessage(UM_KILL, TAG_KILL, 0); });
    });
    QTimer::singleShot(30000, [&] {
        ADD_FAILURE() << "the run did not end";
        window->CloseProgram();
    });
    window->RunModal();
    worker.join();

    EXPECT_EQ(steps, (std::vector<std::string>{"hidden", "hidden", "visible", "hidden", "hidden"}));
    EXPECT_EQ(workerResult.load(), 0);
    EXPECT_TRUE(window->ShutdownDone());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(InstanceMutex().HasHandle());
    EXPECT_NE(access(InstanceSocketPath(getpid()).c_str(), F_OK), 0);

    // After the window is gone a late device thread gets quiet no-ops.
    window.reset();
    std::thread late([] {
        MainWindowLink* link = GetMainWindowLink();
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->SendWindowMessage(UM_OPEN, TAG_OPEN, 0), 0);
        link->PostWindowMessage(UM_OPEN, TAG_OPEN, 0);
        link->SetWindowTimer(LIGHTING_CHANGED_TIMER, 10);
        link->ShowMessage("late");
    });
    late.join();
}

TEST_F(MainWindowLifecycle, SecondCopyEndsInItsConstructorWithoutAWindow) {
    COrvaneDlg running({}, system);
    ASSERT_FALSE(running.EndProcessRequested());

    CInstanceMutex::Result seen{};
    class CSecond final : public CInstanceSystem {
      public:
        explicit CSecond(CInstanceMutex::Result& seen) : seen_(seen) {}
        pid_t FindOtherInstance() override { return 99; }
        void SendToInstance(pid_t, uint32_t message, uintptr_t) override { sent = message; }
        bool WaitForInstanceEnd(pid_t) override { return true; }
        CInstanceMutex::Result OpenOrCreateMutex() override {
            CInstanceMutex probe;
            return seen_ = probe.OpenOrCreate(InstanceLockPath());
        }
        void StartCompanion() override { ADD_FAILURE() << "a second copy must not start the companion"; }
        uint32_t sent = 0;

      private:
        CInstanceMutex::Result& seen_;
    } secondSystem(seen);
    COrvaneDlg second({}, secondSystem);
    EXPECT_TRUE(second.EndProcessRequested());
    EXPECT_EQ(seen, CInstanceMutex::Result::AlreadyExists);
    EXPECT_EQ(secondSystem.sent, UM_OPEN);
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(second.WindowTag(), 0u);
    InstanceMutex().Close();
}

} // namespace
