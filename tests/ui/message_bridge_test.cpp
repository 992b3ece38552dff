#include "ui/MessageBridge.h"

#include <atomic>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <thread>
#include <unistd.h>

#include "app/InstanceProtocol.h"
#include "services/WindowMessages.h"
#include "support/TempDir.h"
#include "support/TestApp.h"
#include "ui/BridgeWindowLink.h"
#include "ui/InstanceSocket.h"

using namespace orvane;

namespace {

TEST(MessageBridge, SendFromWorkerIsHandledOnGuiThreadAndReturnsTheResult) {
    orvane::testing::TestApp();
    CMessageBridge bridge;
    QThread* gui = QThread::currentThread();
    std::atomic<int> wrongThread{0};
    bridge.OnMessage(0x400, [&](uintptr_t w, intptr_t l) -> intptr_t {
        if (QThread::currentThread() != gui) ++wrongThread;
        // On the GUI thread a send runs at once, even from inside a handler.
        return bridge.SendMessage(0x401, w, l) + 1;
    });
    bridge.OnMessage(0x401, [](uintptr_t w, intptr_t l) -> intptr_t { return static_cast<intptr_t>(w) * l; });

    std::atomic<bool> finished{false};
    std::vector<intptr_t> results;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            results.push_back(bridge.SendMessage(0x400, static_cast<uintptr_t>(i), -3));
        finished = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.load(); }, 20000));
    worker.join();
    EXPECT_EQ(wrongThread, 0);
    ASSERT_EQ(results.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(results[static_cast<size_t>(i)], i * -3 + 1);
    EXPECT_EQ(bridge.SendMessage(0x999, 1, 2), 0); // no handler
}

TEST(MessageBridge, PostedMessagesArriveInOrderFromEveryThread) {
    orvane::testing::TestApp();
    CMessageBridge bridge;
    std::vector<uintptr_t> fromA, fromB;
    bridge.OnMessage(0x500, [&](uintptr_t w, intptr_t l) -> intptr_t {
        (l == 0 ? fromA : fromB).push_back(w);
        return 0;
    });
    std::thread a([&] {
        for (uintptr_t i = 0; i < 2000; ++i)
            bridge.PostMessage(0x500, i, 0);
    });
    std::thread b([&] {
        for (uintptr_t i = 0; i < 2000; ++i)
            bridge.PostMessage(0x500, i, 1);
    });
    a.join();
    b.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fromA.size() == 2000 && fromB.size() == 2000; }, 20000));
    for (uintptr_t i = 0; i < 2000; ++i) {
        ASSERT_EQ(fromA[i], i);
        ASSERT_EQ(fromB[i], i);
    }
}

TEST(MessageBridge, TimersSetAndKilledFromWorkersTickOnTheGuiThread) {
    orvane::testing::TestApp();
    CMessageBridge bridge;
    QThread* gui = QThread::currentThread();
    std::map<uint32_t, int> ticks;
    bool offThread = false;
    bridge.OnTimer([&](uint32_t id) {
        offThread |= QThread::currentThread() != gui;
        ++ticks[id];
        if (id == KEYBOARD_RESET_TIMER) bridge.KillTimer(id); // one-shot, as the window uses it
    });
    std::thread([&] {
        bridge.SetTimer(PREVIEW_TIMER, 5);
        bridge.SetTimer(KEYBOARD_RESET_TIMER, 5);
    }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks[PREVIEW_TIMER] >= 3; }, 20000));
    EXPECT_TRUE(bridge.TimerActive(PREVIEW_TIMER));
    EXPECT_FALSE(bridge.TimerActive(KEYBOARD_RESET_TIMER));
    EXPECT_EQ(ticks[KEYBOARD_RESET_TIMER], 1);

    std::thread([&] { bridge.KillTimer(PREVIEW_TIMER); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bridge.TimerActive(PREVIEW_TIMER); }, 20000));
    const int stopped = ticks[PREVIEW_TIMER];
    // Another timer of the same period ticking a few times gave the stopped one its chances.
    bridge.SetTimer(LIGHTING_CHANGED_TIMER, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks[LIGHTING_CHANGED_TIMER] >= 3; }, 20000));
    EXPECT_EQ(ticks[PREVIEW_TIMER], stopped);
    EXPECT_FALSE(offThread);
}

TEST(MessageBridge, TaggedHandlersIgnoreAnyOtherWParam) {
    orvane::testing::TestApp();
    orvane::testing::CTempDir dir;
    orvane::testing::CScopedEnv trace("ORVANE_TRACE_MESSAGES", dir.File("trace"));
    CMessageBridge bridge;
    int opened = 0;
    bridge.OnTaggedMessage(UM_OPEN, TAG_OPEN, [&](intptr_t) -> intptr_t { return ++opened; });

    EXPECT_EQ(bridge.SendMessage(UM_OPEN, TAG_KILL, 0), 0);
    EXPECT_EQ(bridge.SendMessage(UM_OPEN, 0, 0), 0);
    EXPECT_EQ(bridge.SendMessage(UM_OPEN, TAG_OPEN | (uintptr_t{1} << 40), 0), 0);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(bridge.SendMessage(UM_OPEN, TAG_OPEN, 0), 1);
    EXPECT_EQ(orvane::testing::ReadText(dir.File("trace")), "5350 4f50454e 0\n");
}

TEST(MessageBridge, SendersAreReleasedWhenTheWindowGoesAway) {
    orvane::testing::TestApp();
    auto bridge = std::make_unique<CMessageBridge>();
    bridge->OnMessage(0x600, [](uintptr_t, intptr_t) -> intptr_t { return 5; });
    std::shared_ptr<CBridgeCore> core = bridge->Core();
    CBridgeWindowLink link;
    link.Attach(core);

    // The window goes away while a send waits for it, before the GUI thread
    // has run anything: the sender must be released, not left waiting, and
    // the handler must never run.
    std::atomic<bool> sending{false};
    intptr_t result = -1;
    std::thread worker([&] {
        sending = true;
        result = link.SendWindowMessage(0x600, 0, 0);
    });
    while (!sending.load())
        std::this_thread::yield();
    bridge.reset();
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(core->Alive());
    EXPECT_EQ(link.SendWindowMessage(0x600, 0, 0), 0);
    link.PostWindowMessage(0x600, 0, 0);
    link.SetWindowTimer(PREVIEW_TIMER, 10);
    link.ShowMessage("nobody listens");
}

TEST(InstanceSocket, AnotherProcessReachesOnlyTheInstanceMessages) {
    orvane::testing::TestApp();
    orvane::testing::CTempHome home;
    CMessageBridge bridge;
    int opened = 0, inits = 0;
    bridge.OnTaggedMessage(UM_OPEN, TAG_OPEN, [&](intptr_t) -> intptr_t { return 10 + ++opened; });
    bridge.OnTaggedMessage(UM_INIT, TAG_INIT, [&](intptr_t) -> intptr_t { return ++inits; });

    const std::string path = InstanceSocketPath(getpid());
    orvane::testing::WriteText(path, "left by a crashed copy");
    CInstanceSocket socket(bridge);
    ASSERT_TRUE(socket.Open());
    EXPECT_EQ(QFileInfo(socket.Path()).permissions() &
                  (QFile::ReadGroup | QFile::WriteOther | QFile::ReadOther),
              QFile::Permissions());

    auto ask = [&](uint32_t message, uintptr_t wParam) {
        std::optional<int64_t> answer;
        std::atomic<bool> done{false};
        std::thread client([&] {
            CInstanceRequest r;
            r.message = message;
            r.wParam = wParam;
            answer = SendToInstance(getpid(), r);
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
        client.join();
        return answer;
    };
    EXPECT_EQ(ask(UM_OPEN, TAG_OPEN), 11);
    EXPECT_EQ(ask(UM_OPEN, TAG_KILL), 0);
    EXPECT_EQ(ask(UM_INIT, TAG_INIT), 0); // not for other processes
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(inits, 0);

    socket.Close();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
    EXPECT_FALSE(ask(UM_OPEN, TAG_OPEN));
}

} // namespace
