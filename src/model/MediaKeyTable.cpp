// Media key table: the media functions in the order they are offered and
// stored (media number 0-17). The key table row of the scan code gives the
// text key; the consumer usage is what the keyboard is sent.
#include <array>

#include "model/KeyTables.h"

namespace orvane {
namespace {

// clang-format off
constexpr std::array<MediaKeyRow, kMediaKeyCount> kMediaKeys = {{
    // Scan   Usage      Media number, text key
    {0x16D, 0x0183}, // 0 MEDIA_PALYER_1
    {0x122, 0x00CD}, // 1 MEDIA_PALY_PAUSE_2
    {0x124, 0x00B7}, // 2 MEDIA_STOP_PALY_3
    {0x110, 0x00B6}, // 3 MEDIA_PREV_TRACK_4
    {0x119, 0x00B5}, // 4 MEDIA_Next_TRACK_5
    {0x12E, 0x00EA}, // 5 MEDIA_V_LOW_6
    {0x130, 0x00E9}, // 6 MEDIA_V_ADD_7
    {0x120, 0x00E2}, // 7 MEDIA_MUTE_8
    {0x132, 0x0223}, // 8 MEDIA_WWW_HOME_9
    {0x167, 0x0227}, // 9 MEDIA_WWW_REFRESH_10
    {0x168, 0x0226}, // 10 MEDIA_WWW_STOP_11
    {0x16A, 0x0224}, // 11 MEDIA_WWW_BACK_12
    {0x169, 0x0225}, // 12 MEDIA_WWW_FORWARD_13
    {0x166, 0x022A}, // 13 MEDIA_WWW_FAVORITE_14
    {0x165, 0x0221}, // 14 MEDIA_WWW_SEARCH_15
    {0x16B, 0x0194}, // 15 MEDIA_MY_PC_16
    {0x121, 0x0192}, // 16 MEDIA_CALC_17
    {0x16C, 0x018A}, // 17 MEDIA_MAIL_18
}};
// clang-format on

} // namespace

const MediaKeyRow* MediaKeyAt(int media) {
    if (media < 0 || media >= kMediaKeyCount) return nullptr;
    return &kMediaKeys[static_cast<size_t>(media)];
}

int MediaNumberOfScanCode(ScanCode code) {
    if (code == kScanNone) return -1;
    for (int m = 0; m < kMediaKeyCount; ++m)
        if (kMediaKeys[static_cast<size_t>(m)].scanCode == code) return m;
    return -1;
}

} // namespace orvane
