// Key names are looked up in the language file through the ini parse cache; a
// macro's action list names up to 4000 keys when it is filled, so one lookup
// must stay far below a millisecond (the goal is 2 us).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "model/KeyTables.h"
#include "platform/IniCache.h"
#include "platform/Paths.h"
#include "services/PathTable.h"

namespace {

void BM_GetKeyName(benchmark::State& state) {
    // The shipped language file beside a private program folder and home.
    char pattern[] = "/tmp/orvane-keynames-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path root = pattern;
    std::filesystem::create_directories(root / "prog");
    // Benchmarks sit in <build>/bench, the shipped files in <build>/bin.
    const std::filesystem::path shipped =
        std::filesystem::path(orvane::ExecutablePath()).parent_path().parent_path() / "bin" / "Lang0409.ini";
    std::error_code copied;
    std::filesystem::copy_file(shipped, root / "prog" / "Lang0409.ini", copied);
    if (copied) {
        std::filesystem::remove_all(root, copied);
        state.SkipWithError("the language file is not built; build orvane_assets first");
        return;
    }
    // A file changed in the last two seconds is read anew at every lookup (its
    // next change could leave the same times); an installed one is older.
    orvane::SetIniSettleTimeForTests(0);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    orvane::BuildPathTable((root / "prog" / "orvane").string());

    const orvane::ScanCode code = static_cast<orvane::ScanCode>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(orvane::GetKeyName(code));

    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

// A key near the start of the file, one near the end, and the unknown-key fallback.
BENCHMARK(BM_GetKeyName)->Arg(0x001)->Arg(0x17E)->Arg(0x064);

} // namespace
