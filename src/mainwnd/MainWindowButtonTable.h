#pragma once
// The main window's own image buttons: control id, skin key, caption key and
// caption style. The keyboard picture and the lighting panel place theirs.
#include <span>

namespace orvane {

enum class CaptionStyle {
    None,
    Large,   // profile buttons and 1007
    Small,   // 1138, OK, Cancel, Apply
    Profile, // 1005: as Large; its text names the active profile, whole or elided
    Version, // 1134: empty, vertically centred
};

struct MainButtonInfo {
    int id;
    const char* skinKey;
    const char* captionKey; // TEXT section; null: no caption
    CaptionStyle style;
};

// Placed with the place-button reader, faces by skin key.
std::span<const MainButtonInfo> MainWindowButtons();
// Placed with the place-control reader (the web links): no faces of their own
// in the reader, so the window gives them the default ones.
std::span<const MainButtonInfo> MainWindowLinkButtons();

} // namespace orvane
