#include "sim/SimInstall.h"

#include <atomic>
#include <sys/stat.h>

#include "services/SimulateOption.h"

namespace orvane {
namespace {
std::atomic<CSimKeyboard*> g_Sim{nullptr};
}

CSimKeyboard& InstallSimulatedKeyboard(int model) {
    // Lives to the end of the process: g_HidDevice may hold one of its handles.
    static CSimKeyboard keyboard;
    keyboard.Unplug();
    keyboard.SetModel(model == 126 ? 126 : 128);
    keyboard.Plug();
    g_Sim.store(&keyboard);
    SetHidBackend(&keyboard);
    return keyboard;
}

bool InstallSimulatedKeyboardIfRequested() {
    const int model = SimulatedModel();
    if (model == 0) return false;
    InstallSimulatedKeyboard(model);
    return true;
}

CSimKeyboard* SimulatedKeyboard() {
    return g_Sim.load();
}

bool LoadSimulatedStateIfPresent(CSimKeyboard& keyboard, const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return true;
    return keyboard.WithFirmware([&](CSimFirmware& f) { return f.LoadState(path); });
}

} // namespace orvane
