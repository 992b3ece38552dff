#include "transfer/ProfileFileCommands.h"

#include <optional>
#include <string>

#include "model/ProfileFile.h"
#include "services/Language.h"
#include "services/Prompt.h"
#include "transfer/ImportProfile.h"

namespace orvane {

int ImportProfileCommand() {
    const std::optional<std::string> path =
        Prompt().OpenFileName(ProfileFileFilter(), kProfileFileExtension, kProfileFilePattern);
    if (!path || path->empty()) return 0;
    return ImportProfile(*path);
}

int ExportProfileCommand() {
    const std::optional<std::string> path =
        Prompt().SaveFileName(ProfileFileFilter(), kProfileFileExtension, kProfileFilePattern);
    if (!path || path->empty()) return 0;
    const WriteResult saved = ExportProfileFile(*path);
    if (saved) return 1;
    // A backup the user believes was made must not fail unseen.
    Prompt().MessageBox(FormatTextString(Text("MAIN_PROMPT_EXPORT"), *path, kMaxTextChars + path->size()) +
                            "\n" + FormatTextString(Text("FILE_SAVE_REASON"), saved.Reason()),
                        "", MB_OK | MB_ICONWARNING);
    return 0;
}

} // namespace orvane
