// The lighting switch ("DengCheck" in the settings file) and the preview
// timer it governs.
#include "model/LightingModel.h"
#include "platform/IniFile.h"
#include "services/MainWindowLink.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"
#include "services/WriteFailureReport.h"

namespace orvane {

namespace {

constexpr const char* kSwitchSection = "KEYCOLOR";
constexpr const char* kSwitchKey = "DengCheck";
constexpr uint32_t kPreviewPeriodMs = 50;

} // namespace

const std::string& CLightingModel::SettingsFile() const {
    return m_settingsFile.empty() ? Paths().UserSettingsFile : m_settingsFile;
}

bool CLightingModel::ReadSwitchSetting() const {
    const std::string& path = SettingsFile();
    return !path.empty() && IniReadString(path, kSwitchSection, kSwitchKey, "0") == "1";
}

WriteResult CLightingModel::WriteSwitchSetting(bool on) const {
    const std::string& path = SettingsFile();
    return path.empty() ? Written(path) : IniWriteString(path, kSwitchSection, kSwitchKey, on ? "1" : "0");
}

void CLightingModel::SetLightingSwitch(bool on, CLightingHost& host, CKeyLights& lights) {
    if (!on) {
        m_switchOn = false;
        const WriteResult stored = WriteSwitchSetting(false);
        host.ShowSwitchImage(false);
        CPreview::ClearPreview(lights);
        host.RefreshKeyTooltips();
        host.HidePanelControls();
        ReportWriteFailures({stored});
        return;
    }
    // The keyboard must be showing the profile the panel edits before the
    // switch can be on.
    if (!host.ReselectActiveProfile()) return;
    m_switchOn = true;
    const WriteResult stored = WriteSwitchSetting(true);
    host.ShowSwitchImage(true);
    CPreview::ClearPreview(lights);
    host.ShowPanelControls(m_settings.mode);
    ReportWriteFailures({stored});
}

void CLightingModel::OnPreviewTimer(MainWindowLink& link, CKeyLights& lights) {
    link.KillWindowTimer(PREVIEW_TIMER);
    if (m_switchOn) m_preview.TimerTick(CurrentPreviewParams(), lights);
    link.SetWindowTimer(PREVIEW_TIMER, kPreviewPeriodMs);
}

} // namespace orvane
