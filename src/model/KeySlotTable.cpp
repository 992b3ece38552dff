// Key slot table: the 106 key buttons of the keyboard picture, by slot. The
// LED index is row * 21 + column of the keyboard's 6 x 21 lighting matrix;
// row and column are kept beside it as printed, and a test checks the sum.
#include <array>
#include <cstdio>

#include "model/KeyTables.h"

namespace orvane {
namespace {

// clang-format off
constexpr std::array<KeySlot, kKeySlotCount> kKeySlots = {{
    // Ctrl  Scan   LED  Row Col    Slot Key
    {1058, 0x01E,  64, 3,  1}, //   0 A
    {1075, 0x030,  90, 4,  6}, //   1 B
    {1073, 0x02E,  88, 4,  4}, //   2 C
    {1060, 0x020,  66, 3,  3}, //   3 D
    {1046, 0x012,  45, 2,  3}, //   4 E
    {1061, 0x021,  67, 3,  4}, //   5 F
    {1062, 0x022,  68, 3,  5}, //   6 G
    {1063, 0x023,  69, 3,  6}, //   7 H
    {1051, 0x017,  50, 2,  8}, //   8 I
    {1064, 0x024,  70, 3,  7}, //   9 J
    {1065, 0x025,  71, 3,  8}, //  10 K
    {1066, 0x026,  72, 3,  9}, //  11 L
    {1077, 0x032,  92, 4,  8}, //  12 M
    {1076, 0x031,  91, 4,  7}, //  13 N
    {1052, 0x018,  51, 2,  9}, //  14 O
    {1053, 0x019,  52, 2, 10}, //  15 P
    {1044, 0x010,  43, 2,  1}, //  16 Q
    {1047, 0x013,  46, 2,  4}, //  17 R
    {1059, 0x01F,  65, 3,  2}, //  18 S
    {1048, 0x014,  47, 2,  5}, //  19 T
    {1050, 0x016,  49, 2,  7}, //  20 U
    {1074, 0x02F,  89, 4,  5}, //  21 V
    {1045, 0x011,  44, 2,  2}, //  22 W
    {1072, 0x02D,  87, 4,  3}, //  23 X
    {1049, 0x015,  48, 2,  6}, //  24 Y
    {1071, 0x02C,  86, 4,  2}, //  25 Z
    {1030, 0x002,  22, 1,  1}, //  26 1
    {1031, 0x003,  23, 1,  2}, //  27 2
    {1032, 0x004,  24, 1,  3}, //  28 3
    {1033, 0x005,  25, 1,  4}, //  29 4
    {1034, 0x006,  26, 1,  5}, //  30 5
    {1035, 0x007,  27, 1,  6}, //  31 6
    {1036, 0x008,  28, 1,  7}, //  32 7
    {1037, 0x009,  29, 1,  8}, //  33 8
    {1038, 0x00A,  30, 1,  9}, //  34 9
    {1039, 0x00B,  31, 1, 10}, //  35 0
    {1070, 0x01C,  76, 3, 13}, //  36 Enter
    {1022, 0x001,   0, 0,  0}, //  37 Esc
    {1043, 0x00E,  34, 1, 13}, //  38 Backspace
    {1056, 0x00F,  42, 2,  0}, //  39 Tab
    {1090, 0x039, 108, 5,  3}, //  40 Space
    {1040, 0x00C,  32, 1, 11}, //  41 -
    {1041, 0x00D,  33, 1, 12}, //  42 =
    {1054, 0x01A,  53, 2, 11}, //  43 [
    {1055, 0x01B,  54, 2, 12}, //  44 ]
    {1042, 0x02B,  55, 2, 13}, //  45 Backslash
    {1067, 0x027,  73, 3, 10}, //  46 ;
    {1068, 0x028,  74, 3, 11}, //  47 Apostrophe
    {1029, 0x029,  21, 1,  0}, //  48 Grave accent
    {1078, 0x033,  93, 4,  9}, //  49 ,
    {1079, 0x034,  94, 4, 10}, //  50 .
    {1080, 0x035,  95, 4, 11}, //  51 /
    {1010, 0x03B,   1, 0,  1}, //  52 F1
    {1011, 0x03C,   2, 0,  2}, //  53 F2
    {1012, 0x03D,   3, 0,  3}, //  54 F3
    {1013, 0x03E,   4, 0,  4}, //  55 F4
    {1014, 0x03F,   5, 0,  5}, //  56 F5
    {1015, 0x040,   6, 0,  6}, //  57 F6
    {1023, 0x041,   7, 0,  7}, //  58 F7
    {1024, 0x042,   8, 0,  8}, //  59 F8
    {1025, 0x043,   9, 0,  9}, //  60 F9
    {1026, 0x044,  10, 0, 10}, //  61 F10
    {1027, 0x057,  11, 0, 11}, //  62 F11
    {1028, 0x058,  12, 0, 12}, //  63 F12
    {1091, 0x137,  14, 0, 14}, //  64 Print Screen
    {1093, 0x045,  16, 0, 16}, //  65 Pause
    {1094, 0x152,  35, 1, 14}, //  66 Insert
    {1097, 0x153,  56, 2, 14}, //  67 Delete
    {1095, 0x147,  36, 1, 15}, //  68 Home
    {1098, 0x14F,  57, 2, 15}, //  69 End
    {1096, 0x149,  37, 1, 16}, //  70 Page Up
    {1099, 0x151,  58, 2, 16}, //  71 Page Down
    {1103, 0x148,  99, 4, 15}, //  72 Up arrow
    {1101, 0x150, 120, 5, 15}, //  73 Down arrow
    {1100, 0x14B, 119, 5, 14}, //  74 Left arrow
    {1102, 0x14D, 121, 5, 16}, //  75 Right arrow
    {1092, 0x046,  15, 0, 15}, //  76 Scroll Lock
    {1069, 0x03A,  63, 3,  0}, //  77 Caps Lock
    {1088, 0x15D, 111, 5,  6}, //  78 App
    {1083, 0x01D, 105, 5,  0}, //  79 Ctrl
    {1089, 0x11D, 113, 5,  8}, //  80 Right Ctrl
    {1082, 0x02A,  84, 4,  0}, //  81 Shift
    {1081, 0x036,  97, 4, 13}, //  82 Right Shift
    {1085, 0x038, 107, 5,  2}, //  83 Alt
    {1086, 0x138, 109, 5,  4}, //  84 Right Alt
    {1084, 0x15B, 106, 5,  1}, //  85 Win
    {1087, 0x15C, 112, 5,  7}, //  86 Right Win
    {1115, 0x04F, 101, 4, 17}, //  87 Num 1
    {1116, 0x050, 102, 4, 18}, //  88 Num 2
    {1117, 0x051, 103, 4, 19}, //  89 Num 3
    {1112, 0x04B,  80, 3, 17}, //  90 Num 4
    {1113, 0x04C,  81, 3, 18}, //  91 Num 5
    {1114, 0x04D,  82, 3, 19}, //  92 Num 6
    {1108, 0x047,  59, 2, 17}, //  93 Num 7
    {1109, 0x048,  60, 2, 18}, //  94 Num 8
    {1110, 0x049,  61, 2, 19}, //  95 Num 9
    {1120, 0x052, 123, 5, 18}, //  96 Num 0
    {1104, 0x145,  38, 1, 17}, //  97 Num Lock
    {1118, 0x11C, 104, 4, 20}, //  98 Num Enter
    {1119, 0x053, 124, 5, 19}, //  99 Num .
    {1105, 0x135,  39, 1, 18}, // 100 Num /
    {1106, 0x037,  40, 1, 19}, // 101 Num *
    {1107, 0x04A,  41, 1, 20}, // 102 Num -
    {1111, 0x04E,  62, 2, 20}, // 103 Num +
    {1199, 0x056,  85, 4,  1}, // 104 K45
    {1200, 0x073,  96, 4, 12}, // 105 K56
}};
// clang-format on

// LED positions that no key lights; 110 belongs to the Fn button.
constexpr uint8_t kLedsWithoutKey[] = {13, 17, 18,  19,  20,  75,  77,  78,  79,
                                       83, 98, 100, 114, 115, 116, 117, 118, 122};

} // namespace

const KeySlot* KeySlotAt(int slot) {
    if (slot < 0 || slot >= kKeySlotCount) return nullptr;
    return &kKeySlots[static_cast<size_t>(slot)];
}

int KeySlotOfControlId(int controlId) {
    for (int s = 0; s < kKeySlotCount; ++s)
        if (kKeySlots[static_cast<size_t>(s)].controlId == controlId) return s;
    return -1;
}

int KeySlotOfScanCode(ScanCode code) {
    if (code == kScanNone) return -1;
    for (int s = 0; s < kKeySlotCount; ++s)
        if (kKeySlots[static_cast<size_t>(s)].scanCode == code) return s;
    return -1;
}

std::string KeySlotSkinName(int slot) {
    const KeySlot* k = KeySlotAt(slot);
    if (!k) return {};
    char name[16];
    std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(ScanCodeToIndex(k->scanCode)));
    return name;
}

std::string GKeySkinName(int number) {
    if (number < 1 || number > kGKeyCount) return {};
    return "FUNC_G" + std::to_string(number);
}

int GKeyNumberOfControlId(int controlId) {
    for (int n = 0; n < kGKeyCount; ++n)
        if (kGKeyControlIds[static_cast<size_t>(n)] == controlId) return n + 1;
    return 0;
}

bool IsLedWithoutKey(uint8_t ledIndex) {
    for (uint8_t led : kLedsWithoutKey)
        if (led == ledIndex) return true;
    return false;
}

} // namespace orvane
