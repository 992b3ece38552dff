#include "ui/GuiThread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <string>
#include <thread>

#include "support/TestApp.h"
#include "ui/support/UiTestSupport.h"

using namespace orvane;

namespace {

// Runs a loop on the GUI thread until `worker` has ended and its last post
// quit the loop; the watchdog only turns a deadlock into a failure.
void RunUntilDone(const std::function<void()>& worker) {
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread thread([&] {
        worker();
        done = true;
        PostToGuiThread([&loop] { loop.quit(); });
    });
    QTimer::singleShot(60000, &loop, [&loop] { loop.exit(1); });
    const int exitCode = loop.exec();
    thread.join();
    ASSERT_EQ(exitCode, 0) << "the GUI thread never got the worker's work";
    ASSERT_TRUE(done.load());
}

TEST(GuiThread, WorkersPostAndWaitInOrderOnTheGuiThread) {
    orvane::testing::TestApp();
    QThread* gui = QThread::currentThread();
    std::string order;
    bool offThread = false;
    int answer = 0;
    RunUntilDone([&] {
        EXPECT_FALSE(OnGuiThread());
        for (char c : std::string("abc"))
            PostToGuiThread([&, c] {
                offThread |= QThread::currentThread() != gui;
                order += c;
            });
        // Waited for: behind the posts, and its result is the caller's.
        answer = CallOnGuiThread<int>([&] {
            offThread |= QThread::currentThread() != gui;
            order += 'W';
            // Asked again from the GUI thread itself: runs at once.
            return CallOnGuiThread<int>([] { return 41; }) + 1;
        });
        ShowOnGuiThread([&] { order += 's'; });
    });
    EXPECT_EQ(order, "abcWs");
    EXPECT_EQ(answer, 42);
    EXPECT_FALSE(offThread);
}

TEST(GuiThread, OnTheGuiThreadRunAndShowAreAtOnceAndPostIsQueued) {
    orvane::testing::TestApp();
    std::string order;
    RunUntilDone([&] {
        RunOnGuiThread([&] {
            PostToGuiThread([&] { order += "posted "; });
            ShowOnGuiThread([&] { order += "shown "; });
            EXPECT_TRUE(RunOnGuiThread([&] { order += "run "; }));
        });
    });
    EXPECT_EQ(order, "shown run posted ");
}

TEST(GuiThread, WorkIsServedWhileTheGuiThreadWaitsInANestedLoop) {
    orvane::testing::TestApp();
    // As a transfer does it: the GUI thread waits in a loop of its own
    // (taking no user input) while the worker asks it for widget work.
    bool workerServed = false;
    PostToGuiThread([&] {
        QEventLoop nested;
        std::thread worker([&] {
            EXPECT_TRUE(RunOnGuiThread([&] { workerServed = true; }));
            PostToGuiThread([&nested] { nested.quit(); });
        });
        nested.exec(QEventLoop::ExcludeUserInputEvents);
        worker.join();
    });
    RunUntilDone([] {});
    EXPECT_TRUE(workerServed);

    // Queued together: the second piece runs inside the loop the first
    // waits in (as a message box does), with nothing queued after them.
    QEventLoop* waitingIn = nullptr;
    int nestedExit = -1;
    bool secondInside = false;
    PostToGuiThread([&] {
        QEventLoop nested;
        waitingIn = &nested;
        QTimer::singleShot(60000, &nested, [&nested] { nested.exit(1); });
        nestedExit = nested.exec();
        waitingIn = nullptr;
    });
    PostToGuiThread([&] {
        secondInside = waitingIn != nullptr;
        if (waitingIn) waitingIn->quit();
    });
    QEventLoop outer;
    PostToGuiThread([&outer] { outer.quit(); });
    outer.exec();
    EXPECT_TRUE(secondInside);
    EXPECT_EQ(nestedExit, 0);
}

TEST(GuiThread, AClosedTargetsWorkNeverRunsAndReleasesItsWaiters) {
    orvane::testing::TestApp();
    bool ran = false;
    {
        CGuiThreadTarget window;
        PostToGuiThread([&] { ran = true; }, &window); // still queued when the window goes
        window.Close();
        std::thread worker([&] { EXPECT_FALSE(RunOnGuiThread([&] { ran = true; }, &window)); });
        worker.join();
    }
    RunUntilDone([] {}); // the dropped work's turn comes and finds nothing
    EXPECT_FALSE(ran);
}

} // namespace
