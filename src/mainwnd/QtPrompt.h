#pragma once
// The prompt the program shows on the desktop: Qt's message box, file and
// colour dialogs. Safe to call from any thread: a call from a worker is
// carried out on the GUI thread and waited for.
#include "services/Prompt.h"

namespace orvane {

class CQtPrompt final : public CPrompt {
  public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    std::optional<std::string> OpenFileName(const std::string& filter, const std::string& defaultExt,
                                            const std::string& initialPath) override;
    std::optional<std::string> SaveFileName(const std::string& filter, const std::string& defaultExt,
                                            const std::string& initialPath) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
};

// "Profile files|*.fwc|All files|*.*|" -> "Profile files (*.fwc);;All files (*.*)".
std::string QtFileFilter(const std::string& filter);

} // namespace orvane
