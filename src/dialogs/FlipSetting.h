#pragma once
// The "Flip" setting of the main window's frame: which of the two button
// groups of the keyboard picture is in use (F1-F4, or the six buttons
// 1016-1021) and which way the two arrow indicators point. Stored as "0" or
// "1" in the PROFILES settings; any other stored number counts as non-zero.
#include <array>
#include <string>
#include <vector>

namespace orvane {

constexpr const char* kFlipSection = "PROFILES";
constexpr const char* kFlipValueName = "Flip";

// Buttons of the frame and of the keyboard picture that "Flip" touches.
constexpr int kFlip0Button = 1129;
constexpr int kFlipLeftButton = 1130;
constexpr int kFlipRightButton = 1131;
constexpr std::array<int, 4> kFlipFKeyButtons = {1010, 1011, 1012, 1013};
constexpr std::array<int, 6> kFlipExtraButtons = {1016, 1017, 1018, 1019, 1020, 1021};
// Redrawn after the flip buttons' group, which they overlap.
constexpr std::array<int, 3> kFlipTrailingButtons = {1014, kFlipLeftButton, kFlipRightButton};

// The stored value, read as a decimal number; 0 when missing or not a number.
int ReadFlip();

// 0 becomes 1, anything else 0; the new value is stored and returned. A
// value that could not be stored is still returned (the window flips), and
// the user is told it will not be remembered.
int ToggleFlip();

// What the window shows for a value of "Flip".
struct FlipLayout {
    bool fKeysEnabled = true;      // F1-F4 (1010-1013)
    bool extraKeysEnabled = false; // 1016-1021
    bool arrowsUp = false;
};
FlipLayout LayoutForFlip(int flip);

// The BUTTONINFO2 key that gives an arrow indicator its face:
// "UP_ARROW_LEFT1" / "DOWN_ARROW_LEFT1" and the same with RIGHT.
std::string ArrowFaceKey(bool leftArrow, int flip);

// Buttons redrawn, in order, after button 1129 has been drawn: the group in
// use, then 1014, 1130 and 1131.
std::vector<int> ButtonsRedrawnAfterFlip0(int flip);

} // namespace orvane
