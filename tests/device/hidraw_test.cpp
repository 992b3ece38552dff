// The hidraw backend on a fake sysfs tree: listing, collections, report-id
// filtering, bytes on the wire, and a node that disappears.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "device/DeviceDiscovery.h"
#include "device/HidDevice.h"
#include "device/support/Descriptors.h"
#include "device/support/FakeHidraw.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

class HidrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.AddNode(0, 0x320F, 0x5000, kKeyboardNode);
        tree.AddNode(1, 0x320F, 0x5000, kCommandNode);
        tree.AddNode(2, 0x046D, 0xC077, kMouseNode);
        SetHidBackend(&backend);
    }
    void TearDown() override { SetHidBackend(nullptr); }

    CFakeHidrawTree tree;
    CFakeHidrawBackend backend{tree};
};

TEST_F(HidrawTest, ListsOnePathPerCollectionInNodeOrderAndNoNodesAsNone) {
    CHidDevice device;
    ASSERT_TRUE(device.EnumerateInterfaces());
    std::vector<std::string> paths;
    while (const char* p = device.NextInterfacePath())
        paths.push_back(p);
    const std::string dev = tree.DevRoot();
    EXPECT_EQ(paths,
              (std::vector<std::string>{
                  dev + "/hidraw0#vid_320f&pid_5000&col01", dev + "/hidraw0#vid_320f&pid_5000&col02",
                  dev + "/hidraw0#vid_320f&pid_5000&col03", dev + "/hidraw1#vid_320f&pid_5000&col01",
                  dev + "/hidraw1#vid_320f&pid_5000&col02", dev + "/hidraw2#vid_046d&pid_c077&col01"}));

    // No nodes at all is an empty list, not a failure.
    CFakeHidrawTree empty;
    CFakeHidrawBackend none(empty);
    SetHidBackend(&none);
    EXPECT_TRUE(device.EnumerateInterfaces());
    EXPECT_EQ(device.NextInterfacePath(), nullptr);
}

TEST_F(HidrawTest, CommandInterfaceWriteAndFilteredReply) {
    CHidDevice device;
    ASSERT_TRUE(OpenCommandInterface(device));
    EXPECT_EQ(std::string(device.Path()), tree.DevRoot() + "/hidraw1#vid_320f&pid_5000&col02");
    EXPECT_EQ(device.InputReportByteLength(), 64);

    uint8_t request[64] = {4, 0x2F, 0, 3, 44};
    uint32_t sent = 0;
    ASSERT_EQ(device.WriteReport(request, 64, &sent, 1000), 1);
    EXPECT_EQ(sent, 64u);
    uint8_t wire[128];
    ASSERT_EQ(recv(tree.DeviceEnd(1), wire, sizeof wire, 0), 64);
    EXPECT_EQ(std::vector<uint8_t>(wire, wire + 64), std::vector<uint8_t>(request, request + 64));

    // A consumer report of the same node and a cut-short report 4 come first;
    // neither is the reply.
    const uint8_t consumer[3] = {3, 0xE9, 0};
    uint8_t shortReply[10] = {4, 1, 2, 3};
    uint8_t reply[64] = {4, 0x2F, 0, 3, 44, 0, 0, 0};
    for (int i = 8; i < 64; ++i)
        reply[i] = static_cast<uint8_t>(i);
    send(tree.DeviceEnd(1), consumer, sizeof consumer, 0);
    send(tree.DeviceEnd(1), shortReply, sizeof shortReply, 0);
    send(tree.DeviceEnd(1), reply, sizeof reply, 0);
    uint8_t got[64] = {};
    uint32_t n = 0;
    ASSERT_EQ(device.ReadReport(got, sizeof got, &n, 1000), 1);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(std::vector<uint8_t>(got, got + 64), std::vector<uint8_t>(reply, reply + 64));
}

TEST_F(HidrawTest, ReportsWithoutIdsGetTheZeroIdByte) {
    CHidDevice mouse;
    ASSERT_EQ(
        mouse.Open((tree.DevRoot() + "/hidraw2#vid_046d&pid_c077&col01").c_str(), true, false, true, false),
        1);
    EXPECT_EQ(mouse.InputReportByteLength(), 4);
    const uint8_t move[3] = {0x01, 0x05, 0xFB};
    send(tree.DeviceEnd(2), move, sizeof move, 0);
    uint32_t n = 0;
    ASSERT_EQ(mouse.ReadReport(mouse.InputBuffer(), mouse.InputReportByteLength(), &n, 1000), 1);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(mouse.InputBuffer()[0], 0);
    EXPECT_EQ(mouse.InputBuffer()[3], 0xFB);
}

TEST_F(HidrawTest, UnplugDuringReadEndsItAndThePresenceCheckFails) {
    CHidDevice device;
    ASSERT_TRUE(OpenCommandInterface(device));
    const std::string path = device.Path();
    EXPECT_TRUE(backend.IsPresent(path));
    auto reader = std::async(std::launch::async, [&] {
        uint8_t buffer[64];
        uint32_t n = 0;
        return device.ReadReport(buffer, sizeof buffer, &n, -1);
    });
    std::this_thread::sleep_for(30ms);
    tree.Unplug(1);
    ASSERT_EQ(reader.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 0);
    EXPECT_FALSE(backend.IsPresent(path));
    uint8_t request[64] = {4};
    EXPECT_EQ(device.WriteReport(request, 64, nullptr, 1000), 0);
    CHidDevice again;
    EXPECT_FALSE(OpenCommandInterface(again));
}

} // namespace
} // namespace orvane::test
