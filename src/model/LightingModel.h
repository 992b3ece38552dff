#pragma once
// The lighting of the current profile as the program holds it: the copy of
// the keyboard's three lighting records, the decoded settings, the mode list,
// the lighting switch, the per-key colours with their paint flags and the
// paint colours, and the preview. Every change of a value is sent to the
// keyboard at once, as only the bytes that changed, inside one begin/end
// bracket. User-interface thread only.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

#include "model/LightingPort.h"
#include "model/LightingRecord.h"
#include "model/Preview.h"
#include "model/PreviewLights.h"

namespace orvane {

class MainWindowLink;

// What the lighting switch changes on the main window; the main window
// implements it.
class CLightingHost {
  public:
    virtual ~CLightingHost() = default;
    // Selects the keyboard's active profile again; true on success.
    virtual bool ReselectActiveProfile() = 0;
    virtual void ShowSwitchImage(bool on) = 0;
    // Shows the lighting panel controls of `mode` and hides the others.
    virtual void ShowPanelControls(int mode) = 0;
    virtual void HidePanelControls() = 0;
    // The key buttons show their key assignments again.
    virtual void RefreshKeyTooltips() = 0;
};

// Where painted colours and the paint settings are kept between runs (the
// per-user data files); `set` is the profile's colour set in use.
struct PaintedKey {
    int led = 0;
    Colour colour = 0;
    int flag = 0;
};

class CPaintStore {
  public:
    virtual ~CPaintStore() = default;
    virtual void WriteKeyColour(int profile, int set, int led, Colour colour, int flag) = 0;
    // The paint settings, then the entries of `keys`, as one change.
    virtual void WritePaintSettings(int profile, int set, int tool, Colour linkedColour, Colour ownColour,
                                    std::span<const PaintedKey> keys) = 0;
};

constexpr size_t kKeyColourTableSize = 512; // per profile, LED i at 3i
constexpr int kLedOfFn = 110;
constexpr int kLedOfGKeys = 125;

// How the lighting switch follows the settings file when a record is decoded.
enum class SwitchFromSettings {
    OnlyTurnOn,   // "1" turns it on, anything else leaves it as it was
    ExactlyStored // after a connection: on exactly when "1"
};

class CLightingModel {
  public:
    explicit CLightingModel(CLightingPort& port = DeviceLightingPort());

    // ----------------------------------------------------- records, settings
    // Takes the keyboard's lighting area (up to 126 bytes; shorter leaves the
    // rest as it was) and its 32 mode slots.
    void SetLightingArea(std::span<const uint8_t> area);
    const std::array<uint8_t, kLightingAreaSize>& LightingArea() const { return m_area; }
    void SetDeviceModes(std::span<const uint8_t> slots);
    const CModeList& Modes() const { return m_modes; }
    // Decodes the current profile's record and reads the lighting switch from
    // the settings file; false when the current profile is not 0-2.
    bool DecodeCurrentProfile(SwitchFromSettings rule);
    const CLightingSettings& Settings() const { return m_settings; }
    CLightingSettings& Settings() { return m_settings; }
    // The profile the lighting commands address, -1 when the port gives none of 0-2.
    int CurrentProfile() const;

    // ------------------------------------------------ value changes (panel)
    // Each sends one bracket and returns the first failing write's status,
    // or 1; a change that needs no write returns 1 without sending.
    int ChangeMode(int mode, CKeyLights& lights);
    int ChangeBrightness(int brightness);
    int ChangeSpeed(int speed);
    int ChangeDirection(uint8_t direction);
    // A colour chosen on a picker: single colour from now on. `staticPicker`
    // is the picker of modes 6 and 16, which also clears the colourful pair.
    int ChooseColour(Colour colour, bool staticPicker);
    // Toggles the colourful flag (and its pair when `pair`).
    int ToggleColourful(bool pair);
    int ChangeOptionA(int value);
    int ChangeOptionB(int value);
    // One of the eight preset swatches.
    int ApplyPresetColour(int index);
    // A colour typed into the RGB fields, taken as a preset's is.
    int ApplySingleColour(Colour colour);
    // Writes the listed fields of the current profile's record in one bracket.
    struct FieldWrite {
        size_t offset = 0;
        uint8_t count = 0; // 1 or 3
        std::array<uint8_t, 3> bytes{};
        static FieldWrite Byte(size_t offset, uint8_t value) { return {offset, 1, {value, 0, 0}}; }
        static FieldWrite Rgb(size_t offset, Colour c) {
            return {offset, 3, {RedOf(c), GreenOf(c), BlueOf(c)}};
        }
    };
    int WriteFields(std::initializer_list<FieldWrite> fields);

    // ------------------------------------------------------ switch, preview
    bool SwitchOn() const { return m_switchOn; }
    void SetLightingSwitch(bool on, CLightingHost& host, CKeyLights& lights);
    // One tick of PREVIEW_TIMER: stops the timer, draws a frame when the
    // switch is on, starts the timer again for 50 ms.
    void OnPreviewTimer(MainWindowLink& link, CKeyLights& lights);
    CPreview& Preview() { return m_preview; }
    PreviewParams CurrentPreviewParams() const;
    void SetSettingsFile(std::string path) { m_settingsFile = std::move(path); }
    const std::string& SettingsFile() const;

    // ------------------------------------------------- per-key colours, paint
    void SetPaintStore(CPaintStore* store) { m_store = store; }
    std::span<uint8_t, kKeyColourTableSize> KeyColourTable(int profile);
    Colour KeyColour(int profile, int led) const;
    void SetKeyColour(int profile, int led, Colour colour);
    int PaintFlag(int profile, const KeyButton& button) const;
    void SetPaintFlag(int profile, const KeyButton& button, int flag);
    // LED index of a key button (G keys 125, Fn 110), -1 for none.
    static int LedOfButton(const KeyButton& button);

    Colour OwnPaintColour() const { return m_ownColour; }       // "color"
    Colour LinkedPaintColour() const { return m_linkedColour; } // "jcolor"
    int PaintTool() const { return m_tool; }
    void SetPaintSettings(int tool, Colour linked, Colour own);
    int ColourSetInUse(int profile) const;
    void SetColourSetInUse(int profile, int set);

    // Paints one key in mode 20 with the current tool; 1 when it was painted
    // and sent, 0 when nothing was to be done, otherwise the failing status.
    int PaintKey(const KeyButton& button, CKeyLights& lights);
    void ChangeOwnPaintColour(Colour colour);
    // A new linked colour recolours every linked key of the current profile
    // and sends the profile's whole colour table.
    int ChangeLinkedPaintColour(Colour colour, CKeyLights& lights);
    void SelectPaintTool(int tool);
    // Every key button shows its per-key colour of the current profile.
    void ShowKeyColours(CKeyLights& lights) const;
    // Paint flag 1 exactly for the keys whose colour equals the linked colour.
    void RelinkPaintFlags();

  private:
    void WritePaintSettings(std::span<const PaintedKey> keys = {});
    bool ReadSwitchSetting() const;
    void WriteSwitchSetting(bool on) const;

    CLightingPort& m_port;
    std::array<uint8_t, kLightingAreaSize> m_area{};
    CModeList m_modes;
    CLightingSettings m_settings;
    bool m_switchOn = false;
    CPreview m_preview;
    std::string m_settingsFile; // empty: the per-user settings file
    CPaintStore* m_store = nullptr;
    std::array<std::array<uint8_t, kKeyColourTableSize>, kLightingProfileCount> m_keyColours{};
    std::array<std::array<uint8_t, kKeyButtonCount>, kLightingProfileCount> m_paintFlags{};
    Colour m_ownColour = 0;
    Colour m_linkedColour = 0;
    int m_tool = 0;
    std::array<int, kLightingProfileCount> m_colourSet{};
};

// The lighting of this process.
CLightingModel& TheLighting();

} // namespace orvane
