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

int CLightingModel::WriteFields(std::initializer_list<FieldWrite> fields, bool pair) {
    LightingChange change;
    change.profile = CurrentProfile();
    if (change.profile < 0 || fields.size() > change.fields.size()) return 0;
    std::copy(fields.begin(), fields.end(), change.fields.begin());
    change.count = fields.size();
    change.pair = pair;
    if (m_outstanding == 0) {
        m_wanted = m_settings;
        m_burstStatus = 1;
    }
    ApplyFields(change, change.count, m_wanted);
    ++m_outstanding;
    if (!m_sender) {
        const LightingResult result = SendLightingChange(m_port, change);
        TakeResult(change, result);
        return result.status;
    }
    m_sender->Send(change, [this, change](const LightingResult& result) { TakeResult(change, result); });
    return 1;
}

void CLightingModel::SetSender(CLightingSender* sender) {
    // Answers still owed by the old sender no longer come.
    m_sender = sender;
    m_outstanding = 0;
}

void CLightingModel::TakeResult(const LightingChange& change, const LightingResult& result) {
    if (result.status != kLightingSuperseded) {
        // Only what the keyboard acknowledged enters the copy.
        const size_t base = static_cast<size_t>(change.profile) * kLightingRecordSize;
        const size_t taken = std::min(result.taken, change.count);
        if (taken > 0) ++m_changesTaken;
        for (size_t i = 0; i < taken; ++i) {
            const FieldWrite& w = change.fields[i];
            std::copy_n(w.bytes.begin(), w.count,
                        m_area.begin() + static_cast<std::ptrdiff_t>(base + w.offset));
            if (w.offset == f::Mode) m_preview.MarkStale();
        }
        if (change.profile == CurrentProfile()) ApplyFields(change, taken, m_settings);
        if (result.status != 1 && m_burstStatus == 1) m_burstStatus = result.status;
    }
    if (m_outstanding > 0 && --m_outstanding == 0 && m_burstListener) m_burstListener(m_burstStatus);
}

void CLightingModel::ApplyFields(const LightingChange& change, size_t count, CLightingSettings& s) {
    for (size_t i = 0; i < count && i < change.fields.size(); ++i) {
        const FieldWrite& w = change.fields[i];
        const uint8_t v = w.bytes[0];
        switch (w.offset) {
        case f::Mode:
            s.mode = v;
            break;
        case f::Brightness:
            s.brightness = v;
            break;
        case f::Speed:
            s.speed = v;
            break;
        case f::Direction:
            s.direction = v;
            break;
        case f::Colourful:
            s.colourful = v ? 1 : 0;
            if (change.pair) s.colourfulPair = s.colourful;
            break;
        case f::Colour:
            if (w.count == 3)
                s.previewColour = s.pickerColour = s.staticPickerColour =
                    MakeColour(v, w.bytes[1], w.bytes[2]);
            break;
        case f::OptionA:
            s.optionA = v;
            break;
        case f::OptionB:
            s.optionB = v;
            break;
        default:
            break;
        }
    }
}

int CLightingModel::ChangeMode(int mode, CKeyLights& lights) {
    CPreview::ClearPreview(lights);
    int result = 1;
    bool sent = true;
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
                              FieldWrite::Byte(f::Colourful, Wanted().colourful)});
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
        sent = false; // mode 19 and unknown modes are not sent
        break;
    }
    if (!sent && mode >= 0 && mode <= 255) {
        // Nothing to send: the mode is the program's own choice at once.
        m_settings.mode = static_cast<uint8_t>(mode);
        m_wanted.mode = m_settings.mode;
    }
    m_preview.MarkStale();
    return result;
}

// Each change is judged against the settings as last asked for, so a value
// still on its way counts as the current one.
int CLightingModel::ChangeBrightness(int brightness) {
    if (brightness < 0 || brightness > 255 || brightness == Wanted().brightness) return 1;
    return WriteFields({FieldWrite::Byte(f::Brightness, static_cast<uint8_t>(brightness))});
}

int CLightingModel::ChangeSpeed(int speed) {
    if (speed < 0 || speed > 255 || speed == Wanted().speed) return 1;
    return WriteFields({FieldWrite::Byte(f::Speed, static_cast<uint8_t>(speed))});
}

int CLightingModel::ChangeDirection(uint8_t direction) {
    // Written even when unchanged: the direction buttons always send.
    return WriteFields({FieldWrite::Byte(f::Direction, direction)});
}

int CLightingModel::ChooseColour(Colour colour, bool staticPicker) {
    return WriteFields({FieldWrite::Byte(f::Colourful, 0), FieldWrite::Rgb(f::Colour, colour & 0xFFFFFF)},
                       staticPicker);
}

int CLightingModel::ToggleColourful(bool pair) {
    return WriteFields({FieldWrite::Byte(f::Colourful, Wanted().colourful ? 0 : 1)}, pair);
}

int CLightingModel::ChangeOptionA(int value) {
    if (value < 0 || value > 3) return 0;
    return WriteFields({FieldWrite::Byte(f::OptionA, static_cast<uint8_t>(value))});
}

int CLightingModel::ChangeOptionB(int value) {
    if (value < 0 || value > 3) return 0;
    return WriteFields({FieldWrite::Byte(f::OptionB, static_cast<uint8_t>(value))});
}

int CLightingModel::ApplyPresetColour(int index) {
    if (index < 0 || index >= kPresetColourCount) return 0;
    return ApplySingleColour(kPresetColours[static_cast<size_t>(index)]);
}

int CLightingModel::ApplySingleColour(Colour colour) {
    // Once taken, the preview shows it as a single colour, as after choosing
    // it on a picker.
    return WriteFields({FieldWrite::Byte(f::Colourful, 0), FieldWrite::Rgb(f::Colour, colour & 0xFFFFFF)});
}

PreviewParams CLightingModel::CurrentPreviewParams() const {
    return {m_settings.mode,          m_settings.colourful != 0, m_settings.direction,
            m_settings.previewColour, m_settings.brightness,     m_settings.speed};
}

} // namespace orvane
