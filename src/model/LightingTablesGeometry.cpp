// Where the preview finds its keys: the 23 x 6 preview grid, the spiral order
// with each key's animation slot, the sparkle order and the rainbow groups.
// Rows are written as the key lists they come from so each can be checked
// against them.
#include <array>

#include "model/LightingTables.h"

namespace orvane {

namespace {

using namespace pk;

// clang-format off
constexpr std::array<std::array<uint8_t, kGridColumns>, kGridRows> kGrid = {{
    {xx, xx, Esc, F1, F2, F3, F4, xx, F5, F6, F7, F8, F9, F10, F11, F12, PrintScreen, ScrollLock, Pause, xx, xx, xx, xx},
    {xx, Grave, D1, D2, D3, D4, D5, D6, D7, D8, D9, D0, Minus, Equals, Backspace, Backspace, Insert, Home, PageUp, NumLock, NumSlash, NumStar, NumMinus},
    {xx, Tab, Q, W, E, R, T, Y, U, I, O, P, LeftBracket, RightBracket, Enter, Enter, Delete, End, PageDown, Num7, Num8, Num9, xx},
    {xx, CapsLock, A, S, D, F, G, H, J, K, L, Semicolon, Apostrophe, Backslash, Backslash, xx, xx, xx, xx, Num4, Num5, Num6, NumPlus},
    {Shift, K45, Z, X, C, V, B, N, M, Comma, Period, Slash, K56, xx, RightShift, RightShift, xx, Up, xx, Num1, Num2, Num3, NumEnter},
    {Ctrl, Win, Alt, xx, xx, xx, Space, xx, xx, RightAlt, RightAlt, Fn, App, RightWin, RightCtrl, RightCtrl, Left, Down, Right, Num0, Num0, NumDot, xx},
}};

// Note that Shift and K45 share slot 84: both listings are kept as they are.
constexpr std::array<SpiralEntry, kSpiralLength> kSpiral = {{
    {Pause, 16}, {ScrollLock, 15}, {PrintScreen, 14}, {F12, 12}, {F11, 11}, {F10, 10}, {F9, 9}, {F8, 8},
    {F7, 7}, {F6, 6}, {F5, 5}, {F4, 4}, {F3, 3}, {F2, 2}, {F1, 1}, {Esc, 0},
    {Grave, 21}, {Tab, 42}, {CapsLock, 63}, {Shift, 84}, {Ctrl, 105}, {Win, 106}, {Alt, 107}, {Space, 108},
    {RightAlt, 109}, {Fn, 110}, {App, 111}, {RightCtrl, 113}, {Left, 119}, {Down, 120}, {Right, 121}, {Num0, 123},
    {NumDot, 124}, {NumEnter, 104}, {NumPlus, 62}, {NumMinus, 41}, {NumStar, 40}, {NumSlash, 39}, {NumLock, 38}, {PageUp, 37},
    {Home, 36}, {Insert, 35}, {Backspace, 34}, {Equals, 33}, {Minus, 32}, {D0, 31}, {D9, 30}, {D8, 29},
    {D7, 28}, {D6, 27}, {D5, 26}, {D4, 25}, {D3, 24}, {D2, 23}, {D1, 22}, {Q, 43},
    {A, 64}, {K45, 84}, {Z, 85}, {X, 86}, {C, 87}, {V, 88}, {B, 89}, {N, 90},
    {M, 91}, {Comma, 92}, {Period, 93}, {Slash, 94}, {K56, 95}, {RightShift, 97}, {Up, 99}, {Num1, 101},
    {Num4, 102}, {Num2, 103}, {Num5, 82}, {Num3, 61}, {Num6, 60}, {Num9, 59}, {Num8, 58}, {Num7, 57},
    {PageDown, 56}, {End, 55}, {Delete, 54}, {Backslash, 53}, {RightBracket, 52}, {LeftBracket, 51}, {P, 50}, {O, 49},
    {I, 48}, {U, 47}, {Y, 46}, {T, 45}, {R, 44}, {E, 65}, {W, 66}, {S, 67},
    {D, 68}, {F, 69}, {G, 70}, {H, 71}, {J, 72}, {K, 73}, {L, 74}, {Semicolon, 76},
    {Apostrophe, 80}, {Enter, 81},
    // Right Win, on its own LED, comes last so that every other key keeps its
    // place in the walk and the sparkle order keeps its keys.
    {RightWin, 112},
}};

constexpr std::array<uint8_t, kSparkleLength> kSparkle = {
    88, 24, 101, 57, 16, 69, 35, 34, 36, 51, 78, 18, 12, 66, 97, 9,
    33, 41, 55, 52, 48, 95, 77, 70, 10, 23, 39, 3, 102, 17, 65, 22,
    31, 4, 85, 76, 15, 60, 54, 21, 83, 94, 6, 61, 49, 20, 5, 14,
    68, 98, 71, 27, 81, 1, 105, 87, 46, 75, 37, 73, 32, 79, 8, 29,
    72, 56, 44, 99, 13, 47, 42, 93, 91, 80, 86, 89, 43, 28, 58, 59,
    38, 53, 2, 62, 64, 90, 96, 74, 92, 40, 25, 26, 7, 30, 50, 84,
    45, 67, 19, 103, 100, 82, 11, 63, 106, 0,
};

constexpr std::array<KeyGroup, kRainbowGroupCount> kGroups = {{
    // group 0
    {O},
    // group 1
    {D9, I, K, L, P, D0},
    // group 2
    {F8, D8, U, J, M, Comma, Period, Semicolon, LeftBracket, Minus},
    // group 3
    {F7, D7, Y, H, N, RightAlt, Slash, Apostrophe, RightBracket, Equals, F9},
    // group 4
    {F6, D6, T, G, B, Fn, Backslash, K56, Backspace, F10, F11},
    // group 5
    {F5, D5, R, F, V, Space, App, Delete, Insert, F12, Enter, RightShift},
    // group 6
    {F4, D4, E, D, C, Left, Up, End, Home, PrintScreen, RightCtrl, RightWin},
    // group 7
    {F3, D3, W, S, X, Down, Right, PageDown, PageUp, Pause, ScrollLock},
    // group 8
    {F2, D2, Q, A, Z, Alt, Num1, Num4, Num7, NumLock, Num4},
    // group 9
    {F1, D1, Tab, CapsLock, K45, Shift, Win, Num0, Num2, Num5, Num8, NumSlash},
    // group 10
    {Esc, Grave, Ctrl, NumDot, Num3, Num6, Num9, NumStar},
    // group 11
    {NumEnter, NumPlus, NumMinus},
}};
// clang-format on

struct KeyLookup {
    std::array<int8_t, pk::kCount> slot{};
    std::array<int8_t, pk::kCount> column{};
    std::array<int8_t, pk::kCount> row{};
};

constexpr KeyLookup BuildLookup() {
    KeyLookup l;
    for (int k = 0; k < pk::kCount; ++k)
        l.slot[k] = l.column[k] = l.row[k] = -1;
    for (int i = 0; i < kSpiralLength; ++i) {
        const SpiralEntry& e = kSpiral[i];
        if (e.key < pk::kCount && l.slot[e.key] < 0) l.slot[e.key] = static_cast<int8_t>(e.slot);
    }
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            uint8_t k = kGrid[r][c];
            if (k < pk::kCount && l.column[k] < 0) {
                l.column[k] = static_cast<int8_t>(c);
                l.row[k] = static_cast<int8_t>(r);
            }
        }
    return l;
}

constexpr KeyLookup kLookup = BuildLookup();

} // namespace

constinit const std::array<std::array<uint8_t, kGridColumns>, kGridRows> kPreviewGrid = kGrid;
constinit const std::array<SpiralEntry, kSpiralLength> kSpiralOrder = kSpiral;
constinit const std::array<uint8_t, kSparkleLength> kSparkleOrder = kSparkle;
constinit const std::array<KeyGroup, kRainbowGroupCount> kRainbowGroups = kGroups;

int SpiralSlotOfKey(uint8_t key) {
    return key < pk::kCount ? kLookup.slot[key] : -1;
}

bool GridCellOfKey(uint8_t key, int* column, int* row) {
    if (key >= pk::kCount || kLookup.column[key] < 0) return false;
    *column = kLookup.column[key];
    *row = kLookup.row[key];
    return true;
}

} // namespace orvane
