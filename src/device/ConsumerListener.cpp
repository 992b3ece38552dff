#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceThreadControl.h"

namespace orvane {
namespace {

constexpr uint16_t kLightingChanged = 0x0401;
constexpr uint16_t kKeyboardReset = 0x0402;
constexpr uint16_t kSignalEnd = 0x1810;
constexpr uint16_t kSignalStart = 0x1811;

std::atomic<bool> g_TrayBusy{false};
std::atomic<int> g_TrayThreads{0};

std::mutex g_ObserverMutex;
std::function<void(uint16_t)> g_Observer;

// The icon changes on a thread of its own so the listener never waits for
// the window; one change at a time.
void ChangeTrayIcon(bool signal) {
    g_TrayThreads.fetch_add(1);
    std::thread([signal] {
        while (g_TrayBusy.exchange(true))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (MainWindowLink* link = GetMainWindowLink())
            link->SetTrayIcon(signal ? ICON_KEYBOARD_SIGNAL : ConnectionTrayIcon());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        g_TrayBusy.store(false);
        g_TrayThreads.fetch_sub(1);
    }).detach();
}

void ActOnUsage(uint16_t u) {
    {
        std::lock_guard<std::mutex> lock(g_ObserverMutex);
        if (g_Observer) g_Observer(u);
    }
    MainWindowLink* link = GetMainWindowLink();
    switch (u) {
    case kLightingChanged:
        if (link) link->SetWindowTimer(LIGHTING_CHANGED_TIMER, 0);
        break;
    case kKeyboardReset:
        if (link) link->SetWindowTimer(KEYBOARD_RESET_TIMER, 0);
        break;
    case kSignalEnd:
        ChangeTrayIcon(false);
        break;
    case kSignalStart:
        ChangeTrayIcon(true);
        break;
    default:
        break; // 0x1801-0x1804, releases and everything else
    }
}

// The first usage of the first input item of the report just read.
uint16_t FirstUsage(CHidDevice& device, uint32_t length) {
    CHidDevice::UnpackReport(device.InputBuffer(), length, HidReportKind::Input, device.InputItems(),
                             device.InputItemCount(), device.PreparsedData());
    if (device.InputItemCount() == 0) return 0;
    const HidDataItem& first = device.InputItems()[0];
    if (!first.IsButton || first.Usages.empty()) return 0;
    return first.Usages[0];
}

} // namespace

void SetConsumerUsageObserver(std::function<void(uint16_t)> observer) {
    std::lock_guard<std::mutex> lock(g_ObserverMutex);
    g_Observer = std::move(observer);
}

void WaitForTrayIconThreads() {
    while (g_TrayThreads.load() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void ConsumerListenerThread() {
    CHidDevice device;
    RegisterListenerDevice(&device);
    for (;;) {
        if (DeviceThreadsStopping() || !device.EnumerateInterfaces()) break;
        bool found = false;
        while (const char* path = device.NextInterfacePath()) {
            if (!MatchVidPidInPath(path)) continue;
            if (!device.Open(path, true, false, true, false)) continue;
            if (IsConsumerInterface(device)) {
                found = true;
                uint32_t length = 0;
                while (device.ReadReport(device.InputBuffer(), device.InputReportByteLength(), &length, -1) ==
                       1)
                    ActOnUsage(FirstUsage(device, length));
            }
            device.Close();
            if (found) break;
        }
        device.FreeInterfaceList();
        if (!DeviceThreadWait(1000)) break;
    }
    RegisterListenerDevice(nullptr);
}

} // namespace orvane
