// What the configuration transfer, the lighting model and the key tooltips
// ask of the main window. A transfer runs on a worker thread (the window
// keeps painting), so every call here may come from there: widget work is
// carried out on the GUI thread, waited for when the caller's next step
// depends on it, queued when it only shows something.
#include <mutex>

#include "device/DeviceCommands.h"
#include "device/ReportExchange.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/MainWindowIds.h"
#include "model/ConfigStore.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "transfer/ActiveProfile.h"
#include "transfer/DeviceInfo.h"
#include "transfer/LightingReadBack.h"
#include "ui/PngButton.h"

namespace orvane {

void COrvaneDlg::SetApplyPending(bool pending) {
    m_applyPending.store(pending ? 1 : 0);
    // Apply is enabled exactly while something waits to be sent.
    ShowOnGuiThread(
        [this] {
            if (CPngButton* apply = Button(IDC_APPLY)) apply->setEnabled(m_applyPending.load() != 0);
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::SetLightingPanelDefaults() {
    RunOnGuiThread(
        [this] {
            if (m_parts.setPanelDefaults) m_parts.setPanelDefaults();
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::RefillColourSets() {
    RunOnGuiThread(
        [this] {
            if (m_parts.refillColourSets) m_parts.refillColourSets();
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::SetProfileButtons(int profile) {
    ShowOnGuiThread(
        [this, profile] {
            for (int p = 0; p < PROFILE_COUNT; ++p)
                if (CPngButton* b = Button(IDC_PROFILE_1 + p)) b->SetChecked(p == profile, true);
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::PressProfileButton(int profile) {
    if (profile < 0 || profile >= PROFILE_COUNT) return;
    RunOnGuiThread(
        [this, profile] {
            SetCurrentProfile(profile);
            const LightingRead lighting = ReadLightingMeanwhile();
            if (m_shutdownDone) return; // the program was closed meanwhile
            const int read = TakeLightingRead(TheLighting(), lighting);
            if (DeviceOffersMode(kMaxLightingMode) && m_parts.refillColourSets) m_parts.refillColourSets();
            if (m_parts.refreshPanel) m_parts.refreshPanel();
            TellLightingUnread(read);
            if (TheLighting().SwitchOn()) TurnLightingSwitchOff();
        },
        m_bridge.Core()->Target());
    // The keyboard follows only when it is not on that profile already; an
    // Apply of unsent changes may come first, so the window keeps painting
    // meanwhile. Pressed by a transfer (restoring the defaults), the switch
    // is part of it, on its worker.
    int checked = -1;
    RunTransfer([&checked, profile] { checked = SwitchForProfileButton(profile); });
    ShowOnGuiThread(
        [this, checked] {
            if (m_shutdownDone) return; // the program was closed meanwhile
            if (checked >= 0) SetProfileButtons(checked);
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::TurnLightingSwitchOff() {
    RunOnGuiThread(
        [this] {
            if (m_parts.turnSwitchOff)
                m_parts.turnSwitchOff();
            else if (TheLighting().SwitchOn())
                TheLighting().SetLightingSwitch(false, *this, KeyLights());
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::TellLightingUnread(int status) {
    // A keyboard that went away meanwhile says so itself: the window goes with it.
    if (status != DEV_OK && g_DeviceOpen.load())
        Prompt().MessageBox(LightText("READ_FAILED"), std::string(), MB_OK | MB_ICONWARNING);
}

bool COrvaneDlg::ReselectActiveProfile() {
    const int profile = GetCurrentProfile();
    if (m_parts.selectProfile) return m_parts.selectProfile(profile) != 0;
    return SelectProfile(profile, false) != 0;
}

void COrvaneDlg::ShowSwitchImage(bool on) {
    RunOnGuiThread(
        [this, on] {
            if (m_parts.showSwitchImage) m_parts.showSwitchImage(on);
            if (on) ResumePreview();
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::ShowPanelControls(int mode) {
    RunOnGuiThread(
        [this, mode] {
            if (m_parts.showPanelControls) m_parts.showPanelControls(mode);
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::HidePanelControls() {
    RunOnGuiThread(
        [this] {
            if (m_parts.hidePanelControls) m_parts.hidePanelControls();
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::RefreshKeyTooltips() {
    const int profile = GetActiveProfile();
    std::lock_guard lock(ConfigStoreLock());
    ::orvane::RefreshKeyTooltips(KeyButtons(), profile, g_ConfigStore);
}

bool COrvaneDlg::GKeyBankSet() const {
    // Read where it is asked, without waiting for the GUI thread: the keyboard
    // read asks while it holds ConfigStoreLock, which a message handled on the
    // GUI thread meanwhile may be waiting for.
    return m_parts.keyButtons && m_parts.keyButtons->GKeyBankSet();
}

void COrvaneDlg::SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) {
    // Queued: the caller may hold ConfigStoreLock, which the GUI thread may be waiting for.
    ShowOnGuiThread(
        [this, controlId, text, checked] {
            if (m_parts.keyButtons) m_parts.keyButtons->SetKeyButtonTooltip(controlId, text, checked);
        },
        m_bridge.Core()->Target());
}

void COrvaneDlg::SetKeyLight(const KeyButton& button, Colour colour, bool lit) {
    if (m_parts.keyLights)
        m_parts.keyLights->SetKeyLight(button, colour, lit);
    else
        m_lightFrame.SetKeyLight(button, colour, lit);
}

} // namespace orvane
