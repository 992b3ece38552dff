#include "services/MainWindowLink.h"

#include <atomic>

namespace orvane {
namespace {
std::atomic<MainWindowLink*> g_Link{nullptr};
}

MainWindowLink* GetMainWindowLink() {
    return g_Link.load();
}
void SetMainWindowLink(MainWindowLink* link) {
    g_Link.store(link);
}

} // namespace orvane
