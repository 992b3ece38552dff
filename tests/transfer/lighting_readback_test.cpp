// Reading the lighting back from the keyboard: the command sequence, the
// decoded profile, and what a failed read may and may not change.
#include <gtest/gtest.h>

#include "device/DeviceCommands.h"
#include "model/LightingModel.h"
#include "sim/SimFaults.h"
#include "support/TempDir.h"
#include "transfer/LightingReadBack.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {
namespace {

class LightingReadBackTest : public TransferTest {
  protected:
    void SetUp() override {
        TransferTest::SetUp();
        model.SetSettingsFile(home.Dir().File("zaru.ini"));
    }
    void WriteSwitch(const char* value) {
        testing::WriteText(home.Dir().File("zaru.ini"), std::string("[KEYCOLOR]\nDengCheck=") + value + "\n");
    }
    CLightingModel model;
};

TEST_F(LightingReadBackTest, ReadsAllThreeRecordsAndDecodesTheCurrentProfile) {
    SetCurrentProfile(1);
    ASSERT_EQ(ReadLightingRecords(model), DEV_OK);
    const auto requests = TakeRequests();
    ASSERT_EQ(Commands(requests), "03 01 05 05 05 02");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[2 + i].length, 56);
        EXPECT_EQ(requests[2 + i].offset, i * 42);
    }
    EXPECT_EQ(model.Settings().mode, 2);
    EXPECT_EQ(model.Settings().previewColour, MakeColour(0, 0xFF, 0));
    EXPECT_TRUE(model.Modes().Offers(20));
    sim->WithFirmware([&](CSimFirmware& f) {
        EXPECT_TRUE(std::equal(f.Lighting.begin(), f.Lighting.end(), model.LightingArea().begin()));
    });
}

TEST_F(LightingReadBackTest, UnreadableDeviceInfoLeavesNoModesAndTheSettingsAlone) {
    ASSERT_EQ(ReadLightingRecords(model), DEV_OK);
    const CLightingSettings before = model.Settings();
    const auto area = model.LightingArea();
    sim->WithFirmware([](CSimFirmware& f) { f.Lighting[0] = 7; });
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, sim->RequestCount() + 1, 0xFF});
    TakeRequests();
    EXPECT_EQ(ReadLightingRecords(model), -102);
    EXPECT_EQ(Commands(TakeRequests()), "03");
    EXPECT_EQ(model.Modes().Count(), 0);
    EXPECT_EQ(model.Settings().mode, before.mode);
    EXPECT_EQ(model.LightingArea(), area);
}

TEST_F(LightingReadBackTest, AFailedRecordReadKeepsThatRecordAsItWas) {
    ASSERT_EQ(ReadLightingRecords(model), DEV_OK);
    const auto old = model.LightingArea();
    sim->WithFirmware([](CSimFirmware& f) {
        f.Lighting[0] = 11;
        f.Lighting[42] = 12;
        f.Lighting[84] = 13;
    });
    // Device info, begin, record 0, then record 1 refused: reported, not hidden.
    sim->AddFault({SimFault::Status, sim->RequestCount() + 4, sim->RequestCount() + 4, 0xFE});
    ASSERT_EQ(ReadLightingRecords(model), -103);
    const auto& area = model.LightingArea();
    EXPECT_EQ(area[0], 11);
    EXPECT_TRUE(std::equal(area.begin() + 42, area.begin() + 84, old.begin() + 42)); // not record 0's bytes
    EXPECT_EQ(area[84], 13); // the last record is read although its chunk runs past the area
}

TEST_F(LightingReadBackTest, AFailedBeginOrEndIsAFailure) {
    ASSERT_EQ(ReadLightingRecords(model), DEV_OK);
    const auto old = model.LightingArea();
    for (bool afterConnect : {false, true}) {
        SCOPED_TRACE(afterConnect ? "after a connection" : "plain");
        sim->WithFirmware([](CSimFirmware& f) { f.Lighting[0] = 9; });
        auto read = [&] {
            return afterConnect ? ReadLightingRecordsAfterConnect(model) : ReadLightingRecords(model);
        };
        TakeRequests();
        // A refused begin: no record is read, so none changes.
        sim->AddFault({SimFault::Status, sim->RequestCount() + 2, sim->RequestCount() + 2, 0xFE});
        EXPECT_EQ(read(), -103);
        EXPECT_EQ(Commands(TakeRequests()), "03 01");
        EXPECT_EQ(model.LightingArea(), old);
        EXPECT_GT(model.Modes().Count(), 0);

        // A refused end: the records were read and are kept.
        sim->AddFault({SimFault::Status, sim->RequestCount() + 6, sim->RequestCount() + 6, 0xFF});
        EXPECT_EQ(read(), -102);
        EXPECT_EQ(Commands(TakeRequests()), "03 01 05 05 05 02");
        EXPECT_EQ(model.LightingArea()[0], 9);
        sim->WithFirmware([&](CSimFirmware& f) { f.Lighting[0] = old[0]; });
        ASSERT_EQ(read(), DEV_OK);
    }
}

TEST_F(LightingReadBackTest, AfterAConnectionTheSwitchFollowsTheSettingsFileExactly) {
    WriteSwitch("1");
    ASSERT_EQ(ReadLightingRecordsAfterConnect(model), DEV_OK);
    EXPECT_TRUE(model.SwitchOn());
    EXPECT_EQ(host.Calls(), std::vector<std::string>{"colour sets"});

    WriteSwitch("0");
    ASSERT_EQ(ReadLightingRecords(model), DEV_OK);
    EXPECT_TRUE(model.SwitchOn()); // the plain read only ever turns it on
    ASSERT_EQ(ReadLightingRecordsAfterConnect(model), DEV_OK);
    EXPECT_FALSE(model.SwitchOn());
}

} // namespace
} // namespace orvane::test
