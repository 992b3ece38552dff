#include "services/AutoShowLatch.h"

namespace orvane {

std::atomic<int>& AutoShowLatch() {
    static std::atomic<int> latch{0};
    return latch;
}

} // namespace orvane
