#pragma once
// Control ids and command numbers of the main window, and the fixed web
// addresses of its link buttons.
#include <cstdint>

namespace orvane {

// The window's own buttons.
constexpr int IDC_OK = 1;
constexpr int IDC_CANCEL = 2;
constexpr int IDC_PROFILE_MANAGER = 1005;
constexpr int IDC_APPLY = 1006;
constexpr int IDC_MACRO = 1007;
constexpr int IDC_HIDDEN_1 = 1008;
constexpr int IDC_HIDDEN_2 = 1009;
constexpr int IDC_WEB_ADDRESS = 1121;
constexpr int IDC_HELP = 1122;
constexpr int IDC_MINIMISE = 1123;
constexpr int IDC_CLOSE = 1124;
constexpr int IDC_LOCK_CAPS = 1125;
constexpr int IDC_LOCK_NUM = 1126;
constexpr int IDC_LOCK_SCROLL = 1127;
constexpr int IDC_LOCK_AB = 1128;
constexpr int IDC_FLIP_0 = 1129;
constexpr int IDC_FLIP_1 = 1130;
constexpr int IDC_FLIP_2 = 1131;
constexpr int IDC_LEFT_ARROW = 1132;
constexpr int IDC_RIGHT_ARROW = 1133;
constexpr int IDC_VERSION = 1134;
constexpr int IDC_PROFILE_1 = 1135;
constexpr int IDC_PROFILE_2 = 1136;
constexpr int IDC_PROFILE_3 = 1137;
constexpr int IDC_DEFAULT = 1138;
constexpr int IDC_MENU = 1139;
constexpr int IDC_SWITCH = 1144;
constexpr int IDC_REPORT_1 = 1147;
constexpr int IDC_REPORT_2 = 1168;
constexpr int IDC_REPORT_3 = 1169;
constexpr int IDC_REPORT_4 = 1170;
constexpr int IDC_LINK_SITE = 1219;
constexpr int IDC_LINK_FACEBOOK = 1220;
constexpr int IDC_LINK_TWITTER = 1221;

// Controls of the keyboard picture and the lighting panel the window names.
constexpr int IDC_G9 = 1143;
constexpr int IDC_MODE_LIST = 1146;
constexpr int IDC_BUSY_PICTURE = 1177;

// Tray menu and backup/restore menu commands.
constexpr int ID_TRAY_OPEN = 32771;
constexpr int ID_TRAY_ABOUT = 32773;
constexpr int ID_TRAY_EXIT = 32774;
constexpr int ID_RESTORE_FILE = 32776;
constexpr int ID_BACKUP_FILE = 32777;

// The platform's message for a change of the wall clock.
constexpr uint32_t WM_TIMECHANGE = 0x001E;

// Used when the skin names no web address.
constexpr const char* kDefaultWebAddress = "https://www.kernel.org/";

} // namespace orvane
