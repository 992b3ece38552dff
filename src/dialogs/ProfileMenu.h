#pragma once
// The profile menu: the default entry, a separator and one item per on-board
// profile under the name its owner gave it, the active one checked. Its
// checked text is the caption of the main window's profiles button (1005),
// and "PROFILE_TIP" followed by it that button's tooltip.
#include <string>
#include <vector>

class QMenu;

namespace orvane {

class CPngButton;

constexpr int kProfileMenuDefaultItem = 9000;
constexpr int kProfileMenuFirstItem = 9001; // + profile

struct ProfileMenuItem {
    int id = 0; // 0 for the separator
    std::string text;
    bool checked = false;
};

struct ProfileMenuModel {
    std::vector<ProfileMenuItem> items;
    std::string caption; // the checked item's text
    std::string tooltip;
    std::string trayTip; // the program's name, then the profile in use when it is known
};

// The menu for `activeProfile` (0-2; anything else checks the default entry).
ProfileMenuModel MakeProfileMenu(int activeProfile);

// Rebuilds `menu` (when given) for the keyboard's active profile and gives
// `button` its caption and tooltip; returns what it showed.
ProfileMenuModel BuildProfileMenu(CPngButton& button, QMenu* menu = nullptr);

} // namespace orvane
