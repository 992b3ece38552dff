#pragma once
// Key identity: the constant tables that link a key's scan code to its
// virtual-key code, pick-list id, usage byte, display name, the three-byte
// code the keyboard stores, the media functions and the buttons and LEDs of
// the keyboard picture, with the pure conversions between them. Read-only and
// shared by all threads.
//
// A scan code is the PC set-1 make code, plus 0x100 for E0 keys (Right Ctrl
// 0x11D, Insert 0x152); Pause is 0x045, Num Lock 0x145, Print Screen 0x137,
// Sys Req 0x054. 0x161/0x162 are wheel up/down, 0x171-0x173 the left, right
// and middle mouse buttons. 0 means no key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

using ScanCode = uint16_t;

constexpr ScanCode kScanNone = 0x000;
constexpr ScanCode kScanRightShift = 0x036;
constexpr ScanCode kScanSysReq = 0x054;
constexpr ScanCode kScanPause = 0x045;
constexpr ScanCode kScanNumLock = 0x145;
constexpr ScanCode kScanPrintScreen = 0x137;
constexpr ScanCode kScanWheelUp = 0x161;
constexpr ScanCode kScanWheelDown = 0x162;
constexpr ScanCode kScanMouseLeft = 0x171;
constexpr ScanCode kScanMouseRight = 0x172;
constexpr ScanCode kScanMouseMiddle = 0x173;

// ---------------------------------------------------------------- key table

constexpr size_t kKeyTableSize = 256;
constexpr uint16_t kKeyIdNone = 0xFFFF;     // empty row
constexpr uint16_t kKeyIdMarkBit = 0x8000;  // power, media, Japanese/Korean and private keys
constexpr uint16_t kPickListKeyCount = 106; // ids 0x0000-0x0069 are the macro tab's key list

struct KeyTableRow {
    uint8_t vk;          // Windows virtual-key code
    uint16_t keyId;      // pick-list number; kKeyIdNone for an empty row
    uint8_t altVk;       // code with Num Lock off (keypad digits and point); else == vk
    uint8_t usage;       // usage byte towards the keyboard, 0 for none
    const char* textKey; // TEXT key of the display name; "" when none
};

// Row `index` of the key table (any index 0-255 is valid).
const KeyTableRow& KeyTableRowAt(uint8_t index);
bool IsEmptyKeyRow(uint8_t index);

// The listed (non-empty) rows with their own index and scan code columns, in
// listing order, so the listing can be checked against the index rules.
size_t ListedKeyRowCount();
bool ListedKeyRowAt(size_t n, uint8_t* index, ScanCode* scanCode);

// ------------------------------------------------------ consumer usages

constexpr size_t kConsumerUsageCount = 32; // usage byte 0xC0 + n addresses entry n
constexpr uint8_t kConsumerUsageByteBase = 0xC0;
// Entry n, 0 for an empty entry or n out of range.
uint16_t ConsumerUsageAt(size_t n);

// ------------------------------------------------------------ media keys

constexpr int kMediaKeyCount = 18; // media numbers 0-17, the order shown and stored

struct MediaKeyRow {
    ScanCode scanCode;      // its key table row holds the text key
    uint16_t consumerUsage; // what the keyboard is sent
};

// Row `media` of the media key table, nullptr outside 0-17.
const MediaKeyRow* MediaKeyAt(int media);
// The media number whose scan code is `code`, -1 when none.
int MediaNumberOfScanCode(ScanCode code);

// ----------------------------------------------------------- VK -> index

// The key table index a virtual-key code stands for, 0 for none (the lowest
// index with that code, except that generic Shift/Ctrl/Alt give the left-hand
// keys, Print Screen gives 0xB7 and mouse and private codes are mapped apart).
uint8_t VkToKeyIndex(uint8_t vk);

// ------------------------------------------------ keyboard picture, LEDs

constexpr int kKeySlotCount = 106;
constexpr int kLedRows = 6;
constexpr int kLedColumns = 21;
constexpr uint8_t kLedNone = 125; // LED index of a key without a LED
constexpr size_t kLedCount = 125; // LED indexes 0-124 = row * 21 + column

struct KeySlot {
    uint16_t controlId; // the key button on the main window
    ScanCode scanCode;
    uint8_t ledIndex; // row * kLedColumns + column
    uint8_t ledRow;
    uint8_t ledColumn;
};

// Slot `slot` of the keyboard picture, nullptr outside 0-105.
const KeySlot* KeySlotAt(int slot);
// The slot whose button has `controlId` / whose key is `code`; -1 when none.
int KeySlotOfControlId(int controlId);
int KeySlotOfScanCode(ScanCode code);
// Skin key of a key slot's button, "KEY_%03X" of its key table index
// ("KEY_01E" for A, "KEY_0B7" for Print Screen); empty outside 0-105.
std::string KeySlotSkinName(int slot);

// The nine G keys: skin names "FUNC_G1" .. "FUNC_G9", no key table row, no LED.
constexpr int kGKeyCount = 9;
constexpr std::array<uint16_t, kGKeyCount> kGKeyControlIds = {1000, 1001, 1002, 1003, 1004,
                                                              1140, 1141, 1142, 1143};
// "FUNC_G<n>" for n = 1-9, empty otherwise.
std::string GKeySkinName(int number);
// 1-9 for a G-key control id, 0 otherwise.
int GKeyNumberOfControlId(int controlId);

constexpr uint16_t kFnButtonControlId = 1174;
constexpr uint8_t kFnLedIndex = 110;

// True for LED indexes that no key lights (13, 17-20, 75, 77-79, 83, 98, 100,
// 114-118, 122); the Fn LED 110 is not among them.
bool IsLedWithoutKey(uint8_t ledIndex);

// -------------------------------------------------------- device key codes

// What a key position sends, as the keyboard's own tables name it.
struct DeviceKeyCode {
    uint8_t type;
    uint8_t a;
    uint8_t b;
    bool operator==(const DeviceKeyCode&) const = default;
};
static_assert(sizeof(DeviceKeyCode) == 3);

constexpr uint8_t kDeviceKeyMouse = 1;    // a = 1 buttons (b: 1, 2, 4), a = 5 wheel (b: 0x01, 0xFF)
constexpr uint8_t kDeviceKeyKeyboard = 2; // a = 1 modifier bits in b, a = 2 keyboard usage in b
constexpr uint8_t kDeviceKeyConsumer = 3; // a, b: consumer usage low, high
constexpr uint8_t kDeviceKeySystem = 4;   // a, b: system-control usage low, high
constexpr uint8_t kDeviceKeyFunction = 5; // program functions and macros (key function records)
constexpr uint8_t kDeviceKeyExtended = 6; // (6, 0xA2, n): scan code 0x1FF + n

// ------------------------------------------------------------ usage pairs

constexpr uint16_t kUsageKindNone = 0;
constexpr uint16_t kUsageKindSystem = 1;   // 0x81-0x83
constexpr uint16_t kUsageKindMouse = 2;    // usage byte 0xF1-0xF8
constexpr uint16_t kUsageKindKeyboard = 7; // keyboard usage (consumer slot bytes included)
constexpr uint16_t kUsageKindConsumer = 12;

struct UsagePair {
    uint16_t kind;
    uint16_t usage;
    bool operator==(const UsagePair&) const = default;
};
static_assert(sizeof(UsagePair) == 4);

// ------------------------------------------------------------ conversions

// 0x000-0x0FF: itself; 0x100-0x1FF: (code - 0x80) mod 256. Codes from 0x200
// up have no row: the conversions below treat them as an empty row.
uint8_t ScanCodeToIndex(ScanCode code);
ScanCode IndexToScanCode(uint8_t index);

// First row (from index 0) with key id `id`; 0 when none.
ScanCode KeyIdToScanCode(uint16_t id);
// kKeyIdNone for an empty row or a code without a row.
uint16_t ScanCodeToKeyId(ScanCode code);

UsagePair ScanCodeToUsagePair(ScanCode code);
// Lowest row whose usage byte matches; 0 when none (kinds 1, 7 and 12 only).
ScanCode UsagePairToScanCode(uint16_t kind, uint16_t usage);

// Scan code of the lowest set HID modifier bit (bit 0 left Ctrl .. bit 7 right Win); 0 for none.
ScanCode ModifierBitToScanCode(uint8_t bits);

ScanCode DeviceKeyCodeToScanCode(uint8_t type, uint8_t a, uint8_t b);
inline ScanCode DeviceKeyCodeToScanCode(const DeviceKeyCode& c) {
    return DeviceKeyCodeToScanCode(c.type, c.a, c.b);
}

// The code a key sends when a single key `code` is assigned to it: modifiers
// (2, 1, bit), wheel and mouse buttons type 1, anything else (2, 2, usage)
// with usage 0 when the key has no keyboard usage.
DeviceKeyCode ScanCodeToDeviceKeyCode(ScanCode code);
// (3, low, high) of the media key's consumer usage; {0, 0, 0} outside 0-17.
DeviceKeyCode MediaNumberToDeviceKeyCode(int media);

// Scan code of a keyboard-hook event: `vk` and the message's lParam (bits
// 16-23 hardware scan code, bit 24 the extended-key flag).
ScanCode ScanCodeFromKeyEvent(uint32_t vk, uint32_t lParam);

// Keys whose press the system does not report to keyboard hooks (Sys Req,
// 0x071, 0x072, Print Screen).
bool IsReleaseOnlyKey(ScanCode code);

// Display text of a scan code in the current language: the row's TEXT entry,
// or "UNKNOWN_KEY" formatted with the code when the row has none or it is
// empty. Writes at most `size` bytes, terminator included, never cutting a
// character; returns the length written (without terminator).
size_t GetKeyName(ScanCode code, char* buffer, size_t size);
// The same as a string of at most 259 characters.
std::string GetKeyName(ScanCode code);

// Display text of the first row with key id `id`; empty when the row has no
// text key or no row has that id.
std::string GetKeyIdName(uint16_t id);

} // namespace orvane
