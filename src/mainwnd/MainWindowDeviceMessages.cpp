// What the main window does when the keyboard comes, goes, reports changed
// lighting or a reset to its defaults, and how the F1-F4 group, the six
// extra buttons and the overlapping plates are stacked and swapped by Flip.
#include <mutex>
#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <utility>

#include "device/DeviceCommands.h"
#include "dialogs/FlipSetting.h"
#include "dialogs/ProfileSwitch.h"
#include "mainwnd/COrvaneDlg.h"
#include "mainwnd/KeyboardAndPanel.h"
#include "mainwnd/MainWindowIds.h"
#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "services/WindowMessages.h"
#include "transfer/ActiveProfile.h"
#include "transfer/DeviceInfo.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/LightingReadBack.h"
#include "ui/ControlMessages.h"
#include "ui/PngButton.h"

namespace orvane {
namespace {

constexpr int kEnterButtonId = 1070;
constexpr int kRightBracketButtonId = 1055; // drawn partly under Enter
constexpr int kFreshReadAttempts = 3;

} // namespace

void COrvaneDlg::OnKeyboardConnected() {
    // The keyboard's own configuration becomes the working copy, unless
    // changes made before the cable was pulled still wait for Apply; reading
    // all of it takes a while, so the window keeps painting meanwhile.
    // A replug handled inside this read's own loop reads again; only the
    // outermost read ends the loading.
    const bool outer = !std::exchange(m_loadingConnection, true);
    const int connection = ++m_connectionsRead;
    int read = 0;
    RunTransfer([&read] { read = LoadKeyboardProfile(UnsentChanges::Keep); });
    if (outer) m_loadingConnection = false;
    if (m_shutdownDone) return; // the program was closed meanwhile
    // A replug read again meanwhile: that read's result is the one that counts.
    if (connection != m_connectionsRead) read = 1;
    const int active = GetActiveProfile();
    if (active >= 0 && active < PROFILE_COUNT) {
        SetProfileButtons(active);
        SetCurrentProfile(active);
    }
    // The profiles button and the tray tip name the profile just read.
    RebuildProfileMenu();
    const LightingRead lighting = ReadLightingMeanwhile();
    if (m_shutdownDone) return;
    const int lightingRead = TakeLightingReadAfterConnect(TheLighting(), lighting);
    if (m_parts.refreshPanel) m_parts.refreshPanel();
    if (DeviceOffersMode(kMaxLightingMode)) TheLighting().RelinkPaintFlags();
    // One message for one failed connection: an unread keyboard says it all.
    if (read) TellLightingUnread(lightingRead);
    // Asked for while the keyboard was being read: it is there now.
    if (std::exchange(m_showAfterLoading, false)) ShowWindowNow();
    // The working copy was kept: what the window shows may not be what the keyboard does.
    if (!read) Prompt().MessageBox(Text("PROFILE_READ_FAILED"), std::string(), MB_OK | MB_ICONWARNING);
}

void COrvaneDlg::OnKeyboardGone() {
    m_showAfterLoading = false;
    // A message that something did not reach the keyboard says nothing more
    // once it has gone, and the editor beneath it could not close while it
    // is up. Questions stay: closing one would answer it.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && box->isVisible() && box->standardButtons() == QMessageBox::Ok)
            box->close();
    CancelOpenDialogs();
    // The focus must not stay on a control of a closed editor or on a key
    // the next connection may disable.
    for (int id : {IDC_MODE_LIST, IDC_PROFILE_1})
        for (QWidget* w : findChildren<QWidget*>())
            if (ControlIdOf(w) == id && w->isVisibleTo(this) && w->isEnabled()) {
                w->setFocus(Qt::OtherFocusReason);
                break;
            }
}

void COrvaneDlg::OnLightingChanged() {
    m_bridge.KillTimer(LIGHTING_CHANGED_TIMER);
    if (m_shutdownDone) return;
    const LightingRead lighting = ReadLightingMeanwhile();
    if (m_shutdownDone) return;
    const int read = TakeLightingRead(TheLighting(), lighting);
    if (m_parts.refreshPanel) m_parts.refreshPanel();
    TellLightingUnread(read);
}

LightingRead COrvaneDlg::ReadLightingMeanwhile() {
    LightingRead read;
    // A change the keyboard took while its records were read may be missing
    // from them: taken, they would put the panel back to before it. Read
    // again then; a drag that keeps changing the lighting keeps the copy,
    // which holds what the keyboard took.
    for (int attempt = 0; attempt < kFreshReadAttempts; ++attempt) {
        const uint64_t before = TheLighting().ChangesTaken();
        RunTransfer([&read] { read = ReadKeyboardLighting(); });
        if (m_shutdownDone || TheLighting().ChangesTaken() == before) return read;
    }
    read.recordRead.fill(false);
    return read;
}

void COrvaneDlg::OnKeyboardReset() {
    m_bridge.KillTimer(KEYBOARD_RESET_TIMER);
    if (m_shutdownDone) return;
    {
        // The keyboard dropped every key assignment of its three profiles.
        std::lock_guard lock(ConfigStoreLock());
        for (int p = 0; p < PROFILE_COUNT; ++p)
            ResetProfileKeys(KeyButtons(), p, g_ConfigStore);
    }
    // The lighting is read on the same trip, after the reset was followed.
    LightingRead lighting;
    const uint64_t before = TheLighting().ChangesTaken();
    RunTransfer([&lighting] {
        FollowKeyboardReset();
        lighting = ReadKeyboardLighting();
    });
    if (m_shutdownDone) return;
    if (TheLighting().ChangesTaken() != before) lighting = ReadLightingMeanwhile();
    if (m_shutdownDone) return;
    const int read = TakeLightingRead(TheLighting(), lighting);
    if (m_parts.refreshPanel) m_parts.refreshPanel();
    TellLightingUnread(read);
}

void COrvaneDlg::ChainOverlappingButtons() {
    CKeyboardView* keys = m_keyboardAndPanel ? m_keyboardAndPanel->keys.get() : nullptr;
    if (!keys) return;
    std::vector<QWidget*> gKeys;
    for (uint16_t id : kGKeyControlIds)
        gKeys.push_back(keys->Button(id));
    RedrawAfter(Button(IDC_LOCK_AB), gKeys);
    RedrawAfter(keys->Button(kEnterButtonId), {keys->Button(kRightBracketButtonId)});
}

void COrvaneDlg::ApplyFlipLayout() {
    if (m_parts.applyFlip) m_parts.applyFlip(m_flip);
    CKeyboardView* keys = m_keyboardAndPanel ? m_keyboardAndPanel->keys.get() : nullptr;
    if (!keys) return;
    // The plate under the F-row: the group in force, F5 and the flip buttons lie over it.
    std::vector<QWidget*> over;
    for (int id : ButtonsRedrawnAfterFlip0(m_flip ? 1 : 0))
        over.push_back(Button(id) ? static_cast<QWidget*>(Button(id)) : keys->Button(id));
    RedrawAfter(Button(IDC_FLIP_0), over);
}

} // namespace orvane
