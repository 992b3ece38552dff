// What each lighting-panel control does when the user changes it. Every
// change reaches the keyboard through the lighting model, one bracket each,
// off the window's thread; the controls show what was asked for at once.
// When the changes on their way have all been answered and one of them was
// refused, the panel shows again what the keyboard holds and the user is
// told once, however many slider steps went wrong.
#include <algorithm>
#include <array>
#include <QComboBox>
#include <QLineEdit>

#include "device/ReportExchange.h"
#include "mainwnd/KeyboardView.h"
#include "mainwnd/LightingPanel.h"
#include "mainwnd/LightingPanelModes.h"
#include "mainwnd/PictureStatic.h"
#include "model/UserData.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "services/WindowMessages.h"
#include "ui/BitmapSlider.h"
#include "ui/PngButton.h"
#include "ui/SkinColorBtn.h"

namespace orvane {

namespace {
constexpr int kSliderMax = 5;
constexpr int kPaintMode = 20;

// Option A's four report-rate buttons, in value order.
int ReportRateIndex(int controlId) {
    constexpr int kIds[4] = {1147, 1168, 1169, 1170};
    for (int i = 0; i < 4; ++i)
        if (kIds[i] == controlId) return i;
    return -1;
}
} // namespace

void CLightingPanel::OnCommand(int id) {
    if (id == DirectionFirst || id == DirectionSecond)
        OnDirectionClicked(id == DirectionFirst);
    else if (id == Tick || id == StaticTick)
        OnTickClicked(id);
    else if (id >= OptionBFirst && id < OptionBFirst + 4)
        OnOptionBClicked(id - OptionBFirst);
    else if (id == ToolFirst || id == ToolSecond)
        OnPaintToolClicked(id - ToolFirst);
    else if (id == Switch)
        OnSwitchClicked();
    else if (id >= PresetFirst && id < PresetFirst + kPresetColourCount)
        OnPresetClicked(id - PresetFirst);
    else if (const int rate = ReportRateIndex(id); rate >= 0)
        OnReportRateClicked(rate);
}

void CLightingPanel::OnModeSelected(int position) {
    if (m_filling) return;
    const int mode = m_lighting.Modes().ModeAt(position);
    if (mode < 0) return;
    m_keys.ClearPreview();
    if (mode == kUnsentMode) {
        // Nothing is sent and the current mode stays; only the list shows.
        ShowPanelControls(mode);
        return;
    }
    ShowDirection(mode);
    m_lighting.ChangeMode(mode, m_keys);
    ShowPanelControls(mode);
}

intptr_t CLightingPanel::OnSliderMessage(uintptr_t controlId, intptr_t position) {
    if (position < 0 || position > kSliderMax) return 0;
    const int p = static_cast<int>(position);
    ShowSliderValue(static_cast<int>(controlId), p);
    if (controlId == BrightnessSlider) {
        Slider(BrightnessSlider)->SetImage(m_bitmaps.Get(BrightnessPicture(p)));
        m_lighting.ChangeBrightness(p); // sends only a new value
    } else if (controlId == SpeedSlider) {
        Slider(SpeedSlider)->SetImage(m_bitmaps.Get(SpeedPicture(p)));
        m_lighting.ChangeSpeed(kSliderMax - p);
    }
    return 0;
}

intptr_t CLightingPanel::OnColourMessage(uintptr_t controlId, intptr_t colour) {
    OnPickerColour(static_cast<int>(controlId), static_cast<uint32_t>(colour) & 0xFFFFFF);
    return 0;
}

void CLightingPanel::OnDirectionClicked(bool first) {
    // Sent even when unchanged: the keyboard restarts the effect from its edge.
    m_lighting.ChangeDirection(first ? 255 : 0);
    const DirectionPictures pictures = DirectionPicturesFor(m_lighting.Wanted().mode, first ? 255 : 0);
    ShowPicture(DirectionFirst, pictures.first);
    ShowPicture(DirectionSecond, pictures.second);
}

void CLightingPanel::OnPickerColour(int controlId, uint32_t colour) {
    // The RGB fields show the colour last chosen, from a preset or a picker.
    const std::array<int, 4> takesInput = {StaticPicker, Picker, OwnPaintPicker, LinkedPaintPicker};
    if (std::find(takesInput.begin(), takesInput.end(), controlId) != takesInput.end()) SetRgbFields(colour);
    switch (controlId) {
    case StaticPicker:
        m_lighting.ChooseColour(colour, true);
        ColourPicker(Picker)->SetColor(colour);
        break;
    case Picker:
        m_lighting.ChooseColour(colour, false);
        ColourPicker(StaticPicker)->SetColor(colour);
        break;
    case OwnPaintPicker:
        m_lighting.ChangeOwnPaintColour(colour);
        return;
    case LinkedPaintPicker:
        m_lighting.ChangeLinkedPaintColour(colour, m_keys, [this](int) {
            ColourPicker(LinkedPaintPicker)->SetColor(m_lighting.LinkedPaintColour());
            TellLightingRefused();
        });
        return;
    default:
        return; // the pickers no mode shows take no input
    }
    ShowTick(Tick, false);
    ShowTick(StaticTick, false);
}

void CLightingPanel::OnTickClicked(int controlId) {
    if (controlId != Tick && controlId != StaticTick) return;
    m_lighting.ToggleColourful(controlId == StaticTick);
    const bool on = m_lighting.Wanted().colourful != 0;
    ShowTick(Tick, on);
    ShowTick(StaticTick, on);
}

void CLightingPanel::OnOptionBClicked(int value) {
    if (value < 0 || value > 3) return;
    m_lighting.ChangeOptionB(value);
    ShowOptionB(value);
}

void CLightingPanel::OnReportRateClicked(int value) {
    if (value < 0 || value >= static_cast<int>(m_reportRate.size())) return;
    m_lighting.ChangeOptionA(value);
    for (size_t i = 0; i < m_reportRate.size(); ++i)
        if (m_reportRate[i]) m_reportRate[i]->SetChecked(static_cast<int>(i) == value, true);
}

void CLightingPanel::OnPaintToolClicked(int tool) {
    if (tool != 0 && tool != 1) return;
    m_lighting.SelectPaintTool(tool);
    ShowPaintTool(tool);
}

void CLightingPanel::OnColourSetSelected(int position) {
    if (m_filling) return;
    const int p = m_lighting.CurrentProfile();
    if (p < 0 || position < 0) return;
    // The set stays chosen, as its file says; the keyboard gets its colours
    // again with the next set chosen or the next connection.
    SelectColourSet(p, position, true, m_lighting, [](int) { TellLightingRefused(); });
    ShowColourSetList();
    m_lighting.ShowKeyColours(m_keys);
}

void CLightingPanel::OnColourSetRenamed(const QString& name) {
    if (m_filling) return;
    const int p = m_lighting.CurrentProfile();
    if (p < 0) return;
    RenameColourSet(p, name.toStdString(), m_lighting);
    const int set = m_lighting.ColourSetInUse(p);
    if (set < m_sets->count()) {
        // Replacing the entry must not move the cursor the user types at.
        QLineEdit* edit = m_sets->lineEdit();
        const int cursor = edit->cursorPosition();
        ++m_filling;
        m_sets->setItemText(set, name);
        edit->setText(name);
        edit->setCursorPosition(cursor);
        --m_filling;
    }
}

void CLightingPanel::OnChangesAnswered(int status) {
    if (status == 1) return;
    RefreshLightingPanel();
    // The preview may have been cleared for a mode the keyboard never took.
    m_keys.ClearPreview();
    if (m_lighting.SwitchOn() && m_lighting.Settings().mode == kPaintMode) m_lighting.ShowKeyColours(m_keys);
    TellLightingRefused();
}

void TellLightingRefused() {
    // A keyboard that went away meanwhile says so itself: the window goes with it.
    if (g_DeviceOpen.load())
        Prompt().MessageBox(LightText("WRITE_REFUSED"), std::string(), MB_OK | MB_ICONWARNING);
}

void CLightingPanel::OnSwitchClicked() {
    m_lighting.SetLightingSwitch(!m_lighting.SwitchOn(), Host(), m_keys);
    // The preview draws nothing in mode 20: the painted colours show at once.
    if (m_lighting.SwitchOn() && m_lighting.Settings().mode == kPaintMode) m_lighting.ShowKeyColours(m_keys);
}

void CLightingPanel::TurnLightingSwitchOff() {
    if (m_lighting.SwitchOn()) m_lighting.SetLightingSwitch(false, Host(), m_keys);
}

void CLightingPanel::OnRgbEdited(int channel) {
    if (m_filling || channel < 0 || channel > 2) return;
    QLineEdit* edit = m_rgb[static_cast<size_t>(channel)];
    bool rewrite = false;
    const int value = ClampColourField(edit->text().toStdString().c_str(), &rewrite);
    if (!rewrite) return;
    ++m_filling;
    edit->setText(QString::number(value));
    edit->setModified(true); // still typed, so Enter applies it
    --m_filling;
}

void CLightingPanel::OnRgbEntered() {
    if (m_filling || std::none_of(m_rgb.begin(), m_rgb.end(), [](QLineEdit* e) { return e->isModified(); }))
        return;
    int channels[3];
    for (size_t c = 0; c < 3; ++c) {
        channels[c] = ClampColourField(m_rgb[c]->text().toStdString().c_str(), nullptr);
        m_rgb[c]->setModified(false);
    }
    const Colour colour = MakeColour(static_cast<uint8_t>(channels[0]), static_cast<uint8_t>(channels[1]),
                                     static_cast<uint8_t>(channels[2]));
    m_lighting.ApplySingleColour(colour);
    ShowSingleColour(colour);
}

void CLightingPanel::OnPresetClicked(int index) {
    if (index < 0 || index >= kPresetColourCount) return;
    m_lighting.ApplyPresetColour(index);
    ShowSingleColour(kPresetColours[static_cast<size_t>(index)]);
}

void CLightingPanel::ShowSingleColour(Colour colour) {
    SetRgbFields(colour);
    // The model takes the colour as the single colour, so the pickers do too.
    ColourPicker(Picker)->SetColor(colour);
    ColourPicker(StaticPicker)->SetColor(colour);
    ShowTick(Tick, false);
    ShowTick(StaticTick, false);
}

} // namespace orvane
