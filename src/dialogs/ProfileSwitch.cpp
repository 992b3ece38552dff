#include "dialogs/ProfileSwitch.h"

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
bool g_Switching = false; // user-interface thread only

// The question of a switch runs a modal loop, in which another switch may
// start; that one must not ask or apply a second time.
class CSwitchScope {
  public:
    CSwitchScope() { g_Switching = true; }
    ~CSwitchScope() { g_Switching = false; }
    CSwitchScope(const CSwitchScope&) = delete;
    CSwitchScope& operator=(const CSwitchScope&) = delete;
};

// No to the question: the working copy goes back to what Apply last saved.
// When that file cannot be read the changes are kept and stay pending, so
// nothing is dropped that could not be put back.
void DiscardUnsentChanges(CTransferHost& host) {
    const std::string path = WorkingProfilePath(GetActiveProfile());
    bool reloaded = false;
    if (!path.empty()) {
        std::lock_guard<std::recursive_mutex> lock(ConfigStoreLock());
        reloaded = LoadProfileFile(path, g_ConfigStore) == 1;
    }
    if (reloaded) host.SetApplyPending(false);
}

int SwitchProfile(int profile, bool applyWithoutAsking, bool refuseWhileKeyDialogOpen) {
    if (profile < 0 || profile >= PROFILE_COUNT) profile = 0;
    if (refuseWhileKeyDialogOpen && CompositeOpenCount() > 0) {
        Prompt().MessageBox(Text("PROFILE_SEELCT_PROMPT2"), "", MB_OK | MB_ICONWARNING);
        return 0;
    }
    CTransferHost& host = TransferHost();
    bool listPending = false;
    RunOnGuiThread([&listPending] { listPending = g_OpenManager && g_OpenManager->ListChangesPending(); });
    if ((host.ApplyPending() || listPending) && !g_Switching) {
        CSwitchScope scope;
        const int answer = applyWithoutAsking
                               ? IDYES
                               : Prompt().MessageBox(Text("PROFILE_SWITCH_UNSENT_PROMPT"), "",
                                                     MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        // Cancel is the way back: the same profile, the changes still pending.
        if (answer == IDCANCEL) return 0;
        if (answer == IDYES)
            Apply();
        else
            DiscardUnsentChanges(host);
    }
    SetActiveProfile(profile);
    // A switch may run on a transfer's worker (a profile button, a keyboard
    // reset); the manager's list and the profiles button are widgets. The
    // manager may have opened or closed while the question was shown.
    RunOnGuiThread([] {
        if (g_OpenManager) g_OpenManager->FollowProfileSwitch(GetActiveProfile());
    });
    {
        std::lock_guard<std::recursive_mutex> lock(ConfigStoreLock());
        RefreshKeyTooltips(host.KeyButtons(), profile, g_ConfigStore);
    }
    RebuildProfileMenu();
    return 1;
}

// Following a keyboard reset shows nothing at all. The key dialog's changes
// stay in the working copy (a switch does not reload it), so it need not
// refuse either.
int SelectProfileQuietly(int profile) {
    return SwitchProfile(profile, true, false);
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
    return SwitchProfile(profile, applyWithoutAsking, true);
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
