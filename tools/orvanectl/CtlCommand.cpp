#include "CtlCommand.h"

namespace orvanectl {
namespace {
// Function-local so registration from other files' static initialisers works
// whatever order they run in.
std::vector<CtlCommand>& Commands() {
    static std::vector<CtlCommand> commands;
    return commands;
}
} // namespace

void RegisterCommand(const CtlCommand& command) {
    Commands().push_back(command);
}
const std::vector<CtlCommand>& RegisteredCommands() {
    return Commands();
}

const CtlCommand* FindCommand(const std::string& name) {
    for (const CtlCommand& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

} // namespace orvanectl
