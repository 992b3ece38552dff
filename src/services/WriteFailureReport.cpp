#include "services/WriteFailureReport.h"

#include "services/Language.h"
#include "services/Prompt.h"

namespace orvane {

std::string WriteFailureText(std::span<const WriteResult> results) {
    std::string text;
    for (const WriteResult& result : results) {
        if (result) continue;
        if (!text.empty()) text += "\n\n";
        // Room for the whole path: a cut one would not say which file it was.
        const std::string reason = result.Reason();
        text += FormatTextString(Text("FILE_SAVE_FAILED"), result.path, kMaxTextChars + result.path.size()) +
                "\n" + FormatTextString(Text("FILE_SAVE_REASON"), reason, kMaxTextChars + reason.size());
    }
    return text;
}

bool ReportWriteFailures(std::span<const WriteResult> results) {
    const std::string text = WriteFailureText(results);
    if (text.empty()) return true;
    Prompt().MessageBox(text, "", MB_OK | MB_ICONWARNING);
    return false;
}

bool ReportWriteFailures(std::initializer_list<WriteResult> results) {
    return ReportWriteFailures(std::span(results.begin(), results.size()));
}

} // namespace orvane
