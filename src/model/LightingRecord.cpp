#include "model/LightingRecord.h"

#include <cctype>

namespace orvane {

namespace {

Colour ColourAt(const uint8_t* p) {
    return MakeColour(p[0], p[1], p[2]);
}

} // namespace

bool DecodeLightingRecord(const uint8_t* record, size_t size, CLightingSettings& s) {
    namespace f = lighting_field;
    if (record == nullptr || size < kLightingRecordSize) return false;
    s.mode = record[f::Mode];
    s.brightness = record[f::Brightness];
    s.speed = record[f::Speed];
    s.direction = record[f::Direction];
    s.optionB = record[f::OptionB];
    s.optionA = record[f::OptionA] > 3 ? 3 : record[f::OptionA];
    s.previewColour = s.pickerColour = s.staticPickerColour = ColourAt(record + f::Colour);
    if (s.mode == 7 && record[f::Mode7Flag] <= 1) s.mode7Flag = record[f::Mode7Flag];
    if (record[f::OptionC] <= 1) s.optionC = record[f::OptionC];
    s.colourful = record[f::Colourful] != 0 ? 1 : 0;
    s.secondColour = ColourAt(record + f::SecondColour);
    s.thirdColour = ColourAt(record + f::ThirdColour);
    s.secondColourFlag = record[f::SecondColourFlag] != 0 ? 1 : 0;
    s.thirdColourFlag = record[f::ThirdColourFlag] != 0 ? 1 : 0;
    return true;
}

void CModeList::Build(const uint8_t* slots, size_t count) {
    m_count = 0;
    if (slots == nullptr) return;
    for (size_t i = 0; i < count && i < kModeSlotCount; ++i)
        if (slots[i] != 0 && slots[i] <= kMaxLightingMode) m_modes[static_cast<size_t>(m_count++)] = slots[i];
}

int CModeList::ModeAt(int position) const {
    return position >= 0 && position < m_count ? m_modes[static_cast<size_t>(position)] : -1;
}

int CModeList::PositionOf(int mode) const {
    for (int i = 0; i < m_count; ++i)
        if (m_modes[static_cast<size_t>(i)] == mode) return i;
    return -1;
}

const std::array<Colour, kPresetColourCount> kPresetColours = {
    MakeColour(235, 99, 30), MakeColour(255, 0, 0),   MakeColour(0, 126, 255), MakeColour(90, 255, 0),
    MakeColour(234, 255, 0), MakeColour(255, 192, 0), MakeColour(255, 0, 180), MakeColour(174, 0, 255),
};

int ClampColourField(const char* text, bool* rewrite) {
    long value = 0;
    for (const char* p = text ? text : ""; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        if (value < 256) value = value * 10 + (*p - '0'); // stop growing once it must clamp
    }
    const bool clamp = value > 255;
    if (rewrite) *rewrite = clamp;
    return clamp ? 255 : static_cast<int>(value);
}

} // namespace orvane
