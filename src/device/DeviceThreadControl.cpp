#include "device/DeviceThreadControl.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "device/ConnectionMonitor.h"

namespace orvane {
namespace {

std::mutex g_Mutex;
std::condition_variable g_Changed;
bool g_Stop = false;
CHidDevice* g_ListenerDevice = nullptr;

} // namespace

bool DeviceThreadWait(int ms) {
    std::unique_lock<std::mutex> lock(g_Mutex);
    return !g_Changed.wait_for(lock, std::chrono::milliseconds(ms), [] { return g_Stop; });
}

bool DeviceThreadsStopping() {
    std::lock_guard<std::mutex> lock(g_Mutex);
    return g_Stop;
}

void ResetDeviceThreadStop() {
    std::lock_guard<std::mutex> lock(g_Mutex);
    g_Stop = false;
}

void RegisterListenerDevice(CHidDevice* device) {
    std::lock_guard<std::mutex> lock(g_Mutex);
    g_ListenerDevice = device;
    if (device && g_Stop) device->SignalStop();
}

void StopDeviceThreads() {
    std::lock_guard<std::mutex> lock(g_Mutex);
    g_Stop = true;
    if (g_ListenerDevice) g_ListenerDevice->SignalStop();
    g_Changed.notify_all();
}

} // namespace orvane
