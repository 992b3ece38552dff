#include "transfer/SilentProfileSelect.h"

#include <atomic>

#include "transfer/ActiveProfile.h"

namespace orvane {
namespace {
std::atomic<SilentProfileSelector> g_Selector{nullptr};
} // namespace

void SetSilentProfileSelector(SilentProfileSelector selector) {
    g_Selector.store(selector);
}

int SelectProfileWithoutAsking(int profile) {
    const SilentProfileSelector selector = g_Selector.load();
    return selector ? selector(profile) : SelectProfileSilently(profile);
}

} // namespace orvane
