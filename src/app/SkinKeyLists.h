#pragma once
// Which keys each skinned window reads from its skin file, and with which
// reader, plus the main window's choice of face picture per button state.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/SkinReaders.h"

namespace orvane {

enum class SkinReader : char { PlaceButton = 'B', PlaceControl = 'C', MoveControl = 'M', FaceOrigin = 'A' };

struct SkinKeyUse {
    std::string key;
    SkinReader reader;
    std::string faceKey; // FaceOrigin only: the BUTTONINFO2 key
};

// The main window's whole-window face pictures, in the order of their files.
enum MainFace {
    MAIN_NORMAL = 0,
    MAIN_OVER,
    MAIN_DOWN,
    MAIN_DISABLE,
    MAIN_COLOR0,
    MAIN_COLOR1,
    MAIN_ARROW,
    MAIN_FACES
};
const char* MainFaceFile(MainFace face); // e.g. "Skins/main_normal.jpg", relative to the program folder

// The picture each of the five states of a main-window button is cut from.
std::array<MainFace, FACE_SLOTS> MainButtonFaces(const std::string& key);

// A key button of the keyboard picture: its control id and scan code, in the
// order the keyboard view lays them out.
struct SkinKeySlot {
    int controlId;
    uint16_t scanCode;
};
constexpr int kSkinKeySlots = 106;
const std::array<SkinKeySlot, kSkinKeySlots>& SkinKeySlots();

// "KEY_%03X" of the key table index of `scanCode` (0x137 -> "KEY_0B7").
std::string SkinKeyName(uint16_t scanCode);
// "FUNC_G%d", n = 1..9, and the G keys' control ids in that order.
std::string SkinGKeyName(int n);
const std::array<int, 9>& SkinGKeyControlIds();
// Face key of an arrow: "UP_ARROW_LEFT1" / "DOWN_ARROW_LEFT1" (left) and the
// RIGHT pair, the "UP_" one while the flip setting is non-zero.
std::string SkinArrowFaceKey(bool right, bool flipped);
// The three position sets of the lighting panel's direction group; set 1
// is the plain one (no suffix).
std::array<std::string, 3> SkinDirectionGroupKeys(int set);

std::vector<SkinKeyUse> MainSkinKeys();
std::vector<SkinKeyUse> CompositeSkinKeys();
std::vector<SkinKeyUse> ProfileSkinKeys();

} // namespace orvane
