#include "device/support/SimFixture.h"

#include "support/ProcessCounts.h"

#include "device/DeviceCommands.h"

namespace orvane::test {

void SimKeyboardTest::Connect(int model) {
    Disconnect();
    sim = std::make_unique<CSimKeyboard>(model);
    sim->SetRecording(true);
    SetHidBackend(sim.get());
    ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
    g_DeviceOpen.store(1);
}

void SimKeyboardTest::Disconnect() {
    g_DeviceOpen.store(0);
    g_HidDevice.Close();
    SetHidBackend(nullptr);
    sim.reset();
    SetModelParameters(0x0C45, 0x5004);
    SetCurrentProfile(0);
}

std::vector<std::vector<uint8_t>> SimKeyboardTest::TakeRequests() {
    std::vector<std::vector<uint8_t>> out;
    for (const SimWireReport& r : sim->Recorded())
        if (r.Direction == '>') out.push_back(r.Bytes);
    sim->ClearRecorded();
    return out;
}

int CountOpenFds() {
    return orvane::testing::OpenFdCount();
}

} // namespace orvane::test
