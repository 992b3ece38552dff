#pragma once
// Names of the keys the preview animates: the key slot number (0-105) of the
// key's button on the keyboard picture, plus one extra number for the Fn
// button, which has no key slot. The constant tables of the preview are
// written with these names so each row reads like the printed key lists.
#include <cstdint>

namespace orvane::pk {

// clang-format off
constexpr uint8_t A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7, I = 8, J = 9;
constexpr uint8_t K = 10, L = 11, M = 12, N = 13, O = 14, P = 15, Q = 16, R = 17, S = 18;
constexpr uint8_t T = 19, U = 20, V = 21, W = 22, X = 23, Y = 24, Z = 25;
constexpr uint8_t D1 = 26, D2 = 27, D3 = 28, D4 = 29, D5 = 30, D6 = 31, D7 = 32, D8 = 33;
constexpr uint8_t D9 = 34, D0 = 35;
constexpr uint8_t Enter = 36, Esc = 37, Backspace = 38, Tab = 39, Space = 40, Minus = 41;
constexpr uint8_t Equals = 42, LeftBracket = 43, RightBracket = 44, Backslash = 45;
constexpr uint8_t Semicolon = 46, Apostrophe = 47, Grave = 48, Comma = 49, Period = 50;
constexpr uint8_t Slash = 51;
constexpr uint8_t F1 = 52, F2 = 53, F3 = 54, F4 = 55, F5 = 56, F6 = 57, F7 = 58, F8 = 59;
constexpr uint8_t F9 = 60, F10 = 61, F11 = 62, F12 = 63;
constexpr uint8_t PrintScreen = 64, Pause = 65, Insert = 66, Delete = 67, Home = 68;
constexpr uint8_t End = 69, PageUp = 70, PageDown = 71;
constexpr uint8_t Up = 72, Down = 73, Left = 74, Right = 75;
constexpr uint8_t ScrollLock = 76, CapsLock = 77, App = 78, Ctrl = 79, RightCtrl = 80;
constexpr uint8_t Shift = 81, RightShift = 82, Alt = 83, RightAlt = 84, Win = 85, RightWin = 86;
constexpr uint8_t Num1 = 87, Num2 = 88, Num3 = 89, Num4 = 90, Num5 = 91, Num6 = 92;
constexpr uint8_t Num7 = 93, Num8 = 94, Num9 = 95, Num0 = 96;
constexpr uint8_t NumLock = 97, NumEnter = 98, NumDot = 99, NumSlash = 100, NumStar = 101;
constexpr uint8_t NumMinus = 102, NumPlus = 103, K45 = 104, K56 = 105;
// clang-format on

constexpr uint8_t Fn = 106; // the Fn button
constexpr uint8_t kCount = 107;
constexpr uint8_t xx = 0xFF; // a grid cell without a key

} // namespace orvane::pk
