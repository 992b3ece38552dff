// One preview tick per mode, drawn into a frame recorder: the model's share
// of the 50 ms preview frame.
#include <benchmark/benchmark.h>

#include "model/Preview.h"

namespace {

void BM_PreviewTick(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const bool colourful = state.range(1) != 0;
    orvane::CPreview preview([] { return int64_t{1700000000}; });
    orvane::CKeyLightFrame frame;
    const orvane::PreviewParams params{mode, colourful, 255, orvane::MakeColour(200, 120, 40)};
    for (auto _ : state) {
        preview.TimerTick(params, frame);
        benchmark::DoNotOptimize(frame.AtNumber(0));
    }
}

BENCHMARK(BM_PreviewTick)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 20, 1), {0, 1}})
    ->ArgNames({"mode", "colourful"});

} // namespace
