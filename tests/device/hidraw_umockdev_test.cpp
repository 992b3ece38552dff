// The hidraw backend, unchanged, against device nodes emulated by umockdev:
// the test program runs itself again under umockdev, whose script plays the
// keyboard's side of the conversation, or whose testbed plugs the keyboard in
// and out and announces it to udev monitors.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "device/ConnectionMonitor.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceThreadControl.h"
#include "device/HidDevice.h"
#include "device/HidrawBackend.h"
#include "device/ReportExchange.h"
#include "device/support/Descriptors.h"
#include "services/AutoShowLatch.h"
#include "support/RecordingLink.h"
#include "support/TempDir.h"

namespace orvane::test {
namespace {

using testing::CRecordingLink;

namespace fs = std::filesystem;

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string s;
    char h[3];
    for (uint8_t b : bytes) {
        std::snprintf(h, sizeof h, "%02x", b);
        s += h;
    }
    return s;
}

// Bytes in umockdev's script escaping: <= 32 as '^' + (b + 64), '^' as "^`".
std::string Escape(const std::vector<uint8_t>& bytes) {
    std::string s;
    for (uint8_t b : bytes) {
        if (b <= 32)
            s += {'^', static_cast<char>(b + 64)};
        else if (b == '^')
            s += "^`";
        else
            s += static_cast<char>(b);
    }
    return s;
}

std::string HidDevicePath(unsigned n, const char* ids) {
    return "/devices/pci0000:00/usb1/1-1/1-1:1." + std::to_string(n) + "/0003:" + ids + ".000" +
           std::to_string(n + 1);
}

// The HID device first, then its hidraw node, in the kernel's order: the
// node's announcement must find its parent's identity and descriptor.
std::string DeviceRecord(unsigned n, const char* ids, const std::vector<uint8_t>& descriptor) {
    std::string hid = HidDevicePath(n, ids);
    std::string name = "hidraw" + std::to_string(n);
    return "P: " + hid + "\nE: DRIVER=hid-generic\nE: HID_ID=0003:0000" + std::string(ids, 4) + ":0000" +
           std::string(ids + 5, 4) +
           "\nE: HID_NAME=Emulated Keyboard\nE: SUBSYSTEM=hid\nH: report_descriptor=" + Hex(descriptor) +
           "\n\nP: " + hid + "/hidraw/" + name + "\nN: " + name + "\nE: DEVNAME=/dev/" + name +
           "\nE: MAJOR=240\nE: MINOR=" + std::to_string(n) + "\nE: SUBSYSTEM=hidraw\n\n";
}

const std::vector<uint8_t> kRequest = [] {
    std::vector<uint8_t> r(64, 0);
    r[0] = 4;
    r[1] = 0x2F;
    r[3] = 3;
    r[4] = 44;
    return r;
}();

const std::vector<uint8_t> kReply = [] {
    std::vector<uint8_t> r = kRequest;
    for (int i = 8; i < 64; ++i)
        r[i] = static_cast<uint8_t>(0xA0 + i);
    return r;
}();

// The part that runs inside the testbed.
void RunInsideTestbed() {
    CHidrawBackend backend; // the real roots: umockdev redirects /sys and /dev
    SetHidBackend(&backend);
    CHidDevice device;
    ASSERT_TRUE(device.EnumerateInterfaces());
    std::vector<std::string> paths;
    while (const char* p = device.NextInterfacePath())
        paths.push_back(p);
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "/dev/hidraw0#vid_320f&pid_5000&col01", "/dev/hidraw0#vid_320f&pid_5000&col02",
                         "/dev/hidraw0#vid_320f&pid_5000&col03", "/dev/hidraw1#vid_320f&pid_5000&col01",
                         "/dev/hidraw1#vid_320f&pid_5000&col02"}));
    ASSERT_TRUE(OpenCommandInterface(device));
    EXPECT_EQ(std::string(device.Path()), "/dev/hidraw1#vid_320f&pid_5000&col02");
    EXPECT_TRUE(backend.IsPresent(device.Path()));
    // The script refuses any write that differs from the request byte for byte.
    ASSERT_EQ(device.WriteReport(kRequest.data(), 64, nullptr, 1000), 1);
    uint8_t got[64] = {};
    uint32_t n = 0;
    // The consumer report that the script sends first is not this collection's.
    ASSERT_EQ(device.ReadReport(got, 64, &n, 2000), 1);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(std::vector<uint8_t>(got, got + 64), kReply);
    SetHidBackend(nullptr);
}

bool Inside(const char* part) {
    const char* inside = std::getenv("ORVANE_INSIDE_UMOCKDEV");
    return inside && std::string(inside) == part;
}

// How often the device threads woke up during a pause in which nothing happens.
uint64_t WakeupsWhileIdle() {
    const uint64_t before = DeviceThreadWakeups();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return DeviceThreadWakeups() - before;
}

// The same once the events of the moment are handled (both nodes of an
// unplug announce themselves; on a busy machine the second comes late): after
// the first quiet pause within two seconds, a whole second more must pass
// without a wake-up, which a thread that looks again on its own never leaves.
uint64_t WakeupsOnceSettled() {
    for (int pause = 0; pause < 6 && WakeupsWhileIdle() != 0; ++pause) {
    }
    const uint64_t before = DeviceThreadWakeups();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return DeviceThreadWakeups() - before;
}

// Inside the testbed: the connection monitor over the real hidraw backend,
// while the testbed plugs the keyboard in and pulls it out again.
void RunHotplugInsideTestbed() {
    UMockdevTestbed* testbed = umockdev_testbed_new();
    CHidrawBackend backend;
    SetHidBackend(&backend);
    CRecordingLink link;
    SetMainWindowLink(&link);
    ResetDeviceThreadState();
    AutoShowLatch().store(1);
    std::thread monitor(ConnectionMonitorThread);
    // Nothing is plugged in: the monitor waits without looking again.
    EXPECT_EQ(WakeupsWhileIdle(), 0u);

    // The emulated node does not answer, so the connection's reads fail
    // slowly; the connection still counts.
    GError* error = nullptr;
    const std::string records =
        DeviceRecord(0, "320F:5000", kKeyboardNode) + DeviceRecord(1, "320F:5000", kCommandNode);
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, records.c_str(), &error));
    EXPECT_TRUE(link.WaitFor("post 5452"));
    EXPECT_EQ(g_DeviceOpen.load(), 1u);
    EXPECT_EQ(std::string(g_HidDevice.Path()), "/dev/hidraw1#vid_320f&pid_5000&col02");
    EXPECT_EQ(WakeupsOnceSettled(), 0u);

    for (unsigned n : {1u, 0u}) {
        const std::string node =
            "/sys" + HidDevicePath(n, "320F:5000") + "/hidraw/hidraw" + std::to_string(n);
        umockdev_testbed_uevent(testbed, node.c_str(), "remove");
        umockdev_testbed_remove_device(testbed, node.c_str());
    }
    EXPECT_TRUE(link.WaitFor("post 4753"));
    EXPECT_TRUE(link.WaitFor("tray 128"));
    EXPECT_EQ(g_DeviceOpen.load(), 0u);
    EXPECT_EQ(WakeupsOnceSettled(), 0u);

    StopDeviceThreads();
    monitor.join();
    g_HidDevice.Close();
    SetMainWindowLink(nullptr);
    SetHidBackend(nullptr);
    ResetDeviceThreadState();
    AutoShowLatch().store(0);
    g_object_unref(testbed);
}

// Runs this program again under the `umockdev` command line; its output goes
// into the failure message.
void RunUnderUmockdev(const std::string& inside, const std::string& umockdev, const std::string& filter,
                      const std::string& dir) {
    std::string self = fs::read_symlink("/proc/self/exe");
    std::string cmd = "ORVANE_INSIDE_UMOCKDEV=" + inside + " " + umockdev + " " + self +
                      " --gtest_filter=" + filter + " > " + dir + "/out.txt 2>&1";
    int status = system(cmd.c_str());
    const std::string log = testing::ReadText(dir + "/out.txt");
    fs::remove_all(dir);
    ASSERT_TRUE(WIFEXITED(status)) << log;
    EXPECT_EQ(WEXITSTATUS(status), 0) << log;
}

#define SKIP_WITHOUT_UMOCKDEV()                                                                              \
    if (system("command -v umockdev-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "umockdev is not installed"

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define SKIP_UNDER_SANITIZERS() GTEST_SKIP() << "the preload library does not mix with sanitizers"
#else
#define SKIP_UNDER_SANITIZERS() (void)0
#endif

TEST(HidrawUmockdev, HotplugIsAnnouncedAndNothingWakesTheMonitorInBetween) {
    if (Inside("hotplug")) {
        RunHotplugInsideTestbed();
        return;
    }
    SKIP_WITHOUT_UMOCKDEV();
    SKIP_UNDER_SANITIZERS();
    char tmpl[] = "/tmp/orvane-umockdev-XXXXXX";
    RunUnderUmockdev("hotplug", "umockdev-wrapper", "HidrawUmockdev.Hotplug*", mkdtemp(tmpl));
}

TEST(HidrawUmockdev, EnumeratesOpensWritesAndReadsTheEmulatedKeyboard) {
    if (Inside("exchange")) {
        RunInsideTestbed();
        return;
    }
    SKIP_WITHOUT_UMOCKDEV();
    SKIP_UNDER_SANITIZERS();
    char tmpl[] = "/tmp/orvane-umockdev-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    std::ofstream(dir + "/keyboard.umockdev")
        << DeviceRecord(0, "320F:5000", kKeyboardNode) << DeviceRecord(1, "320F:5000", kCommandNode);
    const std::vector<uint8_t> consumer = {3, 0x01, 0x04};
    std::ofstream(dir + "/hidraw1.script")
        << "w 0 " << Escape(kRequest) << "\nr 10 " << Escape(consumer) << "\nr 20 " << Escape(kReply) << "\n";
    RunUnderUmockdev("exchange",
                     "umockdev-run -d " + dir + "/keyboard.umockdev -s /dev/hidraw1=" + dir +
                         "/hidraw1.script --",
                     "HidrawUmockdev.Enumerates*", dir);
}

} // namespace
} // namespace orvane::test
