#include "dialogs/EditorOpenCounts.h"

#include <atomic>

namespace orvane {
namespace {
std::atomic<int> g_compositeOpen{0};
std::atomic<int> g_profileManagerOpen{0};
} // namespace

int CompositeOpenCount() {
    return g_compositeOpen.load();
}
int ProfileManagerOpenCount() {
    return g_profileManagerOpen.load();
}

CCompositeOpenScope::CCompositeOpenScope() {
    ++g_compositeOpen;
}
CCompositeOpenScope::~CCompositeOpenScope() {
    --g_compositeOpen;
}
CProfileManagerOpenScope::CProfileManagerOpenScope() {
    ++g_profileManagerOpen;
}
CProfileManagerOpenScope::~CProfileManagerOpenScope() {
    --g_profileManagerOpen;
}

} // namespace orvane
