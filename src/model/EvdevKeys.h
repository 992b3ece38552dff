#pragma once
// Linux key events in the form the key tables expect: an evdev key code (the
// X11/Qt native scan code minus 8) becomes the PC set-1 scan code (0x100 for
// E0 keys) and the Windows virtual-key code, and from those the (vk, lParam)
// pair that ScanCodeFromKeyEvent reads.
#include <cstddef>
#include <cstdint>

#include "model/KeyTables.h"

namespace orvane {

constexpr uint32_t kXkbKeycodeOffset = 8; // X11 / Qt nativeScanCode() = evdev code + 8

// Scan code of an evdev key code, 0 for codes without one. Pause is 0x045,
// Num Lock 0x145 and Print Screen 0x137, as the key tables name them.
ScanCode EvdevToScanCode(uint16_t evdevCode);

// Windows virtual-key code of an evdev key code, 0 for codes without one.
// Modifiers give the left/right codes (0xA0-0xA5). With Num Lock off the
// keypad digits and point give their navigation codes.
uint8_t EvdevToVirtualKey(uint16_t evdevCode, bool numLockOn = true);

// The table's evdev codes in listing order, for consistency checks.
size_t EvdevKeyCount();
bool EvdevKeyAt(size_t n, uint16_t* evdevCode);

struct KeyEventFlags {
    bool release = false; // key up
    bool repeat = false;  // auto-repeat of a key already down
    bool numLockOn = true;
    bool altDown = false;  // Alt + Print Screen is Sys Req
    bool ctrlDown = false; // Ctrl + Pause is Break
};

struct HookKeyEvent {
    uint32_t vk = 0;
    uint32_t lParam = 0;
};

// The (vk, lParam) pair a Windows keyboard hook would see for this event:
// repeat count 1, scan code in bits 16-23, extended flag in bit 24, Alt in bit
// 29, previous state in bit 30, transition in bit 31. vk 0 for unknown keys.
HookKeyEvent HookKeyEventFromEvdev(uint16_t evdevCode, const KeyEventFlags& flags);

} // namespace orvane
