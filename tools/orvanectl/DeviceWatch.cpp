// devices: the accepted keyboards found the way the connection monitor finds
// them. watch: the monitor and the consumer listener themselves, with a
// window link that prints what they report.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <thread>

#include "CtlCommand.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "DeviceCtl.h"
#include "Reasons.h"
#include "services/AutoShowLatch.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"

namespace orvanectl {
namespace {

using namespace orvane;

int RunDevices(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "devices", "");
    CHidDevice device;
    if (!device.EnumerateInterfaces()) {
        err << "orvanectl: cannot list HID interfaces\n";
        return kFailed;
    }
    int found = 0;
    while (const char* path = device.NextInterfacePath()) {
        if (!MatchVidPidInPath(path) || !device.Open(path, true, true, true, false)) continue;
        if (IsCommandInterface(device)) {
            char line[64];
            std::snprintf(line, sizeof line, " %04x %04x %d", device.VendorID(), device.ProductID(),
                          KeyCountForIds(device.VendorID(), device.ProductID()));
            out << path << line << "\n";
            ++found;
        }
        device.Close();
    }
    if (!found) err << kNoKeyboard;
    return found ? kOk : kFailed;
}

// Prints the connection changes the monitor reports to the window.
class CPrintingLink : public MainWindowLink {
  public:
    explicit CPrintingLink(std::ostream& out) : m_Out(out) {}
    intptr_t SendWindowMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostWindowMessage(uint32_t message, uintptr_t, intptr_t) override {
        if (message == UM_PROFILE) Print(std::string("connected ") + g_HidDevice.Path());
        if (message == UM_DEVICE_GONE) Print("disconnected");
    }
    void SetWindowTimer(uint32_t, uint32_t) override {}
    void KillWindowTimer(uint32_t) override {}
    void SetTrayIcon(int) override {}
    void HideWindow() override {}
    void ShowMessage(const std::string& text) override { Print("message " + text); }

    void Print(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Out << line << std::endl;
    }

  private:
    std::ostream& m_Out;
    std::mutex m_Mutex;
};

constexpr const char* kWatchArgs = "[SECONDS]";
int RunWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto seconds = args.size() == 1 ? ParseNumber(args[0], 86400) : std::optional<uint32_t>(0);
    if (args.size() > 1 || !seconds) return UsageError(err, "watch", kWatchArgs);
    CPrintingLink link(out);
    SetMainWindowLink(&link);
    SetConsumerUsageObserver([&link](uint16_t usage) {
        if (!usage) return; // a key release
        char line[32];
        std::snprintf(line, sizeof line, "consumer 0x%04x", usage);
        link.Print(line);
    });
    AutoShowLatch().store(1); // there is no window to show
    std::thread listener(ConsumerListenerThread);
    std::thread monitor(ConnectionMonitorThread);
    if (*seconds == 0) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1)); // until interrupted
    }
    std::this_thread::sleep_for(std::chrono::seconds(*seconds));
    StopDeviceThreads();
    listener.join();
    monitor.join();
    SetConsumerUsageObserver(nullptr);
    SetMainWindowLink(nullptr);
    return kOk;
}

CtlRegistrar devices(
    {"devices", "", false, RunDevices,
     "Lists the accepted keyboards' command interfaces: path, vendor and product numbers and key count."});
CtlRegistrar watch({"watch", kWatchArgs, false, RunWatch,
                    "Watches the keyboard as the program does and prints each connection, disconnection and "
                    "consumer key, for SECONDS or until interrupted."});

} // namespace
} // namespace orvanectl
