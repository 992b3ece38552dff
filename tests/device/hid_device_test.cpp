// CHidDevice over the simulated keyboard and a backend that only lists paths.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "device/HidPath.h"
#include "device/support/SimFixture.h"
#include "support/ProcessCounts.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

// Lists `count` paths and opens none of them.
class CListingBackend : public CHidBackend {
  public:
    explicit CListingBackend(int count) : m_Count(count) {}
    bool EnumeratePaths(std::vector<std::string>& paths) override {
        paths.clear();
        for (int i = 0; i < m_Count; ++i)
            paths.push_back("/dev/hidraw" + std::to_string(i) + "#vid_0001&pid_0002&col01");
        return true;
    }
    std::unique_ptr<CHidHandle> OpenPath(const std::string&, bool, bool) override { return nullptr; }
    bool IsPresent(const std::string&) override { return false; }

  private:
    int m_Count;
};

TEST(HidDeviceList, EmptyAndGrowingListsKeepEveryPathInOrder) {
    for (int count : {0, 1, 8, 9, 40}) {
        CListingBackend backend(count);
        SetHidBackend(&backend);
        CHidDevice device;
        ASSERT_TRUE(device.EnumerateInterfaces());
        EXPECT_EQ(device.InterfaceCount(), static_cast<uint32_t>(count));
        for (int i = 0; i < count; ++i) {
            const char* p = device.NextInterfacePath();
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(std::string(p), "/dev/hidraw" + std::to_string(i) + "#vid_0001&pid_0002&col01");
        }
        EXPECT_EQ(device.NextInterfacePath(), nullptr);
        // A second enumeration starts from the top again.
        ASSERT_TRUE(device.EnumerateInterfaces());
        if (count) {
            EXPECT_NE(device.NextInterfacePath(), nullptr);
        }
        device.FreeInterfaceList();
        EXPECT_EQ(device.NextInterfacePath(), nullptr);
        SetHidBackend(nullptr);
    }
}

class HidDeviceTest : public SimKeyboardTest {
  protected:
    std::string PathOf(unsigned node, unsigned collection) {
        return MakeInterfacePath("sim:hidraw" + std::to_string(node), sim->VendorID(), sim->ProductID(),
                                 collection);
    }
};

TEST_F(HidDeviceTest, EachCollectionOpensWithItsOwnCapabilities) {
    EXPECT_EQ(g_HidDevice.UsagePage(), 0xFF1C);
    EXPECT_EQ(g_HidDevice.Usage(), 0x92);
    EXPECT_EQ(g_HidDevice.InputReportByteLength(), 64);
    EXPECT_EQ(g_HidDevice.VendorID(), 0x320F);
    EXPECT_EQ(g_HidDevice.ProductID(), 0x5000);

    CHidDevice kb;
    ASSERT_EQ(kb.Open(PathOf(0, 0).c_str(), true, false, true, false), 1);
    EXPECT_EQ(kb.UsagePage(), 0x01);
    EXPECT_EQ(kb.Usage(), 0x06);
    EXPECT_EQ(std::string(kb.Path()), PathOf(0, 0));

    CHidDevice consumer;
    ASSERT_EQ(consumer.Open(PathOf(1, 0).c_str(), true, false, true, false), 1);
    EXPECT_EQ(consumer.UsagePage(), 0x0C);
    ASSERT_EQ(consumer.InputItemCount(), 1u);
    EXPECT_EQ(consumer.InputItems()[0].UsageCapacity, 1u);

    // A collection the node does not have, and a path beyond the path array.
    CHidDevice bad;
    EXPECT_EQ(bad.Open(PathOf(0, 1).c_str(), true, false, true, false), 0);
    std::string longPath = "sim:" + std::string(300, 'x') + PathOf(1, 1);
    EXPECT_EQ(bad.Open(longPath.c_str(), true, true, true, false), 0);
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_EQ(bad.Close(), 0);
}

TEST_F(HidDeviceTest, ConsumerReportDecodesToItsUsage) {
    CHidDevice consumer;
    ASSERT_EQ(consumer.Open(PathOf(1, 0).c_str(), true, false, true, false), 1);
    sim->SendConsumerUsage(0x0401);
    uint32_t got = 0;
    ASSERT_EQ(consumer.ReadReport(consumer.InputBuffer(), consumer.InputReportByteLength(), &got, 5000), 1);
    EXPECT_EQ(got, 3u);
    ASSERT_TRUE(CHidDevice::UnpackReport(consumer.InputBuffer(), got, HidReportKind::Input,
                                         consumer.InputItems(), consumer.InputItemCount(),
                                         consumer.PreparsedData()));
    EXPECT_EQ(consumer.InputItems()[0].Usages[0], 0x0401);
}

TEST_F(HidDeviceTest, TimeoutsAndStopEndTransfersWithNothingTransferred) {
    CHidDevice consumer;
    ASSERT_EQ(consumer.Open(PathOf(1, 0).c_str(), true, false, true, false), 1);
    uint8_t buffer[8];
    uint32_t got = 99;
    EXPECT_EQ(consumer.ReadReport(buffer, sizeof buffer, &got, 50), 0);
    EXPECT_EQ(got, 0u);

    // A stop raised while no transfer runs (an Open or Close just after a
    // transfer finished) is dropped: it must not fail the next transfer.
    sim->SendConsumerUsage(0x0402);
    consumer.SignalStop();
    consumer.SignalStop();
    EXPECT_EQ(consumer.ReadReport(buffer, sizeof buffer, &got, 5000), 1);
    EXPECT_EQ(got, 3u);
    uint8_t info[64] = {4};
    info[3] = 3;
    info[4] = 44;
    SealReport(info);
    g_HidDevice.SignalStop();
    EXPECT_EQ(g_HidDevice.WriteReport(info, 64, &got, 1000), 1);
    EXPECT_EQ(g_HidDevice.ReadReport(info, 64, &got, 1000), 1);

    // A buffer shorter than the report is never overrun.
    sim->SendConsumerUsage(0x0402);
    EXPECT_EQ(consumer.ReadReport(buffer, 2, &got, 100), 0);
}

TEST_F(HidDeviceTest, CloseOrUnplugEndsAReadWaitingWithoutLimit) {
    for (bool unplug : {false, true}) {
        SCOPED_TRACE(unplug ? "unplugged" : "closed");
        CHidDevice consumer;
        ASSERT_EQ(consumer.Open(PathOf(1, 0).c_str(), true, false, true, false), 1);
        auto reader = std::async(std::launch::async, [&] {
            uint8_t buffer[8];
            uint32_t got = 5;
            int r = consumer.ReadReport(buffer, sizeof buffer, &got, -1);
            return std::make_pair(r, got);
        });
        std::this_thread::sleep_for(50ms);
        if (unplug)
            sim->Unplug();
        else
            consumer.Close();
        ASSERT_EQ(reader.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(reader.get(), std::make_pair(0, 0u));
        if (unplug) {
            EXPECT_FALSE(HidBackend().IsPresent(PathOf(1, 1)));
            CHidDevice again;
            EXPECT_EQ(again.Open(PathOf(1, 1).c_str(), true, true, true, false), 0);
            sim->Plug();
        }

        // Opened again, the device reads as before.
        ASSERT_EQ(consumer.Open(PathOf(1, 0).c_str(), true, false, true, false), 1);
        sim->SendConsumerUsage(0x0401);
        uint8_t buffer[8];
        uint32_t n = 0;
        EXPECT_EQ(consumer.ReadReport(buffer, sizeof buffer, &n, 5000), 1);
    }
}

TEST_F(HidDeviceTest, OpenCloseCyclesLeakNoDescriptors) {
    CHidDevice device;
    ASSERT_EQ(device.Open(PathOf(1, 1).c_str(), true, true, true, false), 1);
    device.Close();
    const int before = testing::OpenFdCount();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(device.Open(PathOf(1, 1).c_str(), true, true, true, false), 1);
        if (i % 2) device.Close(); // the other half is released by the next Open
    }
    device.Close();
    for (int i = 0; i < 100; ++i)
        CHidDevice scratch; // stop events too
    EXPECT_EQ(testing::OpenFdCount(), before);
}

} // namespace
} // namespace orvane::test
