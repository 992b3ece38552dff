#pragma once
// A simulated keyboard installed as the HID backend, with g_HidDevice open on
// its command interface, as the connection monitor would leave it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "sim/SimKeyboard.h"

namespace orvane::test {

class SimKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override { Connect(128); }
    void TearDown() override { Disconnect(); }

    void Connect(int model) {
        Disconnect();
        sim = std::make_unique<CSimKeyboard>(model);
        sim->SetRecording(true);
        SetHidBackend(sim.get());
        ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
        g_DeviceOpen.store(1);
    }
    void Disconnect() {
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
        SetHidBackend(nullptr);
        sim.reset();
        SetModelParameters(0x0C45, 0x5004);
        SetCurrentProfile(0);
    }
    // Requests ('>') recorded since the last call, in order.
    std::vector<std::vector<uint8_t>> TakeRequests() {
        std::vector<std::vector<uint8_t>> out;
        for (const SimWireReport& r : sim->Recorded())
            if (r.Direction == '>') out.push_back(r.Bytes);
        sim->ClearRecorded();
        return out;
    }

    std::unique_ptr<CSimKeyboard> sim;
};

} // namespace orvane::test
