#include "mainwnd/LightingPanelModes.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace orvane {

namespace {

struct Row {
    std::initializer_list<int> controls;
    std::initializer_list<int> modes;
};

// clang-format off
const std::array<Row, 8> kTable = {{
    {{1146, 1172, 1178, 1222}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}},
    {{1166, 1179, 1223},       {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    {{1148, 1149, 1150},       {1, 2, 3, 12, 18}},
    {{1194, 1195, 1196, 1197}, {17}},
    {{1151, 1152, 1175, 1176}, {6, 16}},
    {{1154, 1155, 1173, 1156}, {1, 2, 3, 5, 7, 8, 9, 10, 13, 14, 15}},
    {{1159, 1160, 1161, 1162, 1163, 1164, 1165, 1198}, {20}},
    {{1157, 1158, 1180, 1181, 1182, 1183, 1184, 1186, 1187, 1188, 1189, 1190, 1191, 1192, 1193}, {}},
}};
// clang-format on

const std::vector<int> kControls = [] {
    std::vector<int> ids;
    for (const Row& row : kTable)
        ids.insert(ids.end(), row.controls.begin(), row.controls.end());
    return ids;
}();

bool Contains(std::initializer_list<int> list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

std::span<const int> ModeTableControls() {
    return kControls;
}

bool ModeShowsControl(int mode, int controlId) {
    for (const Row& row : kTable)
        if (Contains(row.controls, controlId)) return Contains(row.modes, mode);
    return false;
}

int DirectionPositionSet(int mode) {
    if (mode >= 1 && mode <= 3) return 2;
    return mode == 12 ? 3 : 1;
}

DirectionPictures DirectionPicturesFor(int mode, uint8_t direction) {
    // Only 0 and 255 are sent; any other stored value counts as the first.
    const bool first = direction != 0;
    if (mode == 18)
        return first ? DirectionPictures{"kuosandown.bmp", "julong.bmp"}
                     : DirectionPictures{"kuosan.bmp", "julongdown.bmp"};
    if (mode == 12)
        return first ? DirectionPictures{"updown.bmp", "downup.bmp"}
                     : DirectionPictures{"upup.bmp", "downdown.bmp"};
    return first ? DirectionPictures{"leftdown.bmp", "rightup.bmp"}
                 : DirectionPictures{"leftup.bmp", "rightdown.bmp"};
}

std::string BrightnessPicture(int position) {
    return std::to_string(position) + ".bmp";
}

std::string SpeedPicture(int position) {
    return std::to_string(6 + position) + ".bmp";
}

} // namespace orvane
