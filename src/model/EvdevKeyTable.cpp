// Linux evdev key codes -> PC set-1 scan code (0x100 for E0 keys) and Windows
// virtual-key code. The virtual-key codes are those the key table gives the
// same scan code (a test checks this), so a captured key reads back as itself.
#include <linux/input-event-codes.h>

#include "model/EvdevKeys.h"

namespace orvane {
namespace {

struct EvdevKeyRow {
    uint16_t evdev;
    ScanCode scanCode;
    uint8_t vk;
};

// clang-format off
constexpr EvdevKeyRow kEvdevKeys[] = {
    // evdev code            Scan   VK
    {KEY_ESC,                0x001, 0x1B},
    {KEY_1,                  0x002, 0x31},
    {KEY_2,                  0x003, 0x32},
    {KEY_3,                  0x004, 0x33},
    {KEY_4,                  0x005, 0x34},
    {KEY_5,                  0x006, 0x35},
    {KEY_6,                  0x007, 0x36},
    {KEY_7,                  0x008, 0x37},
    {KEY_8,                  0x009, 0x38},
    {KEY_9,                  0x00A, 0x39},
    {KEY_0,                  0x00B, 0x30},
    {KEY_MINUS,              0x00C, 0xBD},
    {KEY_EQUAL,              0x00D, 0xBB},
    {KEY_BACKSPACE,          0x00E, 0x08},
    {KEY_TAB,                0x00F, 0x09},
    {KEY_Q,                  0x010, 0x51},
    {KEY_W,                  0x011, 0x57},
    {KEY_E,                  0x012, 0x45},
    {KEY_R,                  0x013, 0x52},
    {KEY_T,                  0x014, 0x54},
    {KEY_Y,                  0x015, 0x59},
    {KEY_U,                  0x016, 0x55},
    {KEY_I,                  0x017, 0x49},
    {KEY_O,                  0x018, 0x4F},
    {KEY_P,                  0x019, 0x50},
    {KEY_LEFTBRACE,          0x01A, 0xDB},
    {KEY_RIGHTBRACE,         0x01B, 0xDD},
    {KEY_ENTER,              0x01C, 0x0D},
    {KEY_LEFTCTRL,           0x01D, 0xA2},
    {KEY_A,                  0x01E, 0x41},
    {KEY_S,                  0x01F, 0x53},
    {KEY_D,                  0x020, 0x44},
    {KEY_F,                  0x021, 0x46},
    {KEY_G,                  0x022, 0x47},
    {KEY_H,                  0x023, 0x48},
    {KEY_J,                  0x024, 0x4A},
    {KEY_K,                  0x025, 0x4B},
    {KEY_L,                  0x026, 0x4C},
    {KEY_SEMICOLON,          0x027, 0xBA},
    {KEY_APOSTROPHE,         0x028, 0xDE},
    {KEY_GRAVE,              0x029, 0xC0},
    {KEY_LEFTSHIFT,          0x02A, 0xA0},
    {KEY_BACKSLASH,          0x02B, 0xDC},
    {KEY_Z,                  0x02C, 0x5A},
    {KEY_X,                  0x02D, 0x58},
    {KEY_C,                  0x02E, 0x43},
    {KEY_V,                  0x02F, 0x56},
    {KEY_B,                  0x030, 0x42},
    {KEY_N,                  0x031, 0x4E},
    {KEY_M,                  0x032, 0x4D},
    {KEY_COMMA,              0x033, 0xBC},
    {KEY_DOT,                0x034, 0xBE},
    {KEY_SLASH,              0x035, 0xBF},
    {KEY_RIGHTSHIFT,         0x036, 0xA1},
    {KEY_KPASTERISK,         0x037, 0x6A},
    {KEY_LEFTALT,            0x038, 0xA4},
    {KEY_SPACE,              0x039, 0x20},
    {KEY_CAPSLOCK,           0x03A, 0x14},
    {KEY_F1,                 0x03B, 0x70},
    {KEY_F2,                 0x03C, 0x71},
    {KEY_F3,                 0x03D, 0x72},
    {KEY_F4,                 0x03E, 0x73},
    {KEY_F5,                 0x03F, 0x74},
    {KEY_F6,                 0x040, 0x75},
    {KEY_F7,                 0x041, 0x76},
    {KEY_F8,                 0x042, 0x77},
    {KEY_F9,                 0x043, 0x78},
    {KEY_F10,                0x044, 0x79},
    {KEY_NUMLOCK,            0x145, 0x90},
    {KEY_SCROLLLOCK,         0x046, 0x91},
    {KEY_KP7,                0x047, 0x67},
    {KEY_KP8,                0x048, 0x68},
    {KEY_KP9,                0x049, 0x69},
    {KEY_KPMINUS,            0x04A, 0x6D},
    {KEY_KP4,                0x04B, 0x64},
    {KEY_KP5,                0x04C, 0x65},
    {KEY_KP6,                0x04D, 0x66},
    {KEY_KPPLUS,             0x04E, 0x6B},
    {KEY_KP1,                0x04F, 0x61},
    {KEY_KP2,                0x050, 0x62},
    {KEY_KP3,                0x051, 0x63},
    {KEY_KP0,                0x052, 0x60},
    {KEY_KPDOT,              0x053, 0x6E},
    {KEY_102ND,              0x056, 0xE2},
    {KEY_F11,                0x057, 0x7A},
    {KEY_F12,                0x058, 0x7B},
    {KEY_RO,                 0x073, 0xC1},
    {KEY_HENKAN,             0x079, 0xFF},
    {KEY_KATAKANAHIRAGANA,   0x070, 0xFF},
    {KEY_MUHENKAN,           0x07B, 0xEB},
    {KEY_KPENTER,            0x11C, 0x0D},
    {KEY_RIGHTCTRL,          0x11D, 0xA3},
    {KEY_KPSLASH,            0x135, 0x6F},
    {KEY_SYSRQ,              0x137, 0x2C},
    {KEY_RIGHTALT,           0x138, 0xA5},
    {KEY_HOME,               0x147, 0x24},
    {KEY_UP,                 0x148, 0x26},
    {KEY_PAGEUP,             0x149, 0x21},
    {KEY_LEFT,               0x14B, 0x25},
    {KEY_RIGHT,              0x14D, 0x27},
    {KEY_END,                0x14F, 0x23},
    {KEY_DOWN,               0x150, 0x28},
    {KEY_PAGEDOWN,           0x151, 0x22},
    {KEY_INSERT,             0x152, 0x2D},
    {KEY_DELETE,             0x153, 0x2E},
    {KEY_MUTE,               0x120, 0xAD},
    {KEY_VOLUMEDOWN,         0x12E, 0xAE},
    {KEY_VOLUMEUP,           0x130, 0xAF},
    {KEY_POWER,              0x15E, 0xFF},
    {KEY_KPEQUAL,            0x059, 0x92},
    {KEY_PAUSE,              0x045, 0x13},
    {KEY_KPCOMMA,            0x07E, 0xC2},
    {KEY_HANGEUL,            0x072, 0xFF},
    {KEY_HANJA,              0x071, 0xE9},
    {KEY_YEN,                0x07D, 0xFF},
    {KEY_LEFTMETA,           0x15B, 0x5B},
    {KEY_RIGHTMETA,          0x15C, 0x5C},
    {KEY_COMPOSE,            0x15D, 0x5D},
    {KEY_STOP,               0x168, 0xA9},
    {KEY_CALC,               0x121, 0xB7},
    {KEY_SLEEP,              0x15F, 0x5F},
    {KEY_WAKEUP,             0x163, 0xFF},
    {KEY_MAIL,               0x16C, 0xB4},
    {KEY_BOOKMARKS,          0x166, 0xAB},
    {KEY_COMPUTER,           0x16B, 0xB6},
    {KEY_BACK,               0x16A, 0xA6},
    {KEY_FORWARD,            0x169, 0xA7},
    {KEY_NEXTSONG,           0x119, 0xB0},
    {KEY_PLAYPAUSE,          0x122, 0xB3},
    {KEY_PREVIOUSSONG,       0x110, 0xB1},
    {KEY_STOPCD,             0x124, 0xB2},
    {KEY_CONFIG,             0x16D, 0xB5},
    {KEY_HOMEPAGE,           0x132, 0xAC},
    {KEY_REFRESH,            0x167, 0xA8},
    {KEY_F13,                0x064, 0x7C},
    {KEY_F14,                0x065, 0x7D},
    {KEY_F15,                0x066, 0x7E},
    {KEY_F16,                0x067, 0x7F},
    {KEY_F17,                0x068, 0x80},
    {KEY_F18,                0x069, 0x81},
    {KEY_F19,                0x06A, 0x82},
    {KEY_F20,                0x06B, 0x83},
    {KEY_F21,                0x06C, 0x84},
    {KEY_F22,                0x06D, 0x85},
    {KEY_F23,                0x06E, 0x86},
    {KEY_F24,                0x076, 0x87},
    {KEY_SEARCH,             0x165, 0xAA},
    {KEY_MEDIA,              0x16D, 0xB5},
};
// clang-format on

const EvdevKeyRow* FindEvdevKey(uint16_t evdevCode) {
    for (const EvdevKeyRow& row : kEvdevKeys)
        if (row.evdev == evdevCode) return &row;
    return nullptr;
}

} // namespace

ScanCode EvdevToScanCode(uint16_t evdevCode) {
    const EvdevKeyRow* row = FindEvdevKey(evdevCode);
    return row ? row->scanCode : kScanNone;
}

uint8_t EvdevToVirtualKey(uint16_t evdevCode, bool numLockOn) {
    const EvdevKeyRow* row = FindEvdevKey(evdevCode);
    if (!row) return 0;
    if (numLockOn) return row->vk;
    // Without Num Lock the keypad digits and point report their navigation
    // codes, which the key table keeps as the alternative code.
    const KeyTableRow& key = KeyTableRowAt(ScanCodeToIndex(row->scanCode));
    return key.vk == row->vk && key.altVk != key.vk ? key.altVk : row->vk;
}

size_t EvdevKeyCount() {
    return std::size(kEvdevKeys);
}

bool EvdevKeyAt(size_t n, uint16_t* evdevCode) {
    if (n >= std::size(kEvdevKeys)) return false;
    *evdevCode = kEvdevKeys[n].evdev;
    return true;
}

} // namespace orvane
