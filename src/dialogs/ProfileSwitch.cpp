#include "dialogs/ProfileSwitch.h"

#include <atomic>
#include <mutex>

#include "device/DeviceCommands.h"
#include "dialogs/EditorOpenCounts.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "model/ProfileFile.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "transfer/ActiveProfile.h"
#include "transfer/Apply.h"
#include "transfer/SilentProfileSelect.h"
#include "transfer/TransferHost.h"
#include "ui/GuiThread.h"

namespace orvane {
namespace {

CProfileManagerView* g_OpenManager = nullptr;
std::function<void()> g_RebuildMenu;
// A switch runs on the GUI thread or on a transfer's worker (a profile
// button, a keyboard reset).
std::atomic<bool> g_Switching{false};

// The question of a switch runs a modal loop, in which another switch may
// start, and a worker's switch may meet one of the GUI thread's; only the
// first asks or applies.
class CSwitchScope {
  public:
    CSwitchScope() : m_first(!g_Switching.exchange(true)) {}
    ~CSwitchScope() {
        if (m_first) g_Switching.store(false);
    }
    bool First() const { return m_first; }
    CSwitchScope(const CSwitchScope&) = delete;
    CSwitchScope& operator=(const CSwitchScope&) = delete;

  private:
    const bool m_first;
};

// No to the question: the working copy goes back to what Apply last saved.
// When that file cannot be read the changes are kept and stay pending, so
// nothing is dropped that could not be put back.
void DiscardUnsentChanges(CTransferHost& host) {
    const std::string path = WorkingProfilePath(GetActiveProfile());
    bool reloaded = false;
    if (!path.empty()) {
        std::lock_guard lock(ConfigStoreLock());
        reloaded = LoadProfileFile(path, g_ConfigStore) == 1;
    }
    if (reloaded) host.SetApplyPending(false);
}

// `quiet`: no question, refusal or message at all (following a keyboard reset).
int SwitchProfile(int profile, bool applyWithoutAsking, bool quiet) {
    if (profile < 0 || profile >= PROFILE_COUNT) profile = 0;
    if (!quiet && CompositeOpenCount() > 0) {
        Prompt().MessageBox(Text("PROFILE_SEELCT_PROMPT2"), "", MB_OK | MB_ICONWARNING);
        return 0;
    }
    CTransferHost& host = TransferHost();
    bool listPending = false;
    RunOnGuiThread([&listPending] { listPending = g_OpenManager && g_OpenManager->ListChangesPending(); });
    if (host.ApplyPending() || listPending) {
        CSwitchScope scope;
        if (scope.First()) {
            const int answer = applyWithoutAsking
                                   ? IDYES
                                   : Prompt().MessageBox(Text("PROFILE_SWITCH_UNSENT_PROMPT"), "",
                                                         MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
            // Cancel is the way back: the same profile, the changes still pending.
            if (answer == IDCANCEL) return 0;
            if (answer == IDYES) {
                // Switching now would leave the changes to be sent to the other
                // profile. A reset's own keys are sent on regardless: the
                // keyboard has switched already.
                const ApplyOutcome applied = Apply(quiet ? ApplyNotice::Shown : ApplyNotice::ToCaller);
                if (!applied.Succeeded() && !quiet) {
                    Prompt().MessageBox(ApplyFailureText(applied, "PROFILE_APPLY_FAILED"), "",
                                        MB_OK | MB_ICONWARNING);
                    return 0;
                }
            } else {
                DiscardUnsentChanges(host);
            }
        }
    }
    const bool switched = SetActiveProfile(profile) == 1;
    // A switch may run on a transfer's worker (a profile button, a keyboard
    // reset); the manager's list and the profiles button are widgets. The
    // manager may have opened or closed while the question was shown. A
    // refused switch leaves the manager's choice pending.
    if (switched)
        RunOnGuiThread([] {
            if (g_OpenManager) g_OpenManager->FollowProfileSwitch(GetActiveProfile());
        });
    {
        std::lock_guard lock(ConfigStoreLock());
        RefreshKeyTooltips(host.KeyButtons(), profile, g_ConfigStore);
    }
    RebuildProfileMenu();
    if (switched) return 1;
    if (!quiet) Prompt().MessageBox(Text("PROFILE_SWITCH_FAILED"), "", MB_OK | MB_ICONWARNING);
    return 0;
}

// Following a keyboard reset shows nothing at all. The key dialog's changes
// stay in the working copy (a switch does not reload it), so it need not
// refuse either.
int SelectProfileQuietly(int profile) {
    return SwitchProfile(profile, true, true);
}

} // namespace

void SetOpenProfileManager(CProfileManagerView* manager) {
    g_OpenManager = manager;
}
CProfileManagerView* OpenProfileManager() {
    return g_OpenManager;
}

void SetProfileMenuRebuild(std::function<void()> rebuild) {
    g_RebuildMenu = std::move(rebuild);
}

void RebuildProfileMenu() {
    RunOnGuiThread([] {
        if (g_RebuildMenu) g_RebuildMenu();
    });
}

int SelectProfile(int profile, bool applyWithoutAsking) {
    return SwitchProfile(profile, applyWithoutAsking, false);
}

int SwitchForProfileButton(int profile) {
    if (profile < 0 || profile >= PROFILE_COUNT) return -1;
    // Already active: nothing to switch, and its button is the one to show.
    if (GetActiveProfile() == profile) return profile;
    if (!SelectProfile(profile, false)) return -1;
    // A refused write leaves the cache unknown: this asks the keyboard again.
    return GetActiveProfile() == profile ? profile : -1;
}

void InstallProfileSwitching() {
    SetSilentProfileSelector(SelectProfileQuietly);
}

} // namespace orvane
