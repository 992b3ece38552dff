#include "app/CommandLine.h"

#include "services/SimulateOption.h"

namespace orvane {

std::vector<std::string> ProgramArguments(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc && argv; ++i)
        if (argv[i]) args.emplace_back(argv[i]);
    return args;
}

void ApplySimulateOption(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (auto model = ParseSimulateArgument(arg)) SetSimulatedModel(*model);
}

} // namespace orvane
