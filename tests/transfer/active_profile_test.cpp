// The keyboard's active profile: the cache, switching, and following the
// keyboard after it reported its reset.
#include <gtest/gtest.h>

#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "sim/SimFaults.h"
#include "transfer/ActiveProfile.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {
namespace {

class ActiveProfileTest : public TransferTest {};

TEST_F(ActiveProfileTest, SetActiveProfileSendsOnlyForARealProfile) {
    EXPECT_EQ(SetActiveProfile(-1), 0);
    EXPECT_EQ(SetActiveProfile(3), 0);
    EXPECT_TRUE(TakeRequests().empty());

    EXPECT_EQ(SetActiveProfile(2), 1);
    const auto requests = TakeRequests();
    ASSERT_EQ(Commands(requests), "03 04");
    EXPECT_EQ(requests[1].length, DEVICE_INFO_SIZE);
    EXPECT_EQ(requests[1].bytes[8 + DEVICE_INFO_ACTIVE_PROFILE], 2);
    EXPECT_EQ(GetActiveProfileCache(), 2);
    EXPECT_EQ(GetActiveProfile(), 2);
    EXPECT_TRUE(TakeRequests().empty()); // answered from the cache
    sim->WithFirmware([](CSimFirmware& f) { EXPECT_EQ(f.Info[10], 2); });

    // A refused write leaves the profile unknown, so the next use asks again.
    sim->AddFault({SimFault::Status, sim->RequestCount() + 2, sim->RequestCount() + 2, 0xFE});
    EXPECT_EQ(SetActiveProfile(1), 0);
    EXPECT_EQ(GetActiveProfileCache(), -1);
}

TEST_F(ActiveProfileTest, GetActiveProfileTrustsOnlyARealProfileNumber) {
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 7; });
    EXPECT_EQ(GetActiveProfile(), -1);
    EXPECT_EQ(GetActiveProfileCache(), -1);
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
    EXPECT_EQ(GetActiveProfile(), 1);
    EXPECT_EQ(Commands(TakeRequests()), "03 03");
}

TEST_F(ActiveProfileTest, FollowKeyboardResetAppliesThenSwitchesToTheKeyboardsProfile) {
    CreateWorkingProfile(0);
    CreateWorkingProfile(1);
    SetActiveProfileCache(0);
    // The keyboard came back on profile 1; the window had reset its keys.
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
    host.pending = true;
    // Profile 1's file holds an assignment that becomes the working copy.
    {
        CConfigStore other;
        ASSERT_EQ(LoadProfileFile(WorkingProfilePath(1), other), 1);
        ASSERT_TRUE(other.StoreKeyFunction(1, 0x1E, KeyFunctionKind::Disabled, 0));
        ASSERT_EQ(SaveProfileFile(WorkingProfilePath(1), other), 1);
    }

    EXPECT_EQ(FollowKeyboardReset(), 1);
    // Device info, the Apply to the old profile, then the switch.
    EXPECT_EQ(Commands(TakeRequests()), "03 01 0a 08 08 08 08 08 08 08 08 08 08 02 03 04");
    EXPECT_EQ(GetActiveProfileCache(), 1);
    EXPECT_EQ(GetCurrentProfile(), 1);
    EXPECT_FALSE(host.pending);
    EXPECT_TRUE(g_ConfigStore.Record(1, 0x1E).Is(KeyFunctionKind::Disabled));
    auto calls = host.Calls();
    // The Apply's busy picture winds down on its own, at any point of these.
    std::erase_if(calls, [](const std::string& call) { return call.rfind("busy", 0) == 0; });
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "buttons 1");
    EXPECT_EQ(calls.back(), "colour sets"); // the simulated keyboard offers mode 20
}

TEST_F(ActiveProfileTest, FollowKeyboardResetReportsEveryFailureOfItsSequence) {
    CreateWorkingProfile(0);
    CreateWorkingProfile(1);
    // Request positions of the sequence (device info, the Apply's begin,
    // macro write, ten matrix chunks and end, then the switch's read and
    // write of the device info), each refused in turn.
    for (uint32_t at : {1u, 2u, 3u, 4u, 14u, 15u, 16u}) {
        SCOPED_TRACE("refused request " + std::to_string(at));
        SetActiveProfileCache(0);
        sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
        host.pending = true;
        TakeRequests();
        sim->AddFault({SimFault::Status, sim->RequestCount() + at, sim->RequestCount() + at, 0xFE});
        EXPECT_EQ(FollowKeyboardReset(), 0);
        EXPECT_EQ(Commands(TakeRequests()).substr(0, 2), "03");
    }
    SetActiveProfileCache(0);
    sim->WithFirmware([](CSimFirmware& f) { f.Info[10] = 1; });
    host.pending = true;
    EXPECT_EQ(FollowKeyboardReset(), 1);
    EXPECT_FALSE(host.pending);
}

} // namespace
} // namespace orvane::test
