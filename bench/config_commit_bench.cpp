// The model side of Apply runs on the user-interface thread: committing the
// working copy, building three key matrices and encoding the macro block must
// stay far below what a user notices, even with a full macro list.
#include <benchmark/benchmark.h>

#include "model/ConfigStore.h"

namespace {

using namespace orvane;

void FillStore(CConfigStore& store) {
    store.InstallFresh({});
    MacroList list;
    for (int i = 0; i < 100; ++i) {
        MacroRecord m = NewMacroRecord(u"Macro name of some length", list);
        for (int a = 0; a < 30; ++a)
            AddMacroAction(m, {50, 0x01E, static_cast<uint16_t>(a & 1)});
        list.push_back(m);
    }
    store.SetMacros(list);
    for (int k = 1; k < 126; ++k)
        store.StoreKeyFunction(k % 3, k, KeyFunctionKind::Macro, 1 + k % 100, 1);
    const std::u16string text(200, u'x');
    for (int k = 0; k < 20; ++k)
        store.StoreKeyFunction(0, 0x80 + k, KeyFunctionKind::Text, 0, 1, &text);
}

std::vector<uint8_t> DefaultMatrix() {
    std::vector<uint8_t> m(512, 0);
    for (int pos = 0; pos < 128; ++pos)
        m[3 * pos] = 2, m[3 * pos + 1] = 2, m[3 * pos + 2] = uint8_t(4 + pos % 90);
    return m;
}

void BM_CommitAndBuild(benchmark::State& state) {
    static CConfigStore store;
    FillStore(store);
    const std::vector<uint8_t> def = DefaultMatrix();
    std::vector<uint8_t> block(0x10000);
    for (auto _ : state) {
        store.Commit();
        for (int p = 0; p < 3; ++p)
            benchmark::DoNotOptimize(store.BuildKeyMatrix(p, def.data(), def.size(), 128));
        benchmark::DoNotOptimize(store.EncodeMacroBlock(block.data(), block.size(), true));
    }
}
BENCHMARK(BM_CommitAndBuild)->Unit(benchmark::kMillisecond);

void BM_DecodeFullBlock(benchmark::State& state) {
    MacroList list;
    for (int i = 0; i < 100; ++i) {
        MacroRecord m = NewMacroRecord(u"M", list);
        for (int a = 0; a < 150; ++a)
            AddMacroAction(m, {10, 0x130, static_cast<uint16_t>(a & 1)});
        list.push_back(m);
    }
    const std::vector<uint8_t> block = EncodeMacroBlock(list, true);
    for (auto _ : state) {
        MacroList out;
        benchmark::DoNotOptimize(DecodeMacroBlock(block.data(), block.size(), out));
    }
}
BENCHMARK(BM_DecodeFullBlock)->Unit(benchmark::kMillisecond);

} // namespace
