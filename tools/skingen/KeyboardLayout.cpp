#include "KeyboardLayout.h"

namespace skingen {

namespace {

struct Row {
    double y;
    std::vector<KeyCap> caps;
};

// One row of keys from left to right; a scan code of 0xFFFF is a gap of the
// given width.
void Lay(std::vector<KeyCap>& out, double y, double x, std::initializer_list<KeyCap> caps) {
    for (KeyCap c : caps) {
        if (c.scanCode == 0xFFFF) {
            x += c.w;
            continue;
        }
        c.x = x;
        c.y = y;
        out.push_back(c);
        x += c.w;
    }
}

KeyCap K(uint16_t sc, int led, QString legend, double w = 1, double h = 1) {
    return {sc, led, 0, 0, w, h, legend};
}
KeyCap Gap(double w) {
    return {0xFFFF, 125, 0, 0, w, 1, {}};
}

std::vector<KeyCap> Build() {
    std::vector<KeyCap> v;
    const double nav = 15.25, pad = 18.5;
    const double r1 = 1.25; // the function row stands apart from the rest
    // Function row.
    Lay(v, 0, 0,
        {K(0x001, 0, "Esc"), Gap(1), K(0x03B, 1, "F1"), K(0x03C, 2, "F2"), K(0x03D, 3, "F3"),
         K(0x03E, 4, "F4"), Gap(0.5), K(0x03F, 5, "F5"), K(0x040, 6, "F6"), K(0x041, 7, "F7"),
         K(0x042, 8, "F8"), Gap(0.5), K(0x043, 9, "F9"), K(0x044, 10, "F10"), K(0x057, 11, "F11"),
         K(0x058, 12, "F12")});
    Lay(v, 0, nav, {K(0x137, 14, "PrtSc"), K(0x046, 15, "ScrLk"), K(0x045, 16, "Pause")});
    // Number row.
    Lay(v, r1, 0,
        {K(0x029, 21, "~\n`"), K(0x002, 22, "!\n1"), K(0x003, 23, "@\n2"), K(0x004, 24, "#\n3"),
         K(0x005, 25, "$\n4"), K(0x006, 26, "%\n5"), K(0x007, 27, "^\n6"), K(0x008, 28, "&\n7"),
         K(0x009, 29, "*\n8"), K(0x00A, 30, "(\n9"), K(0x00B, 31, ")\n0"), K(0x00C, 32, "_\n-"),
         K(0x00D, 33, "+\n="), K(0x00E, 34, "Backspace", 2)});
    Lay(v, r1, nav, {K(0x152, 35, "Ins"), K(0x147, 36, "Home"), K(0x149, 37, "PgUp")});
    Lay(v, r1, pad, {K(0x145, 38, "Num"), K(0x135, 39, "/"), K(0x037, 40, "*"), K(0x04A, 41, "-")});
    // Top letter row.
    Lay(v, r1 + 1, 0,
        {K(0x00F, 42, "Tab", 1.5), K(0x010, 43, "Q"), K(0x011, 44, "W"), K(0x012, 45, "E"), K(0x013, 46, "R"),
         K(0x014, 47, "T"), K(0x015, 48, "Y"), K(0x016, 49, "U"), K(0x017, 50, "I"), K(0x018, 51, "O"),
         K(0x019, 52, "P"), K(0x01A, 53, "{\n["), K(0x01B, 54, "}\n]"), K(0x02B, 55, "|\n\\", 1.5)});
    Lay(v, r1 + 1, nav, {K(0x153, 56, "Del"), K(0x14F, 57, "End"), K(0x151, 58, "PgDn")});
    Lay(v, r1 + 1, pad, {K(0x047, 59, "7"), K(0x048, 60, "8"), K(0x049, 61, "9"), K(0x04E, 62, "+", 1, 2)});
    // Home row.
    Lay(v, r1 + 2, 0,
        {K(0x03A, 63, "Caps", 1.75), K(0x01E, 64, "A"), K(0x01F, 65, "S"), K(0x020, 66, "D"),
         K(0x021, 67, "F"), K(0x022, 68, "G"), K(0x023, 69, "H"), K(0x024, 70, "J"), K(0x025, 71, "K"),
         K(0x026, 72, "L"), K(0x027, 73, ":\n;"), K(0x028, 74, "\"\n'"), K(0x01C, 76, "Enter", 2.25)});
    Lay(v, r1 + 2, pad, {K(0x04B, 80, "4"), K(0x04C, 81, "5"), K(0x04D, 82, "6")});
    // Bottom letter row, with the two extra keys of international layouts.
    Lay(v, r1 + 3, 0,
        {K(0x02A, 84, "Shift", 1.25), K(0x056, 85, "|\n\\"), K(0x02C, 86, "Z"), K(0x02D, 87, "X"),
         K(0x02E, 88, "C"), K(0x02F, 89, "V"), K(0x030, 90, "B"), K(0x031, 91, "N"), K(0x032, 92, "M"),
         K(0x033, 93, "<\n,"), K(0x034, 94, ">\n."), K(0x035, 95, "?\n/"), K(0x073, 96, "_\n\\"),
         K(0x036, 97, "Shift", 1.75)});
    Lay(v, r1 + 3, nav + 1, {K(0x148, 99, "\u25B2")});
    Lay(v, r1 + 3, pad,
        {K(0x04F, 101, "1"), K(0x050, 102, "2"), K(0x051, 103, "3"), K(0x11C, 104, "Ent", 1, 2)});
    // Space row.
    Lay(v, r1 + 4, 0,
        {K(0x01D, 105, "Ctrl", 1.25), K(0x15B, 106, "Win", 1.25), K(0x038, 107, "Alt", 1.25),
         K(0x039, 108, "", 6.25), K(0x138, 109, "Alt"), K(kFnCap, 110, "Fn"), K(0x15D, 111, "Menu"),
         K(0x15C, 112, "Win"), K(0x11D, 113, "Ctrl")});
    Lay(v, r1 + 4, nav, {K(0x14B, 119, "\u25C0"), K(0x150, 120, "\u25BC"), K(0x14D, 121, "\u25B6")});
    Lay(v, r1 + 4, pad, {K(0x052, 123, "0", 2), K(0x053, 124, ".")});
    return v;
}

} // namespace

const std::vector<KeyCap>& KeyboardCaps() {
    static const std::vector<KeyCap> kCaps = Build();
    return kCaps;
}

} // namespace skingen
