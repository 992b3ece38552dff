#include "services/Prompt.h"

#include <atomic>

#include "platform/OrderedLock.h"

namespace orvane {
namespace {

class CQuietPrompt final : public CPrompt {
  public:
    int MessageBox(const std::string&, const std::string&, unsigned style) override {
        switch (style & 0xF) {
        case MB_YESNO:
            return IDNO;
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
        }
    }
};

CQuietPrompt g_QuietPrompt;
std::atomic<CPrompt*> g_Prompt{nullptr};

} // namespace

CPrompt& Prompt() {
    // Every thread that wants a lock held here would wait for the user too.
    CheckNoOrderedLockHeldDuring("a question to the user");
    CPrompt* p = g_Prompt.load();
    return p ? *p : g_QuietPrompt;
}

void SetPrompt(CPrompt* prompt) {
    g_Prompt.store(prompt);
}

} // namespace orvane
