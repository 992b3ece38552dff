// Lighting records and the value changes of the lighting panel: each change
// is sent as only the bytes that changed, at current profile x 42 + field
// offset, inside one begin/end bracket.
#include "model/LightingModel.h"

#include <algorithm>

namespace orvane {

namespace f = lighting_field;

CLightingModel::CLightingModel(CLightingPort& port) : m_port(port) {}

CLightingModel& TheLighting() {
    static CLightingModel lighting;
    return lighting;
}

void CLightingModel::SetLightingArea(std::span<const uint8_t> area) {
    std::copy_n(area.begin(), std::min(area.size(), m_area.size()), m_area.begin());
}

void CLightingModel::SetDeviceModes(std::span<const uint8_t> slots) {
    m_modes.Build(slots.data(), slots.size());
}

int CLightingModel::CurrentProfile() const {
    int p = m_port.CurrentProfile();
    return p >= 0 && p < kLightingProfileCount ? p : -1;
}

bool CLightingModel::DecodeCurrentProfile(SwitchFromSettings rule) {
    const int p = CurrentProfile();
    if (p < 0) return false;
    DecodeLightingRecord(m_area.data() + static_cast<size_t>(p) * kLightingRecordSize, kLightingRecordSize,
                         m_settings);
    const bool stored = ReadSwitchSetting();
    if (stored)
        m_switchOn = true;
    else if (rule == SwitchFromSettings::ExactlyStored)
        m_switchOn = false;
    return true;
}

int CLightingModel::WriteFields(std::initializer_list<FieldWrite> fields) {
    const int p = CurrentProfile();
    if (p < 0) return 0;
    const size_t base = static_cast<size_t>(p) * kLightingRecordSize;
    m_port.BeginSession();
    int result = 1;
    for (const FieldWrite& w : fields) {
        if (w.count == 0 || w.offset + w.count > kLightingRecordSize) continue;
        // Keep the copy of the record in step with what the keyboard is told.
        std::copy_n(w.bytes.begin(), w.count, m_area.begin() + static_cast<std::ptrdiff_t>(base + w.offset));
        int r = m_port.WriteLighting(std::span<const uint8_t>(w.bytes.data(), w.count),
                                     static_cast<uint16_t>(base + w.offset));
        if (r != 1 && result == 1) result = r;
    }
    m_port.EndSession();
    return result;
}

int CLightingModel::ChangeMode(int mode, CKeyLights& lights) {
    CPreview::ClearPreview(lights);
    int result = 1;
    switch (mode) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 7:
    case 8:
    case 9:
    case 13:
    case 14:
    case 15:
        result = WriteFields({FieldWrite::Byte(f::Mode, static_cast<uint8_t>(mode)),
                              FieldWrite::Byte(f::Colourful, m_settings.colourful)});
        break;
    case 4:
    case 6:
    case 10:
    case 11:
    case 12:
    case 16:
    case 17:
    case 18:
        result = WriteFields({FieldWrite::Byte(f::Mode, static_cast<uint8_t>(mode))});
        break;
    case 20:
        result = WriteFields({FieldWrite::Byte(f::Mode, 20)});
        ShowKeyColours(lights);
        break;
    default:
        break; // mode 19 and unknown modes are not sent
    }
    if (mode >= 0 && mode <= 255) m_settings.mode = static_cast<uint8_t>(mode);
    m_preview.MarkStale();
    return result;
}

int CLightingModel::ChangeBrightness(int brightness) {
    if (brightness < 0 || brightness > 255 || brightness == m_settings.brightness) return 1;
    m_settings.brightness = static_cast<uint8_t>(brightness);
    return WriteFields({FieldWrite::Byte(f::Brightness, m_settings.brightness)});
}

int CLightingModel::ChangeSpeed(int speed) {
    if (speed < 0 || speed > 255 || speed == m_settings.speed) return 1;
    m_settings.speed = static_cast<uint8_t>(speed);
    return WriteFields({FieldWrite::Byte(f::Speed, m_settings.speed)});
}

int CLightingModel::ChangeDirection(uint8_t direction) {
    // Written even when unchanged: the direction buttons always send.
    m_settings.direction = direction;
    return WriteFields({FieldWrite::Byte(f::Direction, direction)});
}

int CLightingModel::ChooseColour(Colour colour, bool staticPicker) {
    colour &= 0xFFFFFF;
    m_settings.colourful = 0;
    if (staticPicker) m_settings.colourfulPair = 0;
    m_settings.previewColour = m_settings.pickerColour = m_settings.staticPickerColour = colour;
    return WriteFields({FieldWrite::Byte(f::Colourful, 0), FieldWrite::Rgb(f::Colour, colour)});
}

int CLightingModel::ToggleColourful(bool pair) {
    m_settings.colourful = m_settings.colourful ? 0 : 1;
    if (pair) m_settings.colourfulPair = m_settings.colourfulPair ? 0 : 1;
    return WriteFields({FieldWrite::Byte(f::Colourful, m_settings.colourful)});
}

int CLightingModel::ChangeOptionA(int value) {
    if (value < 0 || value > 3) return 0;
    m_settings.optionA = static_cast<uint8_t>(value);
    return WriteFields({FieldWrite::Byte(f::OptionA, m_settings.optionA)});
}

int CLightingModel::ChangeOptionB(int value) {
    if (value < 0 || value > 3) return 0;
    m_settings.optionB = static_cast<uint8_t>(value);
    return WriteFields({FieldWrite::Byte(f::OptionB, m_settings.optionB)});
}

int CLightingModel::ApplyPresetColour(int index) {
    if (index < 0 || index >= kPresetColourCount) return 0;
    return ApplySingleColour(kPresetColours[static_cast<size_t>(index)]);
}

int CLightingModel::ApplySingleColour(Colour colour) {
    const Colour c = colour & 0xFFFFFF;
    // The keyboard now shows this colour as a single colour; so does the
    // preview, as after choosing it on a picker.
    m_settings.colourful = 0;
    m_settings.previewColour = m_settings.pickerColour = m_settings.staticPickerColour = c;
    return WriteFields({FieldWrite::Byte(f::Colourful, 0), FieldWrite::Rgb(f::Colour, c)});
}

PreviewParams CLightingModel::CurrentPreviewParams() const {
    return {m_settings.mode,          m_settings.colourful != 0, m_settings.direction,
            m_settings.previewColour, m_settings.brightness,     m_settings.speed};
}

} // namespace orvane
