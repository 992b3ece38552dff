#pragma once
// The desktop's on-screen keyboard, started from the key-assignment dialog.
#include <string>

namespace orvane {

// Starts the first of "onboard" and "florence" found on `searchPath` (a
// PATH-style list; the process's PATH when empty), detached, unless one of
// them already runs for this user. Returns the program started, or the name
// of the one already running; empty when there is none to start.
std::string StartOnScreenKeyboard(const std::string& searchPath = std::string());

} // namespace orvane
