// Creating the user data folder on first use and putting a profile's user
// data file back to the shipped template.
#include <cerrno>
#include <string>
#include <vector>

#include "model/UserData.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace orvane {

namespace {

// The template's bytes; empty when it is missing, which leaves empty files.
std::string TemplateText() {
    std::string text;
    const std::string path = UserDataTemplatePath();
    if (path.empty() || !ReadWholeFile(path, text)) text.clear();
    return text;
}

} // namespace

std::vector<WriteResult> EnsureUserFolder() {
    const std::string folder = UserFolderPath();
    if (folder.empty()) return {};
    if (WriteResult made = MakeFolders(folder); !made) return {made};
    // Checked file by file, not only with a new folder: a first start cut
    // short after the folder was made would otherwise leave the files missing
    // for good. A file that exists is the user's and stays as it is.
    std::vector<WriteResult> failed;
    std::string text;
    bool templateRead = false;
    for (int p = 0; p < kUserDataProfileCount; ++p) {
        const std::string path = UserDataFilePath(p);
        if (path.empty() || FileExists(path)) continue;
        if (!templateRead) text = TemplateText();
        templateRead = true;
        if (WriteResult written = WriteFileAtomically(path, text); !written) failed.push_back(written);
    }
    return failed;
}

WriteResult RestoreUserFile(int profile) {
    const std::string path = UserDataFilePath(profile);
    if (path.empty()) return WriteFailed(path, EINVAL);
    return WriteFileAtomically(path, TemplateText());
}

} // namespace orvane
