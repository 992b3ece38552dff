#include "device/ConnectionMonitor.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceThreadControl.h"
#include "services/AutoShowLatch.h"
#include "services/Language.h"
#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"

namespace orvane {
namespace {

std::atomic<int> g_ConnectedState{0};
std::atomic<int> g_ConnectionIcon{ICON_NO_KEYBOARD};

// Lists the interfaces into g_HidDevice. A failure is said once; the
// monitor goes on listening and lists again at the next hotplug event.
bool ListInterfaces() {
    if (g_HidDevice.EnumerateInterfaces()) return true;
    SayListingFailedOnce();
    return false;
}

// Opens `path` as g_HidDevice; true when it is the command interface, which
// is left open. Every Open and Close of the shared device, and the open flag
// that goes with it, happens under g_DeviceLock, so a transfer never finds
// the device changing under it.
bool OpenIfCommandInterface(const char* path) {
    if (!MatchVidPidInPath(path)) return false;
    std::lock_guard lock(g_DeviceLock);
    if (!g_HidDevice.Open(path, true, true, true, false)) return false;
    if (IsCommandInterface(g_HidDevice)) {
        g_DeviceOpen.store(1);
        return true;
    }
    g_HidDevice.Close();
    return false;
}

void CloseCommandInterface() {
    std::lock_guard lock(g_DeviceLock);
    g_DeviceOpen.store(0);
    g_HidDevice.Close();
}

// The keyboard went away: a transfer still waiting on it is ended first, so
// the lock is had at once.
void MarkCommandInterfaceGone() {
    g_HidDevice.SignalStop();
    std::lock_guard lock(g_DeviceLock);
    g_DeviceOpen.store(0);
}

// Walks the listed interfaces; leaves g_HidDevice open on the first command
// interface and returns true, closing every other candidate it opened.
bool OpenFirstCommandInterface() {
    while (const char* path = g_HidDevice.NextInterfacePath())
        if (OpenIfCommandInterface(path)) return true;
    return false;
}

// One probe of the keyboard present at start: a device info read on its
// command interface, which is closed again.
void ProbePass() {
    if (!ListInterfaces()) return;
    if (OpenFirstCommandInterface()) {
        uint8_t info[DEVICE_INFO_SIZE];
        DevReadInfo(info);
    }
    CloseCommandInterface();
    g_HidDevice.FreeInterfaceList();
}

} // namespace

int ConnectedState() {
    return g_ConnectedState.load();
}
int ConnectionTrayIcon() {
    return g_ConnectionIcon.load();
}

void OnConnectionChanged(int state) {
    if (state == g_ConnectedState.load()) return;
    MainWindowLink* link = GetMainWindowLink();
    if (state == 0) {
        SetActiveProfileCache(-1);
        g_ConnectionIcon.store(ICON_NO_KEYBOARD);
        if (link) {
            link->PostWindowMessage(UM_DEVICE_GONE, 0, 0);
            link->HideWindow();
            link->SetTrayIcon(ICON_NO_KEYBOARD);
        }
    } else {
        // On failure the previous default matrix stays; the connection still counts.
        if (RefreshDefaultKeyMatrix() != DEV_OK && link)
            link->ShowMessage(LoadText("MAIN_DEFAULT_MATRIX_PROMPT", CurrentLanguageIndex()));
        uint8_t info[DEVICE_INFO_SIZE];
        if (DevReadInfo(info) == DEV_OK) SetMacroCapacity(size_t{info[DEVICE_INFO_MACRO_UNITS]} * 128);
        g_ConnectionIcon.store(ICON_CONNECTED);
        if (link) {
            link->PostWindowMessage(UM_PROFILE, TAG_PROF, 0);
            link->SetTrayIcon(ICON_CONNECTED);
        }
    }
    g_ConnectedState.store(state);
    if (!AutoShowLatch().load()) {
        if (state == 1 && link) link->PostWindowMessage(UM_OPEN, TAG_OPEN, 0);
        AutoShowLatch().store(1);
    }
}

void ConnectionMonitorThread() {
    bool firstReportPending = true;
    if (AutoShowLatch().load() && !DeviceThreadWait(10)) return;
    CDeviceWatch watch;

    ProbePass();

    for (;;) {
        if (g_DeviceOpen.load()) {
            // The interface itself stays open; the next Open releases it. A
            // keyboard unplugged and back before we looked still left our
            // handle dead, so that counts as gone too.
            if (!HidBackend().IsPresent(g_HidDevice.Path()) || !g_HidDevice.IsHandleAlive()) {
                MarkCommandInterfaceGone();
                OnConnectionChanged(0);
                // The announcement of a quick replug may already have been
                // taken with the removal's: look again before waiting.
                continue;
            }
        } else {
            if (ListInterfaces()) {
                if (OpenFirstCommandInterface()) {
                    SetModelParameters(g_HidDevice.VendorID(), g_HidDevice.ProductID());
                    OnConnectionChanged(1);
                }
                g_HidDevice.FreeInterfaceList();
            }
            // Interfaces that cannot be listed count as no keyboard found.
            if (firstReportPending) {
                firstReportPending = false;
                OnConnectionChanged(static_cast<int>(g_DeviceOpen.load()));
                if (!g_DeviceOpen.load()) AutoShowLatch().store(1);
            }
        }
        const bool open = g_DeviceOpen.load() != 0;
        if (!watch.Wait(open ? 100 : 1000, open ? g_HidDevice.HangupFd() : -1)) return;
    }
}

void StartDeviceThreads() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::thread(ConsumerListenerThread).detach();
        std::thread(ConnectionMonitorThread).detach();
    });
}

void ResetDeviceThreadState() {
    ResetDeviceThreadStop();
    g_ConnectedState.store(0);
    g_ConnectionIcon.store(ICON_NO_KEYBOARD);
    ResetDefaultKeyMatrix();
    SetMacroCapacity(0);
    SetActiveProfileCache(-1);
}

} // namespace orvane
