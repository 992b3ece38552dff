// CPU cost of one command transaction (request out, reply in) against the
// unpaced simulated keyboard, and of a whole key matrix write.
#include <benchmark/benchmark.h>

#include <vector>

#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "sim/SimKeyboard.h"

namespace {

using namespace orvane;

struct Connected {
    CSimKeyboard sim{128};
    Connected() {
        SetHidBackend(&sim);
        OpenCommandInterface(g_HidDevice);
        g_DeviceOpen.store(1);
    }
    ~Connected() {
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetHidBackend(nullptr);
    }
};

void BM_TransactReport(benchmark::State& state) {
    Connected c;
    uint8_t request[64] = {4, 0, 0, 3, 44};
    SealReport(request);
    uint8_t reply[64];
    uint32_t received = 0;
    for (auto _ : state) {
        if (TransactReport(request, 64, reply, 64, &received) != 1) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_TransactReport)->MeasureProcessCPUTime();

void BM_WriteKeyMatrix(benchmark::State& state) {
    Connected c;
    std::vector<uint8_t> matrix(512, 0x02);
    for (auto _ : state)
        if (DevWriteKeyMatrix(matrix, 1) != 1) state.SkipWithError("write failed");
}
BENCHMARK(BM_WriteKeyMatrix)->MeasureProcessCPUTime();

} // namespace
