#include "services/SimulateOption.h"

#include <atomic>

namespace orvane {
namespace {
std::atomic<int> g_SimulatedModel{0};
}

int SimulatedModel() {
    return g_SimulatedModel.load();
}

void SetSimulatedModel(int model) {
    if (model == 0 || model == 126 || model == 128) g_SimulatedModel.store(model);
}

std::optional<int> ParseSimulateArgument(const std::string& arg) {
    if (arg == "--simulate") return kDefaultSimulatedModel;
    if (arg == "--simulate=126") return 126;
    if (arg == "--simulate=128") return 128;
    return std::nullopt;
}

} // namespace orvane
