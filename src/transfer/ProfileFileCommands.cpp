#include "transfer/ProfileFileCommands.h"

#include <optional>
#include <string>

#include "model/ProfileFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "transfer/ImportProfile.h"

namespace orvane {
namespace {

// Backups live where their owner keeps files: the folder last used for the
// same command, at first the home folder, never the program's data folder.
std::string StartPattern(const char* remembered) {
    std::string folder = GetProfileString(kProfileFolderSection, remembered, "");
    if (folder.empty() || !FolderExists(folder)) folder = HomeFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + kProfileFilePattern;
}

void RememberFolder(const char* remembered, const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos)
        WriteProfileString(kProfileFolderSection, remembered, slash == 0 ? "/" : path.substr(0, slash));
}

} // namespace

int ImportProfileCommand() {
    const std::optional<std::string> path =
        Prompt().OpenFileName(ProfileFileFilter(), kProfileFileExtension, StartPattern(kImportFolderValue));
    if (!path || path->empty()) return 0;
    RememberFolder(kImportFolderValue, *path);
    return ImportProfile(*path);
}

int ExportProfileCommand() {
    const std::optional<std::string> path =
        Prompt().SaveFileName(ProfileFileFilter(), kProfileFileExtension, StartPattern(kExportFolderValue));
    if (!path || path->empty()) return 0;
    RememberFolder(kExportFolderValue, *path);
    const WriteResult saved = ExportProfileFile(*path);
    if (saved) return 1;
    // A backup the user believes was made must not fail unseen.
    Prompt().MessageBox(FormatTextString(Text("MAIN_PROMPT_EXPORT"), *path, kMaxTextChars + path->size()) +
                            "\n" + FormatTextString(Text("FILE_SAVE_REASON"), saved.Reason()),
                        "", MB_OK | MB_ICONWARNING);
    return 0;
}

} // namespace orvane
