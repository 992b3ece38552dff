// The program's own options, and the wire trace that wraps whatever HID
// backend is in use (the real one for a user, the simulated one here).
#include "app/gui/ProgramOptions.h"

#include <array>
#include <gtest/gtest.h>
#include <sstream>

#include "app/gui/ReportTrace.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/HidBackend.h"
#include "device/ReportExchange.h"
#include "sim/SimKeyboard.h"
#include "support/TempDir.h"

using namespace orvane;

namespace {

TEST(ProgramOptions, TakesTheSimulatorsOptionsBesideTheSwitchesAndNamesEveryBadOne) {
    const ProgramOptions o = ParseProgramOptions(
        {"/Start", "--simulate", "--trace", "wire.txt", "--sim-fault", "noreply:3-4", "--sim-pace",
         "--sim-state=state.bin", "--sim-reset", "--sim-consumer", "0x1811@250", "--sim-consumer=0x1810"});
    EXPECT_FALSE(o.help);
    EXPECT_TRUE(o.errors.empty());
    EXPECT_EQ(o.trace, "wire.txt");
    ASSERT_EQ(o.faults.size(), 1u);
    EXPECT_EQ(o.faults[0].What, SimFault::NoReply);
    EXPECT_EQ(o.faults[0].From, 3u);
    EXPECT_EQ(o.faults[0].To, 4u);
    EXPECT_TRUE(o.pace);
    EXPECT_EQ(o.state, "state.bin");
    EXPECT_TRUE(o.reset);
    const std::vector<std::pair<uint16_t, uint32_t>> consumer = {{0x1811, 250}, {0x1810, 0}};
    EXPECT_EQ(o.consumer, consumer);

    const ProgramOptions bad = ParseProgramOptions({"--sim-fault", "sometimes", "--sim-consumer", "0x11811",
                                                    "--sim-consumer", "0x1811@soon", "--trace"});
    EXPECT_EQ(bad.errors.size(), 4u);
    EXPECT_TRUE(bad.faults.empty());
    EXPECT_TRUE(bad.consumer.empty());
    EXPECT_TRUE(bad.trace.empty());

    EXPECT_TRUE(ParseProgramOptions({"--help"}).help);
    std::ostringstream usage;
    PrintProgramUsage(usage);
    for (const char* option : {"--trace", "--sim-fault", "--sim-pace", "--sim-state", "--sim-reset",
                               "XDG_STATE_HOME", "--sim-consumer", "/Start"})
        EXPECT_NE(usage.str().find(option), std::string::npos) << option;
}

TEST(ReportTrace, WritesEachCommandReportAndItsReplyAsTheKeyboardSawThem) {
    orvane::testing::CTempDir dir;
    CSimKeyboard sim(128);
    sim.SetRecording(true);
    SetHidBackend(&sim);
    ASSERT_TRUE(InstallReportTrace(dir.File("wire.txt")));
    EXPECT_FALSE(InstallReportTrace(dir.File("no-such-folder/wire.txt")));
    ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
    g_DeviceOpen.store(1);
    std::array<uint8_t, 64> info{};
    EXPECT_EQ(DevReadInfo(info), DEV_OK);
    g_DeviceOpen.store(0);
    g_HidDevice.Close();
    SetHidBackend(nullptr);

    std::ostringstream expected;
    for (const SimWireReport& r : sim.Recorded()) {
        expected << r.Direction;
        for (uint8_t b : r.Bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", b);
            expected << hex;
        }
        expected << "\n";
    }
    ASSERT_FALSE(sim.Recorded().empty());
    EXPECT_EQ(orvane::testing::ReadText(dir.File("wire.txt")), expected.str());
}

} // namespace
