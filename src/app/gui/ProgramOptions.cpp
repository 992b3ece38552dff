#include "app/gui/ProgramOptions.h"

#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <thread>

#include "app/gui/ReportTrace.h"
#include "platform/Paths.h"
#include "services/SimulateOption.h"
#include "sim/SimInstall.h"

namespace orvane {
namespace {

// "--name VALUE" or "--name=VALUE"; nullopt when `arg` is not the option.
// A missing value gives an empty one.
std::optional<std::string> TakeValue(const std::vector<std::string>& args, size_t& i,
                                     const std::string& name) {
    const std::string& arg = args[i];
    if (arg == name) return i + 1 < args.size() ? args[++i] : std::string();
    if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
    return std::nullopt;
}

// Decimal or 0x-hexadecimal, up to `max`.
std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t max) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    uint64_t value = 0;
    auto [ptr, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (ec != std::errc() || ptr != end || begin == end || value > max) return std::nullopt;
    return static_cast<uint32_t>(value);
}

bool ParseConsumer(const std::string& text, std::pair<uint16_t, uint32_t>* out) {
    const size_t at = text.find('@');
    auto usage = ParseNumber(text.substr(0, at), 0xFFFF);
    auto ms =
        at == std::string::npos ? std::optional<uint32_t>(0) : ParseNumber(text.substr(at + 1), 3600000);
    if (!usage || !ms) return false;
    *out = {static_cast<uint16_t>(*usage), *ms};
    return true;
}

} // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (auto v = TakeValue(args, i, "--trace")) {
            if (v->empty())
                o.errors.push_back("--trace needs a file");
            else
                o.trace = *v;
        } else if (auto v = TakeValue(args, i, "--sim-fault")) {
            SimFault fault;
            if (ParseSimFault(*v, &fault))
                o.faults.push_back(fault);
            else
                o.errors.push_back("--sim-fault: not a fault: " + *v);
        } else if (auto v = TakeValue(args, i, "--sim-state")) {
            if (v->empty())
                o.errors.push_back("--sim-state needs a file");
            else
                o.state = *v;
        } else if (auto v = TakeValue(args, i, "--sim-consumer")) {
            std::pair<uint16_t, uint32_t> report;
            if (ParseConsumer(*v, &report))
                o.consumer.push_back(report);
            else
                o.errors.push_back("--sim-consumer: not USAGE[@MS]: " + *v);
        } else if (arg == "--sim-pace") {
            o.pace = true;
        } else if (arg == "--sim-reset") {
            o.reset = true;
        }
    }
    return o;
}

void PrintProgramUsage(std::ostream& out) {
    out << "usage: orvane [/Start] [/Kill] [--simulate[=126|128]] [--trace FILE]\n"
           "              [--sim-fault FAULT]... [--sim-pace] [--sim-state FILE] [--sim-reset]\n"
           "              [--sim-consumer USAGE[@MS]]...\n"
           "\n"
           "  /Start            start in the tray without showing the window\n"
           "  /Kill             close the running copy\n"
           "  --simulate[=N]    use the built-in simulated keyboard (126 or 128 keys, default 128)\n"
           "  --trace FILE      write every command report sent to the keyboard ('> ') and every\n"
           "                    reply ('< ') to FILE, one line of hex bytes each; works with a real\n"
           "                    keyboard too\n"
           "  --sim-fault FAULT make the simulated keyboard fail: noreply:A-B, noreply:A-,\n"
           "                    failwrite:N, status:N:XX, unplug:N[:MS] (requests counted from 1)\n"
           "  --sim-pace        the simulated keyboard takes 1 ms per report, like a real one\n"
           "  --sim-state FILE  load the simulated keyboard's memory from FILE at start (when it\n"
           "                    exists) and save it there when the program ends; without it the\n"
           "                    memory is kept in $XDG_STATE_HOME/orvane/ (~/.local/state/orvane/),\n"
           "                    one file per model, so the next run finds this run's changes\n"
           "  --sim-reset       the simulated keyboard starts from its factory state (saved as usual)\n"
           "  --sim-consumer USAGE[@MS]\n"
           "                    the simulated keyboard sends consumer report USAGE (e.g. 0x1811)\n"
           "                    MS milliseconds after start\n"
           "  --help            this text\n";
}

bool ApplyProgramOptions(const ProgramOptions& options) {
    for (const std::string& error : options.errors)
        std::cerr << "orvane: " << error << "\n";
    CSimKeyboard* sim = SimulatedKeyboard();
    if (!sim) {
        if (!options.faults.empty() || options.pace || !options.state.empty() || options.reset ||
            !options.consumer.empty())
            std::cerr << "orvane: the --sim-... options need --simulate; ignored\n";
        if (!options.trace.empty() && !InstallReportTrace(options.trace))
            std::cerr << "orvane: cannot write " << options.trace << "\n";
        return true;
    }
    const std::string state = SimulatedStatePath(options);
    if (!options.reset && !LoadSimulatedStateIfPresent(*sim, state)) {
        std::cerr << "orvane: " << state << " is not a state of the simulated "
                  << sim->WithFirmware([](CSimFirmware& f) { return f.KeyCount(); })
                  << "-key keyboard; not started (--sim-reset starts from the factory state)\n";
        return false;
    }
    for (const SimFault& fault : options.faults)
        sim->AddFault(fault);
    sim->SetPacing(options.pace);
    if (!options.trace.empty() && !sim->SetTraceFile(options.trace))
        std::cerr << "orvane: cannot write " << options.trace << "\n";
    for (auto [usage, ms] : options.consumer) {
        std::thread([sim, usage, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            sim->SendConsumerUsage(usage);
        }).detach();
    }
    return true;
}

void SaveSimulatedState(const ProgramOptions& options) {
    CSimKeyboard* sim = SimulatedKeyboard();
    const std::string state = SimulatedStatePath(options);
    if (!sim || state.empty()) return;
    // The default folder may not exist yet on a fresh account.
    const bool saved = (!options.state.empty() || MakeFolders(state.substr(0, state.rfind('/')))) &&
                       sim->WithFirmware([&](CSimFirmware& f) { return f.SaveState(state); });
    if (!saved) std::cerr << "orvane: cannot write the simulated keyboard's state to " << state << "\n";
}

std::string DefaultSimulatedStatePath(int model) {
    return UserStateFolder() + "/orvane/simulated-" + std::to_string(model) + ".state";
}

std::string SimulatedStatePath(const ProgramOptions& options) {
    if (!options.state.empty()) return options.state;
    const int model = SimulatedModel();
    return model ? DefaultSimulatedStatePath(model) : std::string();
}

} // namespace orvane
