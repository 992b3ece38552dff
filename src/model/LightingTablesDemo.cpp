// The script of the demonstration mode (mode 14): the keys lit at each of
// its twenty steps, then the sixteen pairs it lights in turn.
#include <array>

#include "model/LightingTables.h"

namespace orvane {

using namespace pk;

// clang-format off
constinit const std::array<KeyGroup, kDemoStepCount> kDemoSteps = {{
    /* 0 */ {Esc},
    /* 1 */ {F1, Right},
    /* 2 */ {F2, Down},
    /* 3 */ {F3, Left, Grave},
    /* 4 */ {F4, RightCtrl, D1},
    /* 5 */ {F5, App, D2},
    /* 6 */ {F6, Fn, D3, Up, Tab},
    /* 7 */ {F7, RightAlt, D4, Q},
    /* 8 */ {F8, D5, RightShift, W},
    /* 9 */ {D6, Slash, E, K56, D7, Period},
    /* 10 */ {R, Enter, D8, Comma, T, Apostrophe},
    /* 11 */ {D9, M, Y, Semicolon, D0, N},
    /* 12 */ {U, L, O, J, K, I},
    /* 13 */ {D7, Comma, D8, M, D9, N},
    /* 14 */ {D0, H, P, Y, L, D7},
    /* 15 */ {Comma, D8, M, D0, N, D9},
    /* 16 */ {H, P, Y, L, U, K},
    /* 17 */ {I, J, O, U, K, I},
    /* 18 */ {J, P},
    /* 19 */ {},
}};

constinit const std::array<KeyGroup, kDemoPairCount> kDemoPairs = {{
    /* 0 */ {D7, Comma},
    /* 1 */ {D8, M},
    /* 2 */ {D9, N},
    /* 3 */ {D0, H},
    /* 4 */ {P, Y},
    /* 5 */ {L, D7},
    /* 6 */ {Comma, D8},
    /* 7 */ {M, D0},
    /* 8 */ {N, D9},
    /* 9 */ {H, P},
    /* 10 */ {Y, L},
    /* 11 */ {U, K},
    /* 12 */ {I, J},
    /* 13 */ {O, U},
    /* 14 */ {K, I},
    /* 15 */ {J, P},
}};
// clang-format on

} // namespace orvane
