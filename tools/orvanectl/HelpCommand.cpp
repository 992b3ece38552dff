// help: the usage listing with a line or two on what each command does, or
// one command's usage and description.
#include <ostream>
#include <sstream>
#include <string>

#include "CtlCommand.h"

namespace orvanectl {

void PrintUsage(std::ostream& out) {
    out << "usage: orvanectl [--simulate[=126|128]] [--trace FILE] [--sim-fault FAULT]... [--sim-pace]\n"
           "                 [--sim-state FILE] [--sim-consumer USAGE[@MS]]... COMMAND [ARGS] [+ COMMAND "
           "[ARGS]]...\n";
    out << "faults: noreply:A-B, noreply:A-, failwrite:N, status:N:XX, unplug:N[:MS], late:N:MS\n";
    out << "commands:\n";
    for (const CtlCommand& c : RegisteredCommands())
        out << "  " << c.name << (c.usage[0] ? " " : "") << c.usage << "\n";
}

namespace {

constexpr const char* kOptions =
    "options (before the first command):\n"
    "  --simulate[=126|128]   use the simulated keyboard (128 keys unless 126 is given)\n"
    "  --trace FILE           the simulated keyboard writes every report it exchanges to FILE\n"
    "  --sim-fault FAULT      the simulated keyboard fails as told; requests are counted from 1:\n"
    "                         noreply:A-B (or A-) no reply, failwrite:N the write fails,\n"
    "                         status:N:XX reply status XX, unplug:N pulled out (unplug:N:MS back\n"
    "                         after MS ms), late:N:MS reply held back\n"
    "  --sim-pace             the simulated keyboard takes 1 ms a report, as the real one\n"
    "  --sim-state FILE       the simulated keyboard's memory is read from FILE and kept there\n"
    "  --sim-consumer USAGE[@MS]  the simulated keyboard sends a consumer key MS ms after start\n"
    "Commands joined by a lone \"+\" run in order against the same keyboard. The exit code is 0\n"
    "when every command succeeded, 1 when one failed and 2 for a usage error.\n";

// The text in lines of at most `width` characters, each after `indent`.
void Wrapped(std::ostream& out, const std::string& text, const char* indent, size_t width = 72) {
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out << indent << line << "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out << indent << line << "\n";
}

void Describe(const CtlCommand& c, std::ostream& out) {
    out << "  " << c.name << (c.usage[0] ? " " : "") << c.usage << "\n";
    Wrapped(out, c.help, "      ");
}

int RunHelp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 1) {
        err << "usage: orvanectl help [COMMAND]\n";
        return kUsage;
    }
    if (args.size() == 1) {
        const CtlCommand* c = FindCommand(args[0]);
        if (!c) {
            err << "orvanectl: no command \"" << args[0] << "\"; orvanectl help lists them\n";
            return kUsage;
        }
        out << "usage: orvanectl " << c->name << (c->usage[0] ? " " : "") << c->usage << "\n";
        Wrapped(out, c->help, "");
        return kOk;
    }
    out << "orvanectl talks to the keyboard (or the simulated one) with the same code the Orvane\n"
           "program uses, and reads and writes profile files.\n\n"
        << "usage: orvanectl [OPTIONS] COMMAND [ARGS] [+ COMMAND [ARGS]]...\n"
        << kOptions << "\ncommands:\n";
    for (const CtlCommand& c : RegisteredCommands())
        Describe(c, out);
    return kOk;
}

const CtlRegistrar kHelp({"help", "[COMMAND]", false, RunHelp, "Describes every command, or one."});

} // namespace
} // namespace orvanectl
