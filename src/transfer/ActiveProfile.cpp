#include "transfer/ActiveProfile.h"

#include <mutex>
#include <vector>

#include "device/DeviceCommands.h"
#include "model/LightingModel.h"
#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/CriticalSections.h"
#include "services/WriteFailureReport.h"
#include "transfer/Apply.h"
#include "transfer/DeviceInfo.h"
#include "transfer/SilentProfileSelect.h"
#include "transfer/TransferHost.h"

namespace orvane {

int GetActiveProfile() {
    const int cached = GetActiveProfileCache();
    if (cached >= 0) return cached;
    DeviceInfoRecord info{};
    if (DevReadInfo(info) != DEV_OK) return -1;
    const int p = info[DEVICE_INFO_ACTIVE_PROFILE];
    if (p >= PROFILE_COUNT) return -1;
    SetActiveProfileCache(p);
    return p;
}

int SetActiveProfile(int profile) {
    // Byte 10 is the keyboard's profile number: nothing but 0-2 may go there.
    if (profile < 0 || profile >= PROFILE_COUNT) return 0;
    DeviceInfoRecord info{};
    if (DevReadInfo(info) != DEV_OK) return 0;
    info[DEVICE_INFO_ACTIVE_PROFILE] = static_cast<uint8_t>(profile);
    const int r = DevWriteInfo(info);
    SetActiveProfileCache(r == DEV_OK ? profile : -1);
    return r == DEV_OK ? 1 : 0;
}

int SelectProfileSilently(int profile) {
    CTransferHost& host = TransferHost();
    if (host.ApplyPending()) Apply();
    if (!SetActiveProfile(profile)) return 0;
    {
        std::lock_guard lock(ConfigStoreLock());
        // A missing or unreadable file leaves the working copy as it was.
        LoadProfileFile(WorkingProfilePath(profile));
        RefreshKeyTooltips(host.KeyButtons(), profile, g_ConfigStore);
    }
    return 1;
}

int FollowKeyboardReset() {
    CTransferHost& host = TransferHost();
    // A failed read leaves the copy as it was; the steps below still run on
    // it, but the keyboard was not followed for sure.
    bool followed = ReadSystemDeviceInfo() == DEV_OK;
    const int target = DeviceInfoProfile();
    if (target >= 0) SetCurrentProfile(target);

    CLightingModel& lighting = TheLighting();
    if (lighting.SwitchOn()) host.TurnLightingSwitchOff();

    if (target >= 0 && SelectProfileWithoutAsking(target)) {
        // The switch runs the Apply of the reset keys first; a failed one
        // stays pending and the switch goes on regardless.
        if (host.ApplyPending()) followed = false;
        const int active = GetActiveProfile();
        if (active >= 0) {
            host.SetProfileButtons(active);
            SetCurrentProfile(active);
        }
        if (active != target) followed = false;
        if (DeviceOffersMode(kMaxLightingMode)) {
            std::vector<WriteResult> restored;
            for (int p = 0; p < PROFILE_COUNT; ++p)
                restored.push_back(RestoreUserFile(p));
            host.RefillColourSets();
            if (!ReportWriteFailures(restored)) followed = false;
        }
    } else {
        followed = false;
    }
    if (target >= 0) SetCurrentProfile(target);
    return followed ? 1 : 0;
}

} // namespace orvane
