// Showing a macro of 4000 actions in the key dialog's action list (one key
// name per row), and key-name lookups on their own. Texts are read by key at
// every use, so both ride on the ini reader's parse cache.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "BenchFigures.h"
#include "dialogs/MacroTab.h"
#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "platform/IniCache.h"
#include "platform/Paths.h"
#include "services/PathTable.h"
#include "support/TestApp.h"

namespace {

namespace fs = std::filesystem;

// A private program folder with the built language file and a private home;
// false when the language file is not built.
bool PrepareFolders(fs::path& root) {
    char pattern[] = "/tmp/orvane-macrotab-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    root = pattern;
    fs::create_directories(root / "prog");
    // Benchmarks sit in <build>/bench, the shipped files in <build>/bin.
    const fs::path shipped =
        fs::path(orvane::ExecutablePath()).parent_path().parent_path() / "bin" / "Lang0409.ini";
    std::error_code copied;
    fs::copy_file(shipped, root / "prog" / "Lang0409.ini", copied);
    if (copied) return false;
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    // The copy is seconds old; a shipped language file is months old.
    orvane::SetIniSettleTimeForTests(0);
    return orvane::BuildPathTable((root / "prog" / "orvane").string());
}

void BM_ShowMacroOf4000Actions(benchmark::State& state) {
    fs::path root;
    if (!PrepareFolders(root)) {
        state.SkipWithError("the language file is not built; build orvane_assets first");
        orvane::bench::RecordNotMeasured("macro_fill_ms", "the language file is not built");
        return;
    }
    orvane::testing::TestApp();
    orvane::MacroRecord macro = orvane::NewMacroRecord(u"Long", {});
    macro.actionCount = orvane::kMacroMaxActions;
    for (size_t i = 0; i < orvane::kMacroMaxActions; ++i) {
        // Keys all over the table, so the lookups are not one cached line.
        orvane::ScanCode code = 0;
        while (code == 0)
            code = orvane::KeyIdToScanCode(static_cast<uint16_t>((i * 7 + code) % orvane::kPickableKeyCount));
        macro.actions[i] = {static_cast<uint32_t>(i % 400), code, static_cast<uint16_t>(i % 2)};
    }
    orvane::g_ConfigStore.SetMacros({macro});
    {
        QWidget dialog;
        orvane::CMacroTab tab(&dialog, [] {});
        tab.SetUp();
        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            tab.LoadList();
            tab.ShowTab(true, macro.id);
            benchmark::DoNotOptimize(tab.Actions()->GetItemCount());
        }
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        orvane::bench::RecordFigure("macro_fill_ms",
                                    elapsed.count() / static_cast<double>(state.iterations()));
        state.counters["rows"] = tab.Actions()->GetItemCount();
    }
    orvane::g_ConfigStore.SetMacros({});
    std::error_code ec;
    fs::remove_all(root, ec);
}
BENCHMARK(BM_ShowMacroOf4000Actions)->Unit(benchmark::kMillisecond);

void BM_1000KeyNameLookups(benchmark::State& state) {
    fs::path root;
    if (!PrepareFolders(root)) {
        state.SkipWithError("the language file is not built; build orvane_assets first");
        orvane::bench::RecordNotMeasured("key_lookup_us", "the language file is not built");
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(
                orvane::GetKeyName(orvane::KeyIdToScanCode(static_cast<uint16_t>(i % 106))));
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    orvane::bench::RecordFigure("key_lookup_us",
                                elapsed.count() / 1000.0 / static_cast<double>(state.iterations()));
    std::error_code ec;
    fs::remove_all(root, ec);
}
BENCHMARK(BM_1000KeyNameLookups)->Unit(benchmark::kMicrosecond);

} // namespace
