// What the user waits for on the user-interface thread: loading a colour set
// (one ini read per key) on every profile switch, and saving and loading a
// full working profile file (100 macros) on every Apply and connection.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "model/KeyTables.h"
#include "model/LightingModel.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "services/PathTable.h"

namespace {

using namespace orvane;

class CQuietPort : public CLightingPort {
  public:
    int BeginSession() override { return 1; }
    int EndSession() override { return 1; }
    int WriteLighting(std::span<const uint8_t>, uint16_t) override { return 1; }
    int WriteKeyColours(std::span<const uint8_t>, int) override { return 1; }
    int WriteProfileKeyColours(std::span<const uint8_t>) override { return 1; }
    int CurrentProfile() override { return 0; }
};

// A private user data folder with a colour set entry for every key, removed
// when the program ends.
struct CBenchFolder {
    CBenchFolder() {
        char pattern[] = "/tmp/orvane-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        ::setenv("XDG_DATA_HOME", root.c_str(), 1);
        BuildPathTable(root + "/prog/orvane");
        BuildUserPaths();
        std::filesystem::create_directories(UserFolderPath());
        for (int slot = 0; slot < kKeySlotCount; ++slot)
            WriteKeyColour(0, 0, KeySlotAt(slot)->ledIndex, MakeColour(1, 2, 3), slot & 1);
        WritePaintSettings(0, 0, PaintSettings{1, 5, 6});
    }
    ~CBenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::string root;
};

const std::string& Folder() {
    static const CBenchFolder folder;
    return folder.root;
}

void BM_LoadKeyColours(benchmark::State& state) {
    Folder();
    CQuietPort port;
    CLightingModel model(port);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadKeyColours(0, true, model));
}
BENCHMARK(BM_LoadKeyColours)->Unit(benchmark::kMillisecond);

void BM_SaveAndLoadFullProfile(benchmark::State& state) {
    const std::string path = Folder() + "/full.fwc";
    auto store = std::make_unique<CConfigStore>();
    CreateBlankProfile(nullptr, 0, *store);
    MacroList macros;
    for (int i = 0; i < 100; ++i) {
        MacroRecord m = NewMacroRecord(u"Macro", macros);
        m.actionCount = 4000;
        macros.push_back(m);
    }
    store->SetMacros(macros);
    auto loaded = std::make_unique<CConfigStore>();
    for (auto _ : state) {
        SaveProfileFile(path, *store);
        benchmark::DoNotOptimize(LoadProfileFile(path, *loaded));
    }
}
BENCHMARK(BM_SaveAndLoadFullProfile)->Unit(benchmark::kMillisecond);

} // namespace
