#pragma once
// Message numbers, tags and timer ids that the parts of the program exchange.
// A tag is ASCII letters read as a big-endian number; a handler that finds
// another wParam does nothing.
#include <cstdint>

namespace orvane {

constexpr uint32_t UM_OPEN = 0x5350;
constexpr uint32_t UM_KILL = 0x4D4B;
constexpr uint32_t UM_INIT = 0x4D4E;
constexpr uint32_t UM_LANG = 0x5041;
constexpr uint32_t UM_PROFILE = 0x5452;
constexpr uint32_t UM_DEVICE_GONE = 0x4753;
constexpr uint32_t UM_SLIDER = 0x28D1;
constexpr uint32_t UM_LED = 0x5045; // nothing in the program sends it

constexpr uintptr_t TAG_OPEN = 0x4F50454E; // "OPEN"
constexpr uintptr_t TAG_KILL = 0x4C4C494B; // "KILL"
constexpr uintptr_t TAG_INIT = 0x494E4954; // "INIT"
constexpr uintptr_t TAG_LANG = 0x4C414E47; // "LANG"
constexpr uintptr_t TAG_PROF = 0x50524F46; // "PROF"
constexpr uintptr_t TAG_LED = 0x4C4544;    // "LED"

constexpr uint32_t MAIN_WINDOW_TAG = 0x4D41494E; // "MAIN", the running instance's window

constexpr uint32_t BUSY_ANIMATION_TIMER = 1050;
constexpr uint32_t LIGHTING_CHANGED_TIMER = 1051;
constexpr uint32_t PREVIEW_TIMER = 1052;
constexpr uint32_t KEYBOARD_RESET_TIMER = 1053;

// Tray icon resources.
constexpr int ICON_NO_KEYBOARD = 128;
constexpr int ICON_CONNECTED = 141;
constexpr int ICON_KEYBOARD_SIGNAL = 142;

} // namespace orvane
