#pragma once
// A prompt that answers questions from a script (`answer` for Yes/No and
// Yes/No/Cancel, OK for the rest), hands out queued file names, and keeps
// every text it showed and every file dialog's arguments.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "services/Prompt.h"

namespace orvane::testing {

class CScriptedPrompt : public CPrompt {
  public:
    int answer = IDNO;
    std::vector<std::string> shown;
    std::vector<unsigned> styles;
    std::deque<std::optional<std::string>> files; // nullopt: the user cancels
    std::vector<std::string> dialogStarts;        // initial path of each file dialog
    std::vector<std::string> dialogExtensions;

    int MessageBox(const std::string& text, const std::string&, unsigned style) override {
        shown.push_back(text);
        styles.push_back(style);
        const unsigned buttons = style & 0xF;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? answer : IDOK;
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string& ext,
                                            const std::string& start) override {
        return NextFile(ext, start);
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string& ext,
                                            const std::string& start) override {
        return NextFile(ext, start);
    }

  private:
    std::optional<std::string> NextFile(const std::string& ext, const std::string& start) {
        dialogStarts.push_back(start);
        dialogExtensions.push_back(ext);
        if (files.empty()) return std::nullopt;
        std::optional<std::string> next = files.front();
        files.pop_front();
        return next;
    }
};

} // namespace orvane::testing
