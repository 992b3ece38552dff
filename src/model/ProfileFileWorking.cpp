// The working profile file of each keyboard profile, and the file side of
// importing and exporting profiles.
#include <mutex>

#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/CriticalSections.h"
#include "platform/Paths.h"
#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {

namespace {
using Guard = std::lock_guard<std::recursive_mutex>;
} // namespace

std::string WorkingProfilePath(int profile) {
    const std::string folder = UserFolderPath();
    if (folder.empty() || profile < 0 || profile >= kProfileCount) return {};
    return folder + "/$Profile" + std::to_string(profile);
}

int SaveWorkingProfile(int activeProfile, CConfigStore& store) {
    const std::string path = WorkingProfilePath(activeProfile);
    if (path.empty() || !FileExists(path)) return 0;
    Guard lock(ConfigStoreLock());
    return SaveProfileFile(path, store);
}

int ImportProfileFile(const std::string& path, int activeProfile, CConfigStore& store) {
    int loaded = 0;
    const int valid = ValidateProfileFile(path);
    if (valid == kProfileValid) {
        Guard lock(ConfigStoreLock());
        // The loader frees the old working copy itself, and only once the
        // whole file has been read and found to fit.
        loaded = LoadProfileFile(path, store);
        if (loaded) SaveWorkingProfile(activeProfile, store);
    }
    // A damaged file has been named with its reason already; a second box
    // saying only that it failed would tell nothing new.
    const bool reasonShown = valid == kProfileMalformed && FileExists(path);
    if (!loaded && !reasonShown) Prompt().MessageBox(Text("MAIN_PROMPT_INPORT"), "", MB_OK | MB_ICONWARNING);
    return loaded;
}

int ExportProfileFile(const std::string& path, CConfigStore& store) {
    Guard lock(ConfigStoreLock());
    return SaveProfileFile(path, store);
}

} // namespace orvane
