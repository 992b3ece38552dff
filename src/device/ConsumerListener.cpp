#include <atomic>
#include <mutex>

#include "device/ConnectionMonitor.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceThreadControl.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"

namespace orvane {
namespace {

constexpr uint16_t kLightingChanged = 0x0401;
constexpr uint16_t kKeyboardReset = 0x0402;
constexpr uint16_t kSignalEnd = 0x1810;
constexpr uint16_t kSignalStart = 0x1811;
// After a read fails the keyboard is usually gone, and its removal wakes the
// listener at once; this bounds the pause when a read failed for another reason.
constexpr int kPauseAfterFailedReadMs = 1000;

std::mutex g_ObserverMutex;
std::function<void(uint16_t)> g_Observer;

void ActOnUsage(uint16_t u) {
    {
        std::lock_guard<std::mutex> lock(g_ObserverMutex);
        if (g_Observer) g_Observer(u);
    }
    MainWindowLink* link = GetMainWindowLink();
    if (!link) return;
    switch (u) {
    case kLightingChanged:
        link->SetWindowTimer(LIGHTING_CHANGED_TIMER, 0);
        break;
    case kKeyboardReset:
        link->SetWindowTimer(KEYBOARD_RESET_TIMER, 0);
        break;
    // The link queues icon changes for the window and returns at once, so
    // they are handed over from here, one report after another, in order.
    case kSignalEnd:
        link->SetTrayIcon(ConnectionTrayIcon());
        break;
    case kSignalStart:
        link->SetTrayIcon(ICON_KEYBOARD_SIGNAL);
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

void ConsumerListenerThread() {
    CHidDevice device;
    device.SetAbortFd(DeviceThreadStopFd());
    CDeviceWatch watch;
    for (;;) {
        if (DeviceThreadsStopping()) break;
        bool found = false;
        // Interfaces that cannot be listed are listed again after the next wait.
        if (!device.EnumerateInterfaces()) SayListingFailedOnce();
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
        if (!watch.Wait(1000, -1, found ? kPauseAfterFailedReadMs : -1)) break;
    }
}

} // namespace orvane
