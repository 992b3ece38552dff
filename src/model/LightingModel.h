#pragma once
// The lighting of the current profile as the program holds it: the copy of
// the keyboard's three lighting records, the decoded settings, the mode list,
// the lighting switch, the per-key colours with their paint flags and the
// paint colours, and the preview. Every change of a value is sent to the
// keyboard at once, as only the bytes that changed, inside one begin/end
// bracket; the program's copy takes a change only once the keyboard has.
// User-interface thread only (a sender may carry the writes elsewhere).
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "model/LightingChange.h"
#include "model/LightingPort.h"
#include "model/LightingRecord.h"
#include "model/Preview.h"
#include "model/PreviewLights.h"
#include "platform/WriteResult.h"

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
// per-user data files); `set` is the profile's colour set in use. The model
// tells the user about a write the store could not make.
struct PaintedKey {
    int led = 0;
    Colour colour = 0;
    int flag = 0;
};

class CPaintStore {
  public:
    virtual ~CPaintStore() = default;
    virtual WriteResult WriteKeyColour(int profile, int set, int led, Colour colour, int flag) = 0;
    // The paint settings, then the entries of `keys`, as one change.
    virtual WriteResult WritePaintSettings(int profile, int set, int tool, Colour linkedColour,
                                           Colour ownColour, std::span<const PaintedKey> keys) = 0;
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
    // The settings as the keyboard took them.
    const CLightingSettings& Settings() const { return m_settings; }
    CLightingSettings& Settings() { return m_settings; }
    // The settings as last asked for: Settings() with the changes still on
    // their way applied; the next change builds on these.
    const CLightingSettings& Wanted() const { return m_outstanding > 0 ? m_wanted : m_settings; }
    // The profile the lighting commands address, -1 when the port gives none of 0-2.
    int CurrentProfile() const;

    // ------------------------------------------------ value changes (panel)
    // Each sends one bracket and returns the first failing status of its
    // commands, or 1; a change that needs no write returns 1 without sending.
    // Through a sender a change returns 1 once it is on its way; its result
    // reaches the burst listener.
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
    // Writes the listed fields (at most two) of the current profile's record
    // in one bracket; `pair`: the colourful flag's pair follows the flag.
    using FieldWrite = orvane::FieldWrite;
    int WriteFields(std::initializer_list<FieldWrite> fields, bool pair = false);

    // Where changes go: nullptr (the default) sends each at once on the
    // calling thread. The sender must outlive its use here.
    void SetSender(CLightingSender* sender);
    // Called when the last change on its way has been answered, with the
    // first failing status of the changes since the previous call, or 1.
    void SetBurstListener(std::function<void(int status)> listener) { m_burstListener = std::move(listener); }
    bool ChangesOutstanding() const { return m_outstanding > 0; }
    // Counts the changes the keyboard took into the records; a read of the
    // records made while it moved may predate one of them.
    uint64_t ChangesTaken() const { return m_changesTaken; }

    // ------------------------------------------------------ switch, preview
    bool SwitchOn() const { return m_switchOn; }
    // A switch that could not be stored in the settings file still changes;
    // the user is told it will not be remembered.
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

    // Told, on this thread, the failing status of a per-key colour write the
    // keyboard refused.
    using Refused = std::function<void(int status)>;
    // Paints one key in mode 20 with the current tool; 1 when the keyboard
    // took it (through a sender: when it is on its way), kLightingNothingToSend
    // when nothing was to be done, otherwise the failing status. The key shows
    // and keeps its colour only once the keyboard has taken it; a refusal
    // reaches `refused` as well.
    int PaintKey(const KeyButton& button, CKeyLights& lights, Refused refused = {});
    void ChangeOwnPaintColour(Colour colour);
    // A new linked colour recolours every linked key of the current profile
    // and sends the profile's whole colour table; refused, the keys and the
    // table take their colours from before again, and the file and the linked
    // colour never changed.
    int ChangeLinkedPaintColour(Colour colour, CKeyLights& lights, Refused refused = {});
    // Sends `profile`'s whole colour table as it is now; 1 once on its way
    // through a sender, else the status (a refusal reaches `refused` too).
    int SendKeyColourTable(int profile, Refused refused = {});
    void SelectPaintTool(int tool);
    // Every key button shows its per-key colour of the current profile.
    void ShowKeyColours(CKeyLights& lights) const;
    // Paint flag 1 exactly for the keys whose colour equals the linked colour.
    void RelinkPaintFlags();

  private:
    // The first `count` fields of `change`, taken by the keyboard, into `s`.
    static void ApplyFields(const LightingChange& change, size_t count, CLightingSettings& s);
    void TakeResult(const LightingChange& change, const LightingResult& result);
    // Sends a bracket of per-key colour writes through the sender (at once
    // without one) and runs `take` with its result on this thread; returns
    // the status without a sender, 1 once on its way.
    int SendKeyColourWrites(CLightingSender::Writes writes, CLightingSender::Done take);
    // Stores the paint settings and `keys`, telling the user when it failed.
    void WritePaintSettings(std::span<const PaintedKey> keys = {});
    bool ReadSwitchSetting() const;
    WriteResult WriteSwitchSetting(bool on) const;

    CLightingPort& m_port;
    std::array<uint8_t, kLightingAreaSize> m_area{};
    CModeList m_modes;
    CLightingSettings m_settings;
    CLightingSettings m_wanted; // while m_outstanding > 0
    CLightingSender* m_sender = nullptr;
    std::function<void(int)> m_burstListener;
    int m_outstanding = 0; // changes sent and not yet answered
    uint64_t m_changesTaken = 0;
    int m_burstStatus = 1;
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
