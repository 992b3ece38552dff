// The command report frame, its checksum, and the exchange's retries and
// results against the simulated keyboard's faults.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "device/DeviceCommands.h"
#include "device/ReportExchange.h"
#include "device/support/SimFixture.h"
#include "support/Programs.h"

namespace orvane::test {
namespace {

// A device info request, its checksum right, and room for its reply.
class ReportExchangeTest : public SimKeyboardTest {
  protected:
    uint8_t req[64] = {4, 0x2F, 0, 3, 44}, reply[64] = {};
    uint32_t received = 0;
};

TEST(ReportChecksum, SumsBytesThreeToSixtyThreeLittleEndian) {
    uint8_t r[64] = {};
    r[0] = 0x04;
    r[3] = 0x03;
    r[4] = 0x2C;
    SealReport(r);
    EXPECT_EQ(r[1], 0x2F);
    EXPECT_EQ(r[2], 0x00);
    // Every byte 0xFF: the largest sum, carried into the high byte.
    for (int i = 3; i < 64; ++i)
        r[i] = 0xFF;
    r[1] = r[2] = 0xAA; // the checksum bytes themselves are not summed
    SealReport(r);
    EXPECT_EQ(r[1] | r[2] << 8, 61 * 255);
}

TEST_F(ReportExchangeTest, ClosedDeviceSendsNothing) {
    g_DeviceOpen.store(0);
    received = 77;
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), 0);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(sim->RequestCount(), 0u);
}

TEST_F(ReportExchangeTest, ShortRequestIsZeroPaddedAndReplyComesBack) {
    std::fill(req + 5, req + 64, 0xEE); // past the length: never sent
    ASSERT_EQ(TransactReport(req, 5, reply, 64, &received), 1);
    EXPECT_EQ(received, 64u);
    auto sent = TakeRequests();
    ASSERT_EQ(sent.size(), 1u);
    std::vector<uint8_t> want(64, 0);
    std::copy(req, req + 5, want.begin());
    EXPECT_EQ(sent[0], want);
    EXPECT_EQ(reply[7], 0);       // accepted
    EXPECT_EQ(reply[8 + 11], 48); // macro capacity units of the device info record
}

TEST_F(ReportExchangeTest, RetriesOnlyMissingReplies) {

    // Never answered: four attempts, then 0.
    sim->AddFault({SimFault::NoReply, 1, 4, 0});
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), 0);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(sim->RequestCount(), 4u);

    // Answered on the third attempt.
    sim->ClearFaults();
    sim->AddFault({SimFault::NoReply, 5, 6, 0});
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), 1);
    EXPECT_EQ(sim->RequestCount(), 7u);

    // A failed write is not retried and nothing is read after it.
    sim->AddFault({SimFault::FailWrite, 8, 8, 0});
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), -1);
    EXPECT_EQ(sim->RequestCount(), 8u);
    EXPECT_EQ(received, 0u);
    // And the next transaction is not confused by a reply left behind.
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), 1);
    EXPECT_EQ(reply[3], 3);
}

TEST_F(ReportExchangeTest, BadChecksumIsRefusedByTheKeyboard) {
    req[1] = 0; // the checksum no longer matches
    ASSERT_EQ(TransactReport(req, 64, reply, 64, &received), 1);
    EXPECT_EQ(reply[7], 0xFF);
    EXPECT_EQ(DecodeReplyStatus(reply), DEV_STATUS_FF);
}

TEST_F(ReportExchangeTest, UnplugDuringExchangeFailsWithoutHanging) {
    sim->AddFault({SimFault::NoReply, 1, 1, 0});
    sim->AddFault({SimFault::Unplug, 1, 1, 0});
    // The first attempt's reply never comes and the node is gone: the retry's
    // write fails at once.
    EXPECT_EQ(TransactReport(req, 64, reply, 64, &received), -1);
    EXPECT_EQ(sim->RequestCount(), 1u);
}

// Two threads talking to the keyboard at once (the connection monitor's reads
// and a command from the window) each get the reply to their own request.
TEST_F(ReportExchangeTest, ConcurrentCommandsNeverTakeEachOthersReplies) {
    sim->SetPacing(true);
    std::array<uint8_t, DEVICE_INFO_SIZE> info{};
    std::array<uint8_t, LIGHTING_RECORD_SIZE> lighting{};
    sim->WithFirmware([&](CSimFirmware& f) {
        std::copy_n(f.Info.begin(), info.size(), info.begin());
        std::copy_n(f.Lighting.begin(), lighting.size(), lighting.begin());
    });
    ASSERT_NE(std::vector<uint8_t>(info.begin(), info.begin() + 42),
              std::vector<uint8_t>(lighting.begin(), lighting.end()));

    constexpr int kRounds = 300;
    std::atomic<int> wrongInfo{0}, wrongLighting{0}, failed{0};
    std::thread monitor([&] {
        for (int i = 0; i < kRounds; ++i) {
            std::array<uint8_t, DEVICE_INFO_SIZE> got{};
            if (DevReadInfo(got) != DEV_OK)
                ++failed;
            else if (got != info)
                ++wrongInfo;
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        std::array<uint8_t, REPORT_PAYLOAD> got{};
        if (DevReadLighting(got, LIGHTING_RECORD_SIZE, 0) != DEV_OK)
            ++failed;
        else if (!std::equal(lighting.begin(), lighting.end(), got.begin()))
            ++wrongLighting;
    }
    monitor.join();
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(wrongInfo.load(), 0);
    EXPECT_EQ(wrongLighting.load(), 0);
}

TEST_F(ReportExchangeTest, LateReplyIsNeverTakenForTheNextCommandsAnswer) {
    // Held past the first attempt's wait: the retry is answered, and the
    // late reply to the first attempt arrives afterwards.
    sim->AddFault({SimFault::Late, 1, 1, 0, READ_TIMEOUT_MS + 50});
    std::array<uint8_t, DEVICE_INFO_SIZE> info{};
    ASSERT_EQ(DevReadInfo(info), DEV_OK);
    EXPECT_EQ(sim->RequestCount(), 2u);
    EXPECT_EQ(info[11], 48);
    ASSERT_TRUE(testing::WaitFor([&] { return sim->HeldReplyCount() == 0; })); // every held reply sent

    // The stale device info reply is waiting; the lighting read gets its own.
    std::array<uint8_t, REPORT_PAYLOAD> lighting{};
    ASSERT_EQ(DevReadLighting(lighting, LIGHTING_RECORD_SIZE, 0), DEV_OK);
    sim->WithFirmware([&](CSimFirmware& f) {
        EXPECT_TRUE(std::equal(lighting.begin(), lighting.begin() + 42, f.Lighting.begin()));
    });
    EXPECT_EQ(sim->RequestCount(), 3u);

    // A reply late by less than the wait is only slow.
    sim->AddFault({SimFault::Late, 4, 4, 0, 50});
    ASSERT_EQ(DevReadInfo(info), DEV_OK);
    EXPECT_EQ(sim->RequestCount(), 4u);
}

} // namespace
} // namespace orvane::test
