#pragma once
// The keyboard's lighting record (42 bytes per profile, three in its lighting
// area) and the lighting settings of the current profile decoded from it.
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/LightingTables.h"

namespace orvane {

constexpr size_t kLightingRecordSize = 42;
constexpr size_t kLightingAreaSize = 3 * kLightingRecordSize;
constexpr int kLightingProfileCount = 3;
constexpr size_t kModeSlotCount = 32;
constexpr int kMaxLightingMode = 20;

// Byte offsets of the fields inside one record; unlisted bytes are carried.
namespace lighting_field {
constexpr size_t Mode = 0;
constexpr size_t Brightness = 1;
constexpr size_t Speed = 2;
constexpr size_t Direction = 3;
constexpr size_t Colourful = 4;
constexpr size_t Colour = 5; // red, green, blue
constexpr size_t OptionA = 15;
constexpr size_t OptionB = 17;
constexpr size_t Mode7Flag = 18;
constexpr size_t OptionC = 19;
constexpr size_t SecondColour = 25;
constexpr size_t SecondColourFlag = 28;
constexpr size_t ThirdColour = 30;
constexpr size_t ThirdColourFlag = 33;
constexpr size_t Trailer = 40; // two bytes
} // namespace lighting_field

struct CLightingSettings {
    uint8_t mode = 1;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t colourful = 0;     // 0 single colour, 1 colour wheel
    uint8_t colourfulPair = 0; // the second tick of the colourful pair (modes 6, 16)
    Colour previewColour = 0;
    Colour pickerColour = 0;       // the colour picker of most modes
    Colour staticPickerColour = 0; // the colour picker of modes 6 and 16
    Colour secondColour = 0;
    uint8_t secondColourFlag = 0;
    Colour thirdColour = 0;
    uint8_t thirdColourFlag = 0;
    uint8_t optionA = 0; // report rate, 0-3
    uint8_t optionB = 0; // 0-3
    uint8_t optionC = 0; // 0 or 1
    uint8_t mode7Flag = 0;
};

// Decodes one record into `settings`. Fields that the record leaves out of
// their range (option C, the mode-7 flag) keep their previous values. Returns
// false, leaving `settings` alone, when `size` is below one record.
bool DecodeLightingRecord(const uint8_t* record, size_t size, CLightingSettings& settings);

// The modes the keyboard offers, in its slot order: the lighting panel's mode
// list. Slots holding 0 or a mode above 20 get no entry.
class CModeList {
  public:
    void Build(const uint8_t* slots, size_t count);
    void Clear() { m_count = 0; }
    int Count() const { return m_count; }
    // Mode at list position `position`, -1 outside the list.
    int ModeAt(int position) const;
    // List position of `mode`, -1 when the keyboard does not offer it.
    int PositionOf(int mode) const;
    bool Offers(int mode) const { return PositionOf(mode) >= 0; }

  private:
    std::array<uint8_t, kModeSlotCount> m_modes{};
    int m_count = 0;
};

// The eight preset colours of the lighting panel, in swatch order.
constexpr int kPresetColourCount = 8;
extern const std::array<Colour, kPresetColourCount> kPresetColours;

// A colour edit field's text read as a decimal number and clamped to 0-255;
// `rewrite` tells whether the field must show the clamped value instead.
int ClampColourField(const char* text, bool* rewrite);

} // namespace orvane
