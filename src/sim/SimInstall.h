#pragma once
// Puts the simulated keyboard in place of hidraw for the whole process.
#include <string>

#include "sim/SimKeyboard.h"

namespace orvane {

// model 126 or 128 (anything else gives 128). The keyboard starts plugged in.
// Calling it again changes the model of the same keyboard.
CSimKeyboard& InstallSimulatedKeyboard(int model);
// Installs it when the program was started with --simulate (SimulatedModel()
// of app/SimulateOption.h is not 0); false otherwise. Call before the device
// threads start.
bool InstallSimulatedKeyboardIfRequested();
// The installed keyboard, or null.
CSimKeyboard* SimulatedKeyboard();

// Loads the keyboard's memory from the state file `path` when that exists.
// False when it exists but does not load (the other model's state, one cut
// short, a folder): the caller must then refuse to run, since saving over it
// at the end would lose it.
bool LoadSimulatedStateIfPresent(CSimKeyboard& keyboard, const std::string& path);

} // namespace orvane
