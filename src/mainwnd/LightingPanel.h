#pragma once
// The lighting panel of the main window: the mode list, brightness and speed
// sliders, direction pictures, colour pickers and ticks, the option pictures,
// the per-key paint tools and colour sets of mode 20, the lighting switch,
// the RGB fields with their presets and the busy picture. Every change goes
// to the keyboard at once through the lighting model; the panel shows the
// controls of the current mode only, and none while the lighting is off.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <QString>
#include <string>

#include "mainwnd/PanelBitmaps.h"
#include "model/LightingModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace orvane {

class CBitmapSlider;
class CKeyboardView;
class CPictureStatic;
class CPngButton;
class CSkinColorBtn;
class ColorStatic;

// Tells the user the keyboard did not take a lighting change (not when the
// keyboard is gone). GUI thread.
void TellLightingRefused();

class CLightingPanel final : public CLightingHost {
  public:
    // Control ids of the panel.
    enum : int {
        ModeList = 1146,
        BrightnessSlider = 1178,
        SpeedSlider = 1179,
        DirectionFirst = 1149,
        DirectionSecond = 1150,
        StaticPicker = 1152,
        StaticTick = 1175,
        Picker = 1155,
        Tick = 1156,
        ThirdPicker = 1158,
        SecondPicker = 1187,
        SecondTick = 1188,
        ThirdColourPicker = 1191,
        ThirdTick = 1192,
        OptionCFirst = 1183,
        OptionCSecond = 1180,
        OptionBFirst = 1194, // 1194-1197
        OwnPaintPicker = 1160,
        LinkedPaintPicker = 1162,
        ToolFirst = 1164,
        ToolSecond = 1165,
        ColourSets = 1198,
        Switch = 1167,
        RedEdit = 1208,     // 1208-1210
        PresetFirst = 1211, // 1211-1218
        Busy = 1177,
        BrightnessValue = 1222, // the sliders' positions as numbers
        SpeedValue = 1223,
    };

    // Creates and places every control of the panel on `window`; the key
    // picture shows the preview and the painted colours.
    CLightingPanel(QWidget* window, CKeyboardView& keys, const std::string& skinFile,
                   const std::string& skinFolder, CLightingModel& lighting = TheLighting());
    ~CLightingPanel() override;
    CLightingPanel(const CLightingPanel&) = delete;
    CLightingPanel& operator=(const CLightingPanel&) = delete;

    // ------------------------------------------------------ window's calls
    // After every read of the lighting records: the panel shows the decoded
    // settings of the current profile.
    void RefreshLightingPanel();
    // UM_SLIDER: wParam the slider's id, lParam its position.
    intptr_t OnSliderMessage(uintptr_t controlId, intptr_t position);
    // UM_COLOUR_CHOSEN: wParam the picker's id, lParam the colour.
    intptr_t OnColourMessage(uintptr_t controlId, intptr_t colour);
    // The labels' texts (UM_LANG) and the mode names.
    void ApplyTexts(int languageIndex);
    // What the configuration transfer asks of the panel.
    void SetLightingPanelDefaults();
    void RefillColourSets();
    void TurnLightingSwitchOff();
    // Busy picture of the transfers; frame 1-10 of its animation.
    void ShowBusyIndicator(bool shown);
    void ShowBusyFrame(int frame);
    // The window's report-rate buttons (option A), which the refresh checks.
    void SetReportRateButtons(const std::array<CPngButton*, 4>& buttons) { m_reportRate = buttons; }
    void OnReportRateClicked(int value);
    // Selects the keyboard's active profile again before the lighting is
    // switched on; true on success.
    void SetReselectActiveProfile(std::function<bool()> reselect) { m_reselect = std::move(reselect); }

    // Takes the lighting switch's host calls instead of the panel itself, so
    // the window learns of the switch (its preview timer follows it).
    void SetLightingHost(CLightingHost* host) { m_host = host; }

    // ------------------------------------------------------- control events
    // A click on a panel picture or a report-rate button, by control id.
    void OnCommand(int controlId);
    void OnModeSelected(int position);
    void OnDirectionClicked(bool first);
    void OnPickerColour(int controlId, uint32_t colour);
    void OnTickClicked(int controlId);
    void OnOptionBClicked(int value);
    void OnPaintToolClicked(int tool);
    void OnColourSetSelected(int position);
    void OnColourSetRenamed(const QString& name);
    void OnSwitchClicked();
    void OnRgbEdited(int channel);
    // Enter or leaving a field: the three fields' colour is applied.
    void OnRgbEntered();
    void OnPresetClicked(int index);
    // The lighting changes on their way have all been answered; `status` is
    // the first failing one's, or 1.
    void OnChangesAnswered(int status);

    // ------------------------------------------------------------- access
    // The mode the list's selection stands for, -1 without a selection.
    int ListMode() const;
    QWidget* Control(int controlId) const;
    CPictureStatic* Picture(int controlId) const;
    CSkinColorBtn* ColourPicker(int controlId) const;
    CBitmapSlider* Slider(int controlId) const;
    QComboBox* ModeCombo() const { return m_modeList; }
    QComboBox* SetCombo() const { return m_sets; }
    QLineEdit* RgbEdit(int channel) const { return m_rgb[static_cast<size_t>(channel)]; }
    const CPanelBitmaps& Bitmaps() const { return m_bitmaps; }

    // CLightingHost
    bool ReselectActiveProfile() override;
    void ShowSwitchImage(bool on) override;
    void ShowPanelControls(int mode) override;
    void HidePanelControls() override;
    void RefreshKeyTooltips() override;

  private:
    void CreateControls();
    CLightingHost& Host() { return m_host ? *m_host : *this; }
    template <class T> T* Add(T* control, int controlId, const char* skinKey);
    void ShowPicture(int controlId, const std::string& name);
    void ShowTick(int controlId, bool ticked);
    void ShowDirection(int mode);
    void ShowOptionB(int value);
    void ShowPaintTool(int tool);
    void ShowSliders();
    void ShowColourSetList();
    void FillModeList();
    void SetRgbFields(Colour colour);
    // The fields, pickers and ticks after a single colour was applied.
    void ShowSingleColour(Colour colour);
    void ShowSliderValue(int sliderId, int position);
    void SetRgbGroupShown(bool shown);

    QWidget* m_window;
    CKeyboardView& m_keys;
    std::string m_skinFile;
    CLightingModel& m_lighting;
    CPanelBitmaps m_bitmaps;
    std::map<int, QWidget*> m_controls; // owned by the window
    QComboBox* m_modeList = nullptr;
    QComboBox* m_sets = nullptr;
    std::array<QLineEdit*, 3> m_rgb{};
    QLabel* m_busy = nullptr;
    std::array<CPngButton*, 4> m_reportRate{};
    std::function<bool()> m_reselect;
    CLightingHost* m_host = nullptr;
    std::unique_ptr<QObject> m_arrowFilter;
    int m_filling = 0; // > 0 while the panel itself sets its controls
};

} // namespace orvane
