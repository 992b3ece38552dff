#pragma once
// A simulated keyboard installed as the HID backend, with g_HidDevice open on
// its command interface, as the connection monitor would leave it.
#include <gtest/gtest.h>

#include <memory>

#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "sim/SimKeyboard.h"

namespace orvane::test {

class SimKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override { Connect(128); }
    void TearDown() override { Disconnect(); }

    void Connect(int model);
    void Disconnect();
    // Requests ('>') recorded since the last call, in order.
    std::vector<std::vector<uint8_t>> TakeRequests();

    std::unique_ptr<CSimKeyboard> sim;
};

// Open file descriptors of this process.
int CountOpenFds();

} // namespace orvane::test
