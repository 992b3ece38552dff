// A full Apply (all three key matrices, a macro memory filled to its
// capacity with named macros) against the simulated keyboard paced at 1 ms
// per report. Reported: the whole time, the time the keyboard's pacing
// accounts for, and what is left: the program's own time, which must stay
// under 5 % of the whole. The fixed waits of Apply (the busy indicator's
// start, the end of the session) are counted apart, as they are waits the
// program chooses, not work.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "BenchFigures.h"
#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "model/ConfigStore.h"
#include "model/MacroBlock.h"
#include "model/ProfileFile.h"
#include "services/PathTable.h"
#include "sim/SimKeyboard.h"
#include "transfer/Apply.h"
#include "transfer/BusyIndicator.h"
#include "transfer/DeviceInfo.h"
#include "transfer/TransferHost.h"

namespace {

using namespace orvane;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Macros whose named block is exactly `capacity` bytes.
MacroList FillingMacros(size_t capacity) {
    constexpr size_t kMacros = 12;
    const std::u16string name = u"Macro ab";
    size_t left = capacity - kMacroBlockHeaderBytes - kMacros * (2 + 4 + 2 * name.size());
    MacroList list(kMacros);
    for (size_t i = 0; i < kMacros; ++i) {
        SetMacroName(list[i], name);
        list[i].id = static_cast<uint16_t>(i + 1);
        list[i].repeat = 1;
        const size_t actions = i + 1 < kMacros ? left / 4 / (kMacros - i) : left / 4;
        for (size_t a = 0; a < actions; ++a)
            AddMacroAction(list[i], {10, 0x1E, static_cast<uint16_t>(a % 2)});
        left -= 4 * actions;
    }
    return list;
}

struct Setup {
    CSimKeyboard sim{128};
    std::string home;
    Setup() {
        home = (std::filesystem::temp_directory_path() / "orvane-apply-bench").string();
        std::filesystem::create_directories(home + "/data/Brislane");
        ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        BuildUserPaths();
        SetHidBackend(&sim);
        OpenCommandInterface(g_HidDevice);
        g_DeviceOpen.store(1);
        ReadConnectionInfo();
        CreateBlankProfile(nullptr, 0);
        const std::string working = WorkingProfilePath(0);
        CreateBlankProfile(&working, 0);
        g_ConfigStore.SetMacros(FillingMacros(MacroCapacity()));
        for (int p = 0; p < 3; ++p)
            g_ConfigStore.StoreKeyFunction(p, 0x1E, KeyFunctionKind::Macro, 1 + p, 1);
    }
    ~Setup() {
        WaitForBusyIndicator();
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetHidBackend(nullptr);
        std::filesystem::remove_all(home);
    }
};

// What one sleep of `ms` really takes on this machine.
double SleepCost(int ms, int times) {
    const auto start = Clock::now();
    for (int i = 0; i < times; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return Ms(Clock::now() - start) / times;
}

void BM_FullApplyPaced(benchmark::State& state) {
    Setup s;
    s.sim.SetPacing(state.range(0) != 0);
    const double reportCost = state.range(0) ? SleepCost(1, 200) : 0.0;
    const double fixedWaits = SleepCost(kBusyStartWaitMs, 2) + SleepCost(10, 10);
    double total = 0, paced = 0, own = 0;
    int runs = 0;
    bool failed = false;
    for (auto _ : state) {
        TransferHost().SetApplyPending(true);
        g_ConfigStore.SetSendAllProfiles(true);
        const uint32_t before = s.sim.RequestCount();
        const auto start = Clock::now();
        const ApplyOutcome outcome = Apply();
        const double ms = Ms(Clock::now() - start);
        if (!outcome.Succeeded()) {
            state.SkipWithError("Apply failed");
            failed = true;
            break;
        }
        const uint32_t requests = s.sim.RequestCount() - before;
        const double pacing = 2.0 * requests * reportCost; // request and reply
        total += ms;
        paced += pacing;
        own += ms - pacing - fixedWaits;
        ++runs;
        state.counters["reports"] = 2.0 * requests;
    }
    state.counters["total_ms"] = total / runs;
    state.counters["pacing_ms"] = paced / runs;
    state.counters["fixed_waits_ms"] = fixedWaits;
    state.counters["own_ms"] = own / runs;
    state.counters["own_pct"] = 100.0 * own / total;
    // The figure of the table is the paced run: what a real keyboard costs.
    if (state.range(0) == 0) return;
    if (failed)
        bench::RecordNotMeasured("apply_overhead_pct", "Apply failed against the simulated keyboard");
    else
        bench::RecordFigure("apply_overhead_pct", 100.0 * own / total);
}
BENCHMARK(BM_FullApplyPaced)->Arg(1)->Arg(0)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of the program's own time: saving the working profile file
// (written whole and synced), and committing with the macro image and the
// three matrices built, nothing sent.
void BM_SaveWorkingProfile(benchmark::State& state) {
    Setup s;
    for (auto _ : state)
        if (SaveWorkingProfile(0) != 1) state.SkipWithError("not saved");
}
BENCHMARK(BM_SaveWorkingProfile)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommitAndBuild(benchmark::State& state) {
    Setup s;
    for (auto _ : state) {
        g_ConfigStore.Commit();
        const MacroBlockSizeInfo sizes = g_ConfigStore.MacroBlockSizes();
        std::vector<uint8_t> image(sizes.withNames);
        g_ConfigStore.EncodeMacroBlock(image.data(), image.size(), true);
        const KeyMatrixBuffer defaults = DefaultKeyMatrix();
        for (int p = 0; p < 3; ++p)
            benchmark::DoNotOptimize(g_ConfigStore.BuildKeyMatrix(p, defaults));
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_CommitAndBuild)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
