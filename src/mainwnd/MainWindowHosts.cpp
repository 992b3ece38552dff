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
    OnGuiThread(
        [this] {
            if (CPngButton* apply = Button(IDC_APPLY)) apply->setEnabled(m_applyPending.load() != 0);
        },
        false);
}

void COrvaneDlg::SetLightingPanelDefaults() {
    OnGuiThread(
        [this] {
            if (m_parts.setPanelDefaults) m_parts.setPanelDefaults();
        },
        true);
}

void COrvaneDlg::RefillColourSets() {
    OnGuiThread(
        [this] {
            if (m_parts.refillColourSets) m_parts.refillColourSets();
        },
        true);
}

void COrvaneDlg::SetProfileButtons(int profile) {
    OnGuiThread(
        [this, profile] {
            for (int p = 0; p < PROFILE_COUNT; ++p)
                if (CPngButton* b = Button(IDC_PROFILE_1 + p)) b->SetChecked(p == profile, true);
        },
        false);
}

void COrvaneDlg::PressProfileButton(int profile) {
    if (profile < 0 || profile >= PROFILE_COUNT) return;
    OnGuiThread(
        [this, profile] {
            SetCurrentProfile(profile);
            const LightingRead lighting = ReadLightingMeanwhile();
            if (m_shutdownDone) return; // the program was closed meanwhile
            const int read = TakeLightingRead(TheLighting(), lighting);
            if (DeviceOffersMode(kMaxLightingMode) && m_parts.refillColourSets) m_parts.refillColourSets();
            if (m_parts.refreshPanel) m_parts.refreshPanel();
            TellLightingUnread(read);
            if (TheLighting().SwitchOn()) TurnLightingSwitchOff();
            // The keyboard follows only when it is not on that profile
            // already; an Apply of unsent changes may come first, so the
            // window keeps painting meanwhile.
            int checked = -1;
            RunTransfer([&checked, profile] { checked = SwitchForProfileButton(profile); });
            if (m_shutdownDone) return; // the program was closed meanwhile
            if (checked >= 0) SetProfileButtons(checked);
        },
        true);
}

void COrvaneDlg::TurnLightingSwitchOff() {
    OnGuiThread(
        [this] {
            if (m_parts.turnSwitchOff)
                m_parts.turnSwitchOff();
            else if (TheLighting().SwitchOn())
                TheLighting().SetLightingSwitch(false, *this, KeyLights());
        },
        true);
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
    OnGuiThread(
        [this, on] {
            if (m_parts.showSwitchImage) m_parts.showSwitchImage(on);
            if (on) ResumePreview();
        },
        true);
}

void COrvaneDlg::ShowPanelControls(int mode) {
    OnGuiThread(
        [this, mode] {
            if (m_parts.showPanelControls) m_parts.showPanelControls(mode);
        },
        true);
}

void COrvaneDlg::HidePanelControls() {
    OnGuiThread(
        [this] {
            if (m_parts.hidePanelControls) m_parts.hidePanelControls();
        },
        true);
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
    OnGuiThread(
        [this, controlId, text, checked] {
            if (m_parts.keyButtons) m_parts.keyButtons->SetKeyButtonTooltip(controlId, text, checked);
        },
        false);
}

void COrvaneDlg::SetKeyLight(const KeyButton& button, Colour colour, bool lit) {
    if (m_parts.keyLights)
        m_parts.keyLights->SetKeyLight(button, colour, lit);
    else
        m_lightFrame.SetKeyLight(button, colour, lit);
}

} // namespace orvane
