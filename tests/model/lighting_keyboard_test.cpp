// Lighting changes against the simulated keyboard: every change reaches the
// keyboard as exactly its own bytes, inside a begin/end bracket.
#include <gtest/gtest.h>

#include <array>

#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "model/LightingModel.h"
#include "recording_lighting_host.h"
#include "sim/SimInstall.h"

namespace orvane {
namespace {

using test::CRecordingLightingHost;

class LightingKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim = &InstallSimulatedKeyboard(128);
        ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
        g_DeviceOpen.store(1);
        for (size_t i = 0; i < before.size(); ++i)
            before[i] = static_cast<uint8_t>(0x40 + i);
        sim->WithFirmware([&](CSimFirmware& fw) {
            fw.Lighting = before;
            fw.WritesOutsideSession = 0;
            return 0;
        });
        model.SetSettingsFile("/nonexistent/zaru.ini");
    }
    void TearDown() override {
        g_DeviceOpen.store(0);
        g_HidDevice.Close();
    }
    std::array<uint8_t, 126> Lighting() {
        return sim->WithFirmware([](CSimFirmware& fw) { return fw.Lighting; });
    }
    uint32_t WritesOutside() {
        return sim->WithFirmware([](CSimFirmware& fw) { return fw.WritesOutsideSession; });
    }

    CSimKeyboard* sim = nullptr;
    std::array<uint8_t, 126> before{};
    CLightingModel model; // the device port
    CKeyLightFrame frame;
};

TEST_F(LightingKeyboardTest, OneChangeWritesOnlyItsBytes) {
    SetCurrentProfile(1);
    model.SetLightingArea(before);
    ASSERT_TRUE(model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn));

    ASSERT_EQ(model.ChangeBrightness(2), 1);
    std::array<uint8_t, 126> expected = before;
    expected[42 + 1] = 2;
    EXPECT_EQ(Lighting(), expected);

    ASSERT_EQ(model.ChooseColour(MakeColour(0x11, 0x22, 0x33), false), 1);
    expected[42 + 4] = 0;
    expected[42 + 5] = 0x11;
    expected[42 + 6] = 0x22;
    expected[42 + 7] = 0x33;
    EXPECT_EQ(Lighting(), expected);

    ASSERT_EQ(model.ChangeMode(12, frame), 1);
    expected[42] = 12;
    EXPECT_EQ(Lighting(), expected);
    EXPECT_EQ(WritesOutside(), 0u);
    EXPECT_EQ(model.LightingArea(), expected);
}

TEST_F(LightingKeyboardTest, PaintedKeysReachTheKeyboardsColourArea) {
    SetCurrentProfile(2);
    CRecordingLightingHost host;
    model.SetLightingSwitch(true, host, frame);
    model.Settings().mode = 20;
    model.SetPaintSettings(1, MakeColour(5, 6, 7), 0);
    const auto factory = sim->WithFirmware([](CSimFirmware& fw) { return fw.KeyColours; });
    ASSERT_EQ(model.PaintKey({KeyButtonKind::Fn, 0}, frame), 1);
    auto colours = sim->WithFirmware([](CSimFirmware& fw) { return fw.KeyColours; });
    EXPECT_EQ(colours[2 * 512 + 110 * 3], 5);
    EXPECT_EQ(colours[2 * 512 + 110 * 3 + 2], 7);
    for (size_t i = 0; i < colours.size(); ++i) {
        if (i >= 2 * 512 + 110 * 3 && i < 2 * 512 + 111 * 3) continue;
        ASSERT_EQ(colours[i], factory[i]) << i;
    }

    model.SetKeyColour(2, 3, MakeColour(1, 1, 1)); // an unlinked LED, sent with the table
    ASSERT_EQ(model.ChangeLinkedPaintColour(MakeColour(0, 0, 99), frame), 1);
    colours = sim->WithFirmware([](CSimFirmware& fw) { return fw.KeyColours; });
    EXPECT_EQ(colours[2 * 512 + 110 * 3 + 2], 99);
    EXPECT_EQ(colours[2 * 512 + 3 * 3], 1);
    EXPECT_EQ(WritesOutside(), 0u);
}

} // namespace
} // namespace orvane
