// The device threads against the paced simulated keyboard: how often they
// wake and how much CPU they take while nothing happens (the goal is no
// wake-up at all), and how long a replug takes to reach the window as
// UM_PROFILE (the goal is under 50 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "BenchFigures.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceThreadControl.h"
#include "device/ReportExchange.h"
#include "services/AutoShowLatch.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"
#include "sim/SimKeyboard.h"

namespace {

using namespace orvane;
using Clock = std::chrono::steady_clock;

// Counts connections and removals as the window would see them.
class CCountingLink : public MainWindowLink {
  public:
    intptr_t SendWindowMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostWindowMessage(uint32_t message, uintptr_t, intptr_t) override {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (message == UM_PROFILE) ++m_Connections;
        if (message == UM_DEVICE_GONE) ++m_Removals;
        m_Changed.notify_all();
    }
    void SetWindowTimer(uint32_t, uint32_t) override {}
    void KillWindowTimer(uint32_t) override {}
    void SetTrayIcon(int) override {}
    void HideWindow() override {}
    void ShowMessage(const std::string&) override {}

    bool WaitForConnections(int n) { return WaitFor(m_Connections, n); }
    bool WaitForRemovals(int n) { return WaitFor(m_Removals, n); }

  private:
    bool WaitFor(const int& counter, int n) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        return m_Changed.wait_for(lock, std::chrono::seconds(10), [&] { return counter >= n; });
    }
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    int m_Connections = 0;
    int m_Removals = 0;
};

// Both device threads running on a plugged-in, paced simulated keyboard.
struct DeviceThreads {
    CSimKeyboard sim{128};
    CCountingLink link;
    std::vector<std::thread> threads;

    DeviceThreads() {
        ResetDeviceThreadState();
        sim.SetPacing(true);
        SetHidBackend(&sim);
        SetMainWindowLink(&link);
        AutoShowLatch().store(1);
        threads.emplace_back(ConsumerListenerThread);
        threads.emplace_back(ConnectionMonitorThread);
    }
    ~DeviceThreads() {
        StopDeviceThreads();
        for (auto& t : threads)
            t.join();
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetMainWindowLink(nullptr);
        SetHidBackend(nullptr);
        ResetDeviceThreadState();
        AutoShowLatch().store(0);
    }
    // Connected, with the listener's consumer handle open beside the monitor's.
    bool Settled() {
        if (!link.WaitForConnections(1)) return false;
        for (int i = 0; i < 2000 && sim.OpenHandleCount() < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return sim.OpenHandleCount() == 2;
    }
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_IdleDeviceThreads(benchmark::State& state) {
    const auto idle = std::chrono::seconds(state.range(0));
    DeviceThreads d;
    if (!d.Settled()) {
        state.SkipWithError("the keyboard was not connected");
        bench::RecordNotMeasured("device_idle_wakeups_per_s", "the simulated keyboard was not connected");
        return;
    }
    for (auto _ : state) {
        const uint64_t wakeups = DeviceThreadWakeups();
        const double cpu = ProcessCpuSeconds();
        std::this_thread::sleep_for(idle); // this thread costs nothing while it sleeps
        const double seconds = std::chrono::duration<double>(idle).count();
        state.counters["wakeups_per_s"] = static_cast<double>(DeviceThreadWakeups() - wakeups) / seconds;
        state.counters["cpu_ms"] = (ProcessCpuSeconds() - cpu) * 1000.0;
        bench::RecordFigure("device_idle_wakeups_per_s", state.counters["wakeups_per_s"]);
    }
}
BENCHMARK(BM_IdleDeviceThreads)->Arg(10)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_ReplugToProfile(benchmark::State& state) {
    DeviceThreads d;
    const char* lost = d.Settled() ? nullptr : "the keyboard was not connected";
    int replugs = 0;
    double worstMs = 0;
    for (auto _ : state) {
        if (lost) break;
        state.PauseTiming();
        d.sim.Unplug();
        if (!d.link.WaitForRemovals(replugs + 1)) lost = "the removal was not noticed";
        state.ResumeTiming();
        const auto start = Clock::now();
        d.sim.Plug();
        if (!d.link.WaitForConnections(replugs + 2)) lost = "the replug was not noticed";
        worstMs = std::max(worstMs, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        ++replugs;
    }
    if (lost) {
        state.SkipWithError(lost);
        bench::RecordNotMeasured("replug_ms", lost);
        return;
    }
    state.counters["worst_ms"] = worstMs;
    bench::RecordFigure("replug_ms", worstMs);
}
BENCHMARK(BM_ReplugToProfile)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
