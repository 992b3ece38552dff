// orvanectl: the command-line front end. Global options first, then commands
// separated by a lone "+", run in order against the same keyboard.
#include <iostream>
#include <string>
#include <vector>

#include "CtlCommand.h"

namespace {

void PrintUsage(std::ostream& err) {
    err << "usage: orvanectl [--simulate[=126|128]] COMMAND [ARGS] [+ COMMAND [ARGS]]...\n";
    err << "commands:\n";
    for (const orvanectl::CtlCommand& c : orvanectl::RegisteredCommands())
        err << "  " << c.name << (c.usage[0] ? " " : "") << c.usage << "\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) ++i; // global options: see the device front end
    std::vector<std::vector<std::string>> commands(1);
    for (; i < args.size(); ++i) {
        if (args[i] == "+")
            commands.emplace_back();
        else
            commands.back().push_back(args[i]);
    }
    for (const auto& c : commands) {
        if (c.empty() || !orvanectl::FindCommand(c[0])) {
            PrintUsage(std::cerr);
            return orvanectl::kUsage;
        }
    }
    int result = orvanectl::kOk;
    for (const auto& c : commands) {
        const orvanectl::CtlCommand* cmd = orvanectl::FindCommand(c[0]);
        std::vector<std::string> rest(c.begin() + 1, c.end());
        int r = cmd->run(rest, std::cout, std::cerr);
        if (r == orvanectl::kUsage) return r;
        if (r != orvanectl::kOk) result = orvanectl::kFailed;
    }
    return result;
}
