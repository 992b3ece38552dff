#pragma once
// Where each key cap sits on the keyboard picture, in key units (one unit is
// the pitch of a letter key), and what its legend says.
#include <cstdint>
#include <QString>
#include <vector>

namespace skingen {

struct KeyCap {
    uint16_t scanCode; // 0 for the Fn key
    int led;           // lighting matrix index, 125 when none
    double x, y;       // units from the top-left of the main block
    double w, h;
    QString legend;
};

constexpr uint16_t kFnCap = 0;
const std::vector<KeyCap>& KeyboardCaps(); // the 106 key slots and Fn

} // namespace skingen
