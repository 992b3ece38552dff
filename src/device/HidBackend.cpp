#include "device/HidBackend.h"

#include <atomic>

#include "device/HidrawBackend.h"

namespace orvane {
namespace {
std::atomic<CHidBackend*> g_Backend{nullptr};
}

CHidBackend& HidBackend() {
    if (CHidBackend* b = g_Backend.load()) return *b;
    static CHidrawBackend hidraw;
    return hidraw;
}

void SetHidBackend(CHidBackend* backend) {
    g_Backend.store(backend);
}

} // namespace orvane
