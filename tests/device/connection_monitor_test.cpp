// The connection monitor and the consumer listener as the main window sees
// them, with the simulated keyboard plugged in and out under them.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "device/ConnectionMonitor.h"
#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceThreadControl.h"
#include "device/HidPath.h"
#include "device/support/Descriptors.h"
#include "device/support/FakeHidraw.h"
#include "services/AutoShowLatch.h"
#include "services/Language.h"
#include "services/WindowMessages.h"
#include "sim/SimFirmware.h"
#include "sim/SimKeyboard.h"
#include "support/ProcessCounts.h"
#include "support/Programs.h"
#include "support/RecordingLink.h"

namespace orvane::test {
namespace {

using testing::CRecordingLink;
using testing::WaitFor;

using namespace std::chrono_literals;

// Every message is posted: the monitor never waits for the window.
const std::string kProfile = "post 5452", kGone = "post 4753", kOpen = "post 5350";

class MonitorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDeviceThreadState();
        SetModelParameters(0x0C45, 0x5004);
        sim.SetRecording(true);
        SetHidBackend(&sim);
        SetMainWindowLink(&link);
    }
    void TearDown() override {
        StopThreads();
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetMainWindowLink(nullptr);
        SetHidBackend(nullptr);
        ResetDeviceThreadState();
        AutoShowLatch().store(0);
    }
    void StopThreads() {
        StopDeviceThreads();
        for (auto& t : threads)
            t.join();
        threads.clear();
    }
    void Start(bool startedWithStart) {
        AutoShowLatch().store(startedWithStart ? 1 : 0);
        threads.emplace_back(ConsumerListenerThread);
        threads.emplace_back(ConnectionMonitorThread);
    }
    std::vector<uint8_t> Commands() {
        std::vector<uint8_t> out;
        for (const auto& r : sim.Recorded())
            if (r.Direction == '>') out.push_back(r.Bytes[3]);
        return out;
    }
    std::string Path(unsigned node, unsigned col) {
        return MakeInterfacePath("sim:hidraw" + std::to_string(node), sim.VendorID(), sim.ProductID(), col);
    }

    CSimKeyboard sim{128};
    CRecordingLink link;
    std::vector<std::thread> threads;
};

TEST(DeviceDiscovery, PathPrefilterIgnoresCaseAndNeedsAnAcceptedPair) {
    EXPECT_TRUE(MatchVidPidInPath("/dev/hidraw3#vid_320f&pid_5000&col02"));
    EXPECT_TRUE(MatchVidPidInPath("\\\\?\\HID#VID_320F&PID_5000&MI_01#7&1&0000"));
    EXPECT_TRUE(MatchVidPidInPath("sim:hidraw1#vid_0c45&pid_5004&col01"));
    EXPECT_FALSE(MatchVidPidInPath("/dev/hidraw0#vid_0c45&pid_5000&col01"));
    EXPECT_FALSE(MatchVidPidInPath("/dev/hidraw0#vid_320f&pid_5004&col01"));
    EXPECT_FALSE(MatchVidPidInPath("/dev/hidraw0#pid_5000&col01"));
    EXPECT_FALSE(MatchVidPidInPath("/dev/hidraw0"));
    EXPECT_FALSE(MatchVidPidInPath(nullptr));
    // Only the low 16 bits of a longer number count.
    EXPECT_TRUE(MatchVidPidInPath("x#vid_1320f&pid_15000"));
}

TEST(DefaultKeyMatrix, BuiltInTableMatchesTheSimulatedFactoryForItsPositions) {
    const auto& builtIn = BuiltInDefaultKeyMatrix();
    const auto& factory = SimFactoryMatrix();
    EXPECT_TRUE(std::equal(builtIn.begin(), builtIn.begin() + 63 * 3, factory.begin()));
    EXPECT_TRUE(std::all_of(builtIn.begin() + 63 * 3, builtIn.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(MonitorTest, KeyboardPresentAtStartIsReportedAndShownOnce) {
    Start(false);
    ASSERT_TRUE(link.WaitFor(kOpen));
    ASSERT_TRUE(link.WaitFor("tray 141"));
    // The probe's device info read, then the connection's default matrix and
    // device info reads.
    std::vector<uint8_t> want = {0x03};
    want.insert(want.end(), 10, 0x0F);
    want.push_back(0x03);
    EXPECT_EQ(Commands(), want);
    EXPECT_EQ(link.Count(kProfile), 1);
    EXPECT_EQ(link.Count(kOpen), 1);
    EXPECT_EQ(ConnectedState(), 1);
    EXPECT_EQ(KeyCount(), 128);
    EXPECT_EQ(KeyMatrixLength(), 512);
    EXPECT_EQ(MacroCapacity(), 6144u);
    // The keyboard's own matrix replaced the built-in one.
    EXPECT_EQ(DefaultKeyMatrix()[64 * 3 + 2], 0x40);
    // The keyboard collection was opened and closed again; the monitor keeps
    // the command interface and the listener the consumer collection.
    ASSERT_TRUE(WaitFor([&] { return sim.OpenHandleCount() >= 2; }));
    EXPECT_GE(sim.OpenCount(Path(0, 0)), 3);
    EXPECT_EQ(sim.OpenHandleCount(), 2);

    SetActiveProfileCache(1);
    sim.Unplug();
    ASSERT_TRUE(link.WaitFor("tray 128"));
    auto events = link.Events();
    auto gone = std::find(events.begin(), events.end(), kGone);
    ASSERT_NE(gone, events.end());
    EXPECT_EQ(*(gone + 1), "hide");
    EXPECT_EQ(GetActiveProfileCache(), -1);
    EXPECT_EQ(g_DeviceOpen.load(), 0u);

    sim.SetModel(126);
    sim.Plug();
    ASSERT_TRUE(link.WaitFor(kProfile, 2));
    EXPECT_TRUE(link.WaitFor("tray 141", 2));
    EXPECT_EQ(KeyMatrixLength(), 378);
    EXPECT_EQ(link.Count(kOpen), 1);
}

TEST_F(MonitorTest, StartedWithStartNeverShowsTheWindow) {
    Start(true);
    ASSERT_TRUE(link.WaitFor("tray 141"));
    sim.Unplug();
    ASSERT_TRUE(link.WaitFor("tray 128"));
    sim.Plug();
    ASSERT_TRUE(link.WaitFor(kProfile, 2));
    EXPECT_EQ(link.Count(kOpen), 0);
}

TEST_F(MonitorTest, KeyboardArrivingLaterIsNotShown) {
    sim.Unplug();
    Start(false);
    // The first scan finds nothing: no message, but the latch is set.
    ASSERT_TRUE(WaitFor([] { return AutoShowLatch().load() == 1; }));
    EXPECT_TRUE(link.Events().empty());
    sim.Plug();
    ASSERT_TRUE(link.WaitFor(kProfile));
    EXPECT_EQ(link.Count(kOpen), 0);
}

TEST_F(MonitorTest, UnreadableDefaultMatrixIsReportedButStillConnectsWithoutWaitingForTheWindow) {
    // A window that never gets round to a message sent to it.
    std::mutex gate;
    std::unique_lock<std::mutex> busy(gate);
    link.OnSend = [&](uint32_t) { std::lock_guard<std::mutex> wait(gate); };
    sim.AddFault({SimFault::Status, 2, 2, 0xFF}); // the first chunk of the default matrix
    Start(true);
    ASSERT_TRUE(link.WaitFor(kProfile));
    EXPECT_EQ(link.Count("message " + LoadText("MAIN_DEFAULT_MATRIX_PROMPT", CurrentLanguageIndex())), 1);
    EXPECT_EQ(DefaultKeyMatrix(), BuiltInDefaultKeyMatrix());
    EXPECT_EQ(MacroCapacity(), 6144u);
    // The message and the reload are still with the window; the unplug is heard.
    sim.Unplug();
    EXPECT_TRUE(link.WaitFor(kGone));
    EXPECT_TRUE(link.WaitFor("tray 128"));
    busy.unlock();
}

// The simulated keyboard behind a list of interfaces that cannot be read
// while `failing` is set.
class CUnlistable final : public CHidBackend {
  public:
    explicit CUnlistable(CSimKeyboard& sim) : m_sim(sim) {}
    bool EnumeratePaths(std::vector<std::string>& paths) override {
        ++listings;
        return !failing.load() && m_sim.EnumeratePaths(paths);
    }
    std::unique_ptr<CHidHandle> OpenPath(const std::string& path, bool wantRead, bool wantWrite) override {
        return m_sim.OpenPath(path, wantRead, wantWrite);
    }
    bool IsPresent(const std::string& path) override { return m_sim.IsPresent(path); }
    std::unique_ptr<CHotplugSource> OpenHotplugSource() override { return m_sim.OpenHotplugSource(); }
    std::atomic<bool> failing{true};
    std::atomic<int> listings{0};

  private:
    CSimKeyboard& m_sim;
};

TEST_F(MonitorTest, ListingThatFailsIsSaidOnceAndTriedAgainAtTheNextHotplugEvent) {
    CUnlistable unlistable(sim);
    SetHidBackend(&unlistable);
    ::testing::internal::CaptureStderr();
    Start(true);
    // Probe, first look, and the listener's look: all failed.
    ASSERT_TRUE(WaitFor([&] { return unlistable.listings.load() >= 3; }));
    unlistable.failing.store(false);
    sim.Unplug();
    sim.Plug();
    EXPECT_TRUE(link.WaitFor(kProfile));
    EXPECT_TRUE(link.WaitFor("tray 141"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::string line = "the HID devices cannot be listed";
    EXPECT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find(line), said.rfind(line)) << "said once: " << said;
}

TEST_F(MonitorTest, ConsumerReportsBecomeTimersAndTrayIcons) {
    Start(true);
    ASSERT_TRUE(link.WaitFor("tray 141"));
    // The listener's consumer handle is open once both handles exist.
    ASSERT_TRUE(WaitFor([&] { return sim.OpenHandleCount() >= 2; }));
    sim.SendConsumerUsage(0x0401);
    sim.SendConsumerUsage(0x0000); // release: nothing
    sim.SendConsumerUsage(0x1801); // nothing
    sim.SendConsumerUsage(0x0402);
    ASSERT_TRUE(link.WaitFor("timer 1053 0"));
    EXPECT_EQ(link.Count("timer 1051 0"), 1);
    sim.SendConsumerUsage(0x0401);
    ASSERT_TRUE(link.WaitFor("timer 1051 0", 2));
    sim.SendConsumerUsage(0x1811);
    ASSERT_TRUE(link.WaitFor("tray 142"));
    sim.SendConsumerUsage(0x1810);
    ASSERT_TRUE(link.WaitFor("tray 141", 2));
    auto events = link.Events();
    EXPECT_EQ(events.back(), "tray 141");
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("timer", 0) == 0; }),
              3);
}

TEST_F(MonitorTest, QuickSignalReportsLeaveTheIconOfTheLastOne) {
    Start(true);
    ASSERT_TRUE(link.WaitFor("tray 141"));
    ASSERT_TRUE(WaitFor([&] { return sim.OpenHandleCount() >= 2; }));
    for (int i = 0; i < 200; ++i)
        sim.SendConsumerUsage(i % 2 ? 0x1810 : 0x1811);
    ASSERT_TRUE(link.WaitFor("tray 142", 100));
    ASSERT_TRUE(link.WaitFor("tray 141", 101));
    // Every change arrives, in the order of the reports.
    std::vector<std::string> icons;
    for (const std::string& e : link.Events())
        if (e.rfind("tray", 0) == 0) icons.push_back(e);
    ASSERT_EQ(icons.size(), 201u);
    for (size_t i = 1; i < icons.size(); ++i)
        EXPECT_EQ(icons[i], i % 2 ? "tray 142" : "tray 141") << i;
}

TEST_F(MonitorTest, NothingWakesTheThreadsWhileNothingChanges) {
    // A wait with no time limit ends only on a change: no clock wakes it.
    Start(true);
    ASSERT_TRUE(link.WaitFor(kProfile));
    // Connected: the monitor waits for a change, the listener reads its handle.
    ASSERT_TRUE(WaitFor([&] { return sim.OpenHandleCount() == 2 && DeviceThreadWaitsWithoutLimit() == 1; }));
    const uint64_t beforeUnplug = DeviceThreadWakeups();
    sim.Unplug();
    ASSERT_TRUE(link.WaitFor("tray 128"));
    // Unplugged: the unplug woke both, and both wait for the next change.
    ASSERT_TRUE(WaitFor([] { return DeviceThreadWaitsWithoutLimit() == 2; }));
    EXPECT_GE(DeviceThreadWakeups() - beforeUnplug, 2u);
    sim.Plug();
    ASSERT_TRUE(link.WaitFor(kProfile, 2));
    EXPECT_EQ(link.Count(kGone), 1);
}

TEST_F(MonitorTest, ReplugFasterThanThePresenceCheckIsStillAReconnection) {
    Start(true);
    ASSERT_TRUE(link.WaitFor(kProfile));
    sim.Unplug();
    sim.Plug(); // the path is present again before the monitor looks
    ASSERT_TRUE(link.WaitFor(kGone));
    ASSERT_TRUE(link.WaitFor(kProfile, 2));
    ASSERT_TRUE(WaitFor([] { return g_DeviceOpen.load() != 0; }));
    uint8_t info[44];
    EXPECT_EQ(DevReadInfo(info), 1);
}

TEST_F(MonitorTest, UnplugInTheMiddleOfACommandFailsItAndIsNoticed) {
    Start(true);
    ASSERT_TRUE(link.WaitFor(kProfile));
    const uint32_t sent = sim.RequestCount();
    sim.AddFault({SimFault::NoReply, sent + 1, UINT32_MAX, 0});
    std::thread unplug([&] {
        // Once the request is out and waits for its reply.
        if (WaitFor([&] { return sim.RequestCount() > sent; })) sim.Unplug();
    });
    std::vector<uint8_t> matrix(512);
    EXPECT_NE(DevReadKeyMatrix(matrix, 0), 1);
    unplug.join();
    EXPECT_TRUE(link.WaitFor(kGone));
}

TEST_F(MonitorTest, RepeatedUnplugAndReplugWhileCommandsRun) {
    Start(false);
    ASSERT_TRUE(link.WaitFor(kProfile));
    // Both threads settled, each with its handle (the listener may start late),
    // before the descriptors are counted.
    ASSERT_TRUE(WaitFor([&] { return sim.OpenHandleCount() == 2; })) << sim.OpenHandleCount();
    const int fds = orvane::testing::OpenFdCount();
    const int threadsBefore = orvane::testing::ThreadCount();
    std::atomic<bool> done{false};
    // The window's side: one command after another, whatever the state.
    std::thread ui([&] {
        uint8_t info[44];
        while (!done.load())
            DevReadInfo(info);
    });
    for (int cycle = 0; cycle < 200; ++cycle) {
        sim.Unplug();
        std::this_thread::sleep_for(cycle % 20 == 0 ? 150ms : 2ms); // now and then long enough to be noticed
        sim.Plug();
        std::this_thread::sleep_for(1ms);
    }
    done.store(true);
    ui.join();
    // The first unplug killed the monitor's handle, however late it runs.
    EXPECT_TRUE(link.WaitFor(kGone));
    // Left plugged in, the keyboard is connected again.
    EXPECT_TRUE(WaitFor([] { return ConnectedState() == 1 && g_DeviceOpen.load(); }));
    EXPECT_EQ(link.Count(kOpen), 1);
    // Commands work again, however the cycles left the monitor's handle. The
    // last replug may be quicker than the presence check, so the monitor is
    // given time to notice the dead handle and reopen the keyboard.
    uint8_t info[44];
    EXPECT_TRUE(WaitFor([&] { return DevReadInfo(info) == 1; }));
    // A joined thread may linger in the task list for a moment while it exits.
    EXPECT_TRUE(WaitFor([&] { return orvane::testing::ThreadCount() == threadsBefore; }))
        << orvane::testing::ThreadCount() << " threads, " << threadsBefore << " before";
    // Handles the monitor or listener hold now are the same two as before.
    // The listener may still be walking the interfaces after the last replug.
    EXPECT_TRUE(WaitFor([&] { return orvane::testing::OpenFdCount() <= fds; }))
        << orvane::testing::OpenFdTargets() << "; sim handles open: " << sim.OpenHandleCount();
}

// The monitor over the real hidraw backend: a fake sysfs tree whose command
// node answers every request, then disappears.
TEST_F(MonitorTest, NodeOfTheHidrawBackendThatDisappearsIsNoticed) {
    CFakeHidrawTree tree;
    tree.AddNode(0, 0x320F, 0x5000, kKeyboardNode);
    tree.AddNode(1, 0x0C45, 0x5004, kCommandNode);
    CFakeHidrawBackend backend(tree);
    SetHidBackend(&backend);
    AutoShowLatch().store(1);
    const int device = dup(tree.DeviceEnd(1));
    std::thread responder([device] {
        uint8_t report[64];
        while (recv(device, report, sizeof report, 0) == 64) {
            report[7] = 0;
            send(device, report, sizeof report, MSG_NOSIGNAL);
        }
        close(device);
    });
    threads.emplace_back(ConnectionMonitorThread);
    EXPECT_TRUE(link.WaitFor(kProfile));
    EXPECT_EQ(KeyMatrixLength(), 378);
    EXPECT_EQ(link.Count("message " + LoadText("MAIN_DEFAULT_MATRIX_PROMPT", CurrentLanguageIndex())), 0);
    tree.Unplug(1);
    EXPECT_TRUE(link.WaitFor(kGone));
    EXPECT_TRUE(link.WaitFor("tray 128"));
    responder.join();
    StopThreads(); // before the backend goes
}

} // namespace
} // namespace orvane::test
