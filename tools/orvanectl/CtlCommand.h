#pragma once
// orvanectl's commands register themselves here, one file per command group,
// so adding a group touches no shared table.
#include <iosfwd>
#include <string>
#include <vector>

namespace orvanectl {

// Exit codes of a single command.
constexpr int kOk = 0;     // every device command returned 1
constexpr int kFailed = 1; // a command ran but did not succeed
constexpr int kUsage = 2;  // malformed arguments

struct CtlCommand {
    const char* name;
    const char* usage;  // arguments, shown in the usage text
    bool needsKeyboard; // opens the keyboard before it runs
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    const char* help; // what the command does, in a sentence or two, for "orvanectl help"
};

// The usage listing: global options, then each command with its arguments.
void PrintUsage(std::ostream& out);

void RegisterCommand(const CtlCommand& command);
const std::vector<CtlCommand>& RegisteredCommands();
const CtlCommand* FindCommand(const std::string& name);

struct CtlRegistrar {
    explicit CtlRegistrar(const CtlCommand& command) { RegisterCommand(command); }
};

} // namespace orvanectl
