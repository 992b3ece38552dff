// The working profile file of each keyboard profile, and the file side of
// importing and exporting profiles.
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "model/ProfileFile.h"
#include "model/UserData.h"
#include "platform/CriticalSections.h"
#include "platform/Paths.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "services/WriteFailureReport.h"

namespace orvane {

namespace {
using Guard = std::lock_guard<COrderedLock>;
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
    WriteResult saved = Written({});
    const int valid = ValidateProfileFile(path);
    if (valid == kProfileValid) {
        // Read into a copy of its own and saved before it replaces anything:
        // a working profile file that cannot take it leaves all as it was.
        auto imported = std::make_unique<CConfigStore>();
        if (LoadProfileFile(path, *imported)) {
            const std::vector<uint8_t> bytes = BuildProfileFileBytes(*imported);
            const std::string working = WorkingProfilePath(activeProfile);
            Guard lock(ConfigStoreLock());
            if (!working.empty() && FileExists(working)) saved = WriteProfileFile(working, bytes);
            if (saved) loaded = LoadProfileBytes(bytes.data(), bytes.size(), store);
        }
    }
    // A damaged file has been named with its reason already; a second box
    // saying only that it failed would tell nothing new.
    const bool reasonShown = valid == kProfileMalformed && FileExists(path);
    if (!loaded && !reasonShown) {
        std::string text = WriteFailureText(std::span(&saved, 1));
        if (!text.empty()) text += "\n\n";
        Prompt().MessageBox(text + Text("MAIN_PROMPT_INPORT"), "", MB_OK | MB_ICONWARNING);
    }
    return loaded;
}

WriteResult ExportProfileFile(const std::string& path, CConfigStore& store) {
    const std::vector<uint8_t> bytes = BuildProfileFileBytes(store);
    return WriteProfileFile(path, bytes);
}

} // namespace orvane
