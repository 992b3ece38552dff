#include "app/SkinKeyLists.h"

#include <cstdio>

namespace orvane {

namespace {

// Slot order of the keyboard picture: control id, scan code.
const std::array<SkinKeySlot, kSkinKeySlots> kSlots = {{
    {1058, 0x01E}, //   0 A
    {1075, 0x030}, //   1 B
    {1073, 0x02E}, //   2 C
    {1060, 0x020}, //   3 D
    {1046, 0x012}, //   4 E
    {1061, 0x021}, //   5 F
    {1062, 0x022}, //   6 G
    {1063, 0x023}, //   7 H
    {1051, 0x017}, //   8 I
    {1064, 0x024}, //   9 J
    {1065, 0x025}, //  10 K
    {1066, 0x026}, //  11 L
    {1077, 0x032}, //  12 M
    {1076, 0x031}, //  13 N
    {1052, 0x018}, //  14 O
    {1053, 0x019}, //  15 P
    {1044, 0x010}, //  16 Q
    {1047, 0x013}, //  17 R
    {1059, 0x01F}, //  18 S
    {1048, 0x014}, //  19 T
    {1050, 0x016}, //  20 U
    {1074, 0x02F}, //  21 V
    {1045, 0x011}, //  22 W
    {1072, 0x02D}, //  23 X
    {1049, 0x015}, //  24 Y
    {1071, 0x02C}, //  25 Z
    {1030, 0x002}, //  26 1
    {1031, 0x003}, //  27 2
    {1032, 0x004}, //  28 3
    {1033, 0x005}, //  29 4
    {1034, 0x006}, //  30 5
    {1035, 0x007}, //  31 6
    {1036, 0x008}, //  32 7
    {1037, 0x009}, //  33 8
    {1038, 0x00A}, //  34 9
    {1039, 0x00B}, //  35 0
    {1070, 0x01C}, //  36 Enter
    {1022, 0x001}, //  37 Esc
    {1043, 0x00E}, //  38 Backspace
    {1056, 0x00F}, //  39 Tab
    {1090, 0x039}, //  40 Space
    {1040, 0x00C}, //  41 -
    {1041, 0x00D}, //  42 =
    {1054, 0x01A}, //  43 [
    {1055, 0x01B}, //  44 ]
    {1042, 0x02B}, //  45 Backslash
    {1067, 0x027}, //  46 ;
    {1068, 0x028}, //  47 Apostrophe
    {1029, 0x029}, //  48 Grave accent
    {1078, 0x033}, //  49 ,
    {1079, 0x034}, //  50 .
    {1080, 0x035}, //  51 /
    {1010, 0x03B}, //  52 F1
    {1011, 0x03C}, //  53 F2
    {1012, 0x03D}, //  54 F3
    {1013, 0x03E}, //  55 F4
    {1014, 0x03F}, //  56 F5
    {1015, 0x040}, //  57 F6
    {1023, 0x041}, //  58 F7
    {1024, 0x042}, //  59 F8
    {1025, 0x043}, //  60 F9
    {1026, 0x044}, //  61 F10
    {1027, 0x057}, //  62 F11
    {1028, 0x058}, //  63 F12
    {1091, 0x137}, //  64 Print Screen
    {1093, 0x045}, //  65 Pause
    {1094, 0x152}, //  66 Insert
    {1097, 0x153}, //  67 Delete
    {1095, 0x147}, //  68 Home
    {1098, 0x14F}, //  69 End
    {1096, 0x149}, //  70 Page Up
    {1099, 0x151}, //  71 Page Down
    {1103, 0x148}, //  72 Up arrow
    {1101, 0x150}, //  73 Down arrow
    {1100, 0x14B}, //  74 Left arrow
    {1102, 0x14D}, //  75 Right arrow
    {1092, 0x046}, //  76 Scroll Lock
    {1069, 0x03A}, //  77 Caps Lock
    {1088, 0x15D}, //  78 App
    {1083, 0x01D}, //  79 Ctrl
    {1089, 0x11D}, //  80 Right Ctrl
    {1082, 0x02A}, //  81 Shift
    {1081, 0x036}, //  82 Right Shift
    {1085, 0x038}, //  83 Alt
    {1086, 0x138}, //  84 Right Alt
    {1084, 0x15B}, //  85 Win
    {1087, 0x15C}, //  86 Right Win
    {1115, 0x04F}, //  87 Num 1
    {1116, 0x050}, //  88 Num 2
    {1117, 0x051}, //  89 Num 3
    {1112, 0x04B}, //  90 Num 4
    {1113, 0x04C}, //  91 Num 5
    {1114, 0x04D}, //  92 Num 6
    {1108, 0x047}, //  93 Num 7
    {1109, 0x048}, //  94 Num 8
    {1110, 0x049}, //  95 Num 9
    {1120, 0x052}, //  96 Num 0
    {1104, 0x145}, //  97 Num Lock
    {1118, 0x11C}, //  98 Num Enter
    {1119, 0x053}, //  99 Num .
    {1105, 0x135}, // 100 Num /
    {1106, 0x037}, // 101 Num *
    {1107, 0x04A}, // 102 Num -
    {1111, 0x04E}, // 103 Num +
    {1199, 0x056}, // 104 K45
    {1200, 0x073}, // 105 K56
}};

void Add(std::vector<SkinKeyUse>& list, SkinReader reader, std::initializer_list<const char*> keys) {
    for (const char* k : keys)
        list.push_back({k, reader, {}});
}

} // namespace

const char* MainFaceFile(MainFace face) {
    static const char* const kFiles[MAIN_FACES] = {
        "Skins/main_normal.jpg", "Skins/main_over.jpg",   "Skins/main_down.jpg", "Skins/main_disable.jpg",
        "Skins/main_color0.jpg", "Skins/main_color1.jpg", "Skins/Arrow.jpg",
    };
    return face >= 0 && face < MAIN_FACES ? kFiles[face] : "";
}

std::array<MainFace, FACE_SLOTS> MainButtonFaces(const std::string& key) {
    using F = std::array<MainFace, FACE_SLOTS>;
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (key == n) return true;
        return false;
    };
    if (key.rfind("FUNC_G", 0) == 0 || key.rfind("KEY_", 0) == 0)
        return F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_NORMAL, MAIN_DISABLE};
    if (key == "DAVARU_LINK") return F{MAIN_NORMAL, MAIN_OVER, MAIN_DISABLE, MAIN_NORMAL, MAIN_NORMAL};
    if (key == "CONTROL2_APPLY") return F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_DISABLE, MAIN_NORMAL};
    if (is({"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"}))
        return F{MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_OVER};
    if (key == "FLIP_0") return F{MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_DISABLE};
    if (is({"FLIP_1", "FLIP_2", "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT",
            "FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4"}))
        return F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_NORMAL, MAIN_DISABLE};
    if (key == "DAVARU_VER") return F{MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL, MAIN_NORMAL};
    if (key == "LEFT_ARROW" || key == "RIGHT_ARROW")
        return F{MAIN_ARROW, MAIN_ARROW, MAIN_ARROW, MAIN_ARROW, MAIN_ARROW};
    return F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_NORMAL, MAIN_NORMAL};
}

const std::array<SkinKeySlot, kSkinKeySlots>& SkinKeySlots() {
    return kSlots;
}

std::string SkinKeyName(uint16_t scanCode) {
    // Extended keys (0x1nn) sit at index 0x80 + nn of the key table.
    unsigned index = scanCode < 0x100 ? scanCode : ((scanCode - 0x80u) & 0xFFu);
    char buf[16];
    std::snprintf(buf, sizeof buf, "KEY_%03X", index);
    return buf;
}

std::string SkinGKeyName(int n) {
    return "FUNC_G" + std::to_string(n);
}

const std::array<int, 9>& SkinGKeyControlIds() {
    static const std::array<int, 9> kIds = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};
    return kIds;
}

std::string SkinArrowFaceKey(bool right, bool flipped) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%d",
                  flipped ? (right ? "UP_ARROW_RIGHT" : "UP_ARROW_LEFT")
                          : (right ? "DOWN_ARROW_RIGHT" : "DOWN_ARROW_LEFT"),
                  1);
    return buf;
}

std::array<std::string, 3> SkinDirectionGroupKeys(int set) {
    std::string suffix = set <= 1 ? "" : std::to_string(set);
    return {"CONTROL_BLFXStatic" + suffix, "CONTROL_BLFXLStaPic" + suffix, "CONTROL_BLFXRStaPic" + suffix};
}

std::vector<SkinKeyUse> MainSkinKeys() {
    std::vector<SkinKeyUse> list;
    Add(list, SkinReader::PlaceButton,
        {"DAVARU_LINK",    "FUNC_PROFILES",  "FUNC_MACRO",    "CONTROL_OK",
         "CONTROL_CANCEL", "CONTROL_HELP",   "CONTROL_CLOSE", "CONTROL_MINIMIZE",
         "CONTROL_MENU",   "CONTROL2_APPLY", "LOCK_CAPS",     "LOCK_NUM",
         "LOCK_SCROLL",    "LOCK_AB",        "FLIP_0",        "FLIP_1",
         "FLIP_2",         "DAVARU_VER",     "FUNC_PROFILE1", "FUNC_PROFILE2",
         "FUNC_PROFILE3",  "FUNC_DEFAULT",   "FUNC_SWITCH",   "FUNC_REPORT1",
         "FUNC_REPORT2",   "FUNC_REPORT3",   "FUNC_REPORT4",  "KEY_FN"});
    for (int n = 1; n <= 9; ++n)
        list.push_back({SkinGKeyName(n), SkinReader::PlaceButton, {}});
    for (const SkinKeySlot& s : kSlots)
        list.push_back({SkinKeyName(s.scanCode), SkinReader::PlaceButton, {}});
    Add(list, SkinReader::PlaceControl,
        {"COLOR_R",
         "COLOR_G",
         "COLOR_B",
         "CONTROL_UsbStatic",
         "CONTROL_RGBStatic",
         "CONTROL_DengStatic",
         "CONTROL_DengStaPic",
         "CONTROL_XGcombox",
         "CONTROL_JDTStatic",
         "CONTROL_LightStatic",
         "CONTROL_LightSlider",
         "CONTROL_LightValue",
         "CONTROL_SpeedStatic",
         "CONTROL_SpeedSlider",
         "CONTROL_SpeedValue",
         "CONTROL_BLFXStatic",
         "CONTROL_BLFXLStaPic",
         "CONTROL_BLFXRStaPic",
         "CONTROL_FYYSStatic",
         "CONTROL_FYYSButton",
         "CONTROL_FYSJSStaPic",
         "CONTROL_FYSJSStatic",
         "CONTROL_FYCFStatic",
         "CONTROL_FYdjcfStatic",
         "CONTROL_FYggcfStatc",
         "CONTROL_FYdjcfStaPic",
         "CONTROL_FYggcfStaPic",
         "CONTROL_HONGPIC",
         "CONTROL_HUANGPIC",
         "CONTROL_LVPIC",
         "CONTROL_LANPIC",
         "CONTROL_HXysStatic",
         "CONTROL_HXysButton",
         "CONTROL_HXsjsStatic",
         "CONTROL_HXsjsStaPic",
         "CONTROL_JTysStatic",
         "CONTROL_JTysButton",
         "CONTROL_USERysStatic",
         "CONTROL_USERysButton",
         "CONTROL_USERjsStatic",
         "CONTROL_USERjsButton",
         "CONTROL_USERgjStatic",
         "CONTROL_USERgjStaPic1",
         "CONTROL_USERgjStaPic2",
         "CONTROL_Color1",
         "CONTROL_Color2",
         "CONTROL_Color3",
         "CONTROL_Color4",
         "CONTROL_Color5",
         "CONTROL_Color6",
         "CONTROL_Color7",
         "CONTROL_Color8",
         "CONTROL_Network",
         "CONTROL_Facebook",
         "CONTROL_twitter",
         "CONTROL_TSysStatic",
         "CONTROL_TSysButton",
         "CONTROL_TSsjsStatic",
         "CONTROL_TSsjsStaPic",
         "CONTROL_CDysStatic",
         "CONTROL_CDysButton",
         "CONTROL_CDsjsStatic",
         "CONTROL_CDsjsStaPic",
         "CONTROL_umCombo"});
    for (int set = 1; set <= 3; ++set)
        for (const std::string& k : SkinDirectionGroupKeys(set))
            list.push_back({k, SkinReader::MoveControl, {}});
    list.push_back({"LEFT_ARROW", SkinReader::FaceOrigin, SkinArrowFaceKey(false, true)});
    list.push_back({"LEFT_ARROW", SkinReader::FaceOrigin, SkinArrowFaceKey(false, false)});
    list.push_back({"RIGHT_ARROW", SkinReader::FaceOrigin, SkinArrowFaceKey(true, true)});
    list.push_back({"RIGHT_ARROW", SkinReader::FaceOrigin, SkinArrowFaceKey(true, false)});
    return list;
}

std::vector<SkinKeyUse> CompositeSkinKeys() {
    std::vector<SkinKeyUse> list;
    Add(list, SkinReader::PlaceButton,
        {"CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA", "CONTROL_MACRO",
         "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL", "FUNC_MACRO_DELETE",
         "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM",
         "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD"});
    Add(list, SkinReader::PlaceControl,
        {"FUNC_MACRO_RECORD_DELAY",
         "FUNC_MACRO_LIST2",
         "FUNC_MACRO_CYCLES",
         "FUNC_MACRO_CYCLES_PROMPT",
         "TISHI_SINGLE_STATIC",
         "MARCO_NAME_SETTING",
         "KEY_SETTING",
         "MEDIA_SETTING_TISHI",
         "FUNCTION_KEY_SETTING_TISHI",
         "FUNC_MACRO_RECORD_DELAY2",
         "FUNC_KEY_INPUT",
         "FUNC_MEDIA_SELECT",
         "FUNC_MACRO_LIST",
         "FUNC_FUNCTION_SELECT",
         "FUNC_KEY_RADIO_KB",
         "FUNC_KEY_RADIO_KB_STATIC",
         "FUNC_KEY_RADIO_MOU",
         "FUNC_KEY_RADIO_MOU_STATIC",
         "FUNC_KEY_DISABLE",
         "FUNC_KEY_DISABLE_STATIC"});
    return list;
}

std::vector<SkinKeyUse> ProfileSkinKeys() {
    std::vector<SkinKeyUse> list;
    Add(list, SkinReader::PlaceButton,
        {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY"});
    Add(list, SkinReader::PlaceControl, {"PROGRAM_LIST"});
    return list;
}

} // namespace orvane
