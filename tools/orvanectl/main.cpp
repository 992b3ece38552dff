// orvanectl: the command-line front end. Global options first, then commands
// separated by a lone "+", run in order against the same keyboard.
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CtlCommand.h"
#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "DeviceCtl.h"
#include "platform/InstanceLock.h"
#include "Reasons.h"
#include "sim/SimFaults.h"
#include "sim/SimInstall.h"

namespace {

struct GlobalOptions {
    int simulate = 0; // 0: real keyboard, else 126 or 128
    std::string trace;
    std::vector<orvane::SimFault> faults;
    bool pace = false;
    std::string state;
    std::vector<std::pair<uint16_t, uint32_t>> consumer; // usage, milliseconds after start
};

// Takes the value of "--name VALUE" or "--name=VALUE".
std::optional<std::string> OptionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    }
    if (a.rfind(name + "=", 0) == 0) return a.substr(name.size() + 1);
    return std::nullopt;
}

bool IsOption(const std::string& a, const std::string& name) {
    return a == name || a.rfind(name + "=", 0) == 0;
}

// False on a malformed option, with the reason in `why`; `i` ends at the
// first command word.
bool ParseOptions(const std::vector<std::string>& args, size_t& i, GlobalOptions& o, std::string& why) {
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        const std::string& a = args[i];
        if (a == "--simulate") {
            o.simulate = 128;
        } else if (a == "--simulate=126" || a == "--simulate=128") {
            o.simulate = std::stoi(a.substr(11));
        } else if (IsOption(a, "--simulate")) {
            why = "the simulated keyboard has 126 or 128 keys, not " + a.substr(11);
            return false;
        } else if (IsOption(a, "--trace")) {
            auto v = OptionValue(args, i, "--trace");
            if (!v || v->empty()) return (why = "--trace needs a file"), false;
            o.trace = *v;
        } else if (IsOption(a, "--sim-fault")) {
            auto v = OptionValue(args, i, "--sim-fault");
            orvane::SimFault f;
            if (!v || !orvane::ParseSimFault(*v, &f))
                return (why = "--sim-fault: not a fault: " + v.value_or("")), false;
            o.faults.push_back(f);
        } else if (IsOption(a, "--sim-consumer")) {
            // USAGE[@MS]: the keyboard sends this consumer usage MS ms after start.
            auto v = OptionValue(args, i, "--sim-consumer");
            why = "--sim-consumer: not USAGE[@MS]: " + v.value_or("");
            if (!v) return false;
            size_t at = v->find('@');
            auto usage = orvanectl::ParseNumber(v->substr(0, at), 0xFFFF);
            auto ms = at == std::string::npos ? std::optional<uint32_t>(0)
                                              : orvanectl::ParseNumber(v->substr(at + 1), 3600000);
            if (!usage || !ms) return false;
            why.clear();
            o.consumer.emplace_back(static_cast<uint16_t>(*usage), *ms);
        } else if (a == "--sim-pace") {
            o.pace = true;
        } else if (IsOption(a, "--sim-state")) {
            auto v = OptionValue(args, i, "--sim-state");
            if (!v || v->empty()) return (why = "--sim-state needs a file"), false;
            o.state = *v;
        } else {
            why = "no option " + a;
            return false;
        }
    }
    // The simulated keyboard's options mean nothing for a real one.
    if (!o.simulate &&
        (!o.trace.empty() || !o.faults.empty() || o.pace || !o.state.empty() || !o.consumer.empty())) {
        why = "--trace and the --sim- options are for the simulated keyboard: add --simulate";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) args[0] = "help";
    size_t i = 0;
    GlobalOptions options;
    std::string why;
    if (!ParseOptions(args, i, options, why)) {
        std::cerr << "orvanectl: " << why << "\n";
        orvanectl::PrintUsage(std::cerr);
        return orvanectl::kUsage;
    }
    std::vector<std::vector<std::string>> commands(1);
    for (; i < args.size(); ++i) {
        if (args[i] == "+")
            commands.emplace_back();
        else
            commands.back().push_back(args[i]);
    }
    bool needsKeyboard = false;
    for (const auto& c : commands) {
        const orvanectl::CtlCommand* cmd = c.empty() ? nullptr : orvanectl::FindCommand(c[0]);
        if (!cmd) {
            // Without any command the listing alone is the answer.
            if (!c.empty() || commands.size() > 1)
                std::cerr << "orvanectl: "
                          << (c.empty() ? "a \"+\" with no command after it" : "no command \"" + c[0] + "\"")
                          << "\n";
            orvanectl::PrintUsage(std::cerr);
            return orvanectl::kUsage;
        }
        needsKeyboard |= cmd->needsKeyboard;
    }

    orvane::CSimKeyboard* sim = nullptr;
    if (options.simulate) {
        sim = &orvane::InstallSimulatedKeyboard(options.simulate);
        if (!orvane::LoadSimulatedStateIfPresent(*sim, options.state)) {
            std::cerr << "orvanectl: " << options.state << " is not a state of the simulated "
                      << options.simulate << "-key keyboard; nothing was run\n";
            return orvanectl::kUsage;
        }
        for (const auto& f : options.faults)
            sim->AddFault(f);
        sim->SetPacing(options.pace);
        if (!options.trace.empty() && !sim->SetTraceFile(options.trace)) {
            std::cerr << "orvanectl: cannot write " << options.trace << ": " << std::strerror(errno) << "\n";
            return orvanectl::kFailed;
        }
    }
    if (needsKeyboard && !options.simulate) {
        // The keyboard matches replies to requests only by their order, so
        // two programs must never talk to it at once. A simulated keyboard is
        // private to this process and needs no such care.
        orvane::CInstanceMutex instance;
        if (instance.OpenOrCreate(orvane::InstanceLockPath()) ==
            orvane::CInstanceMutex::Result::AlreadyExists) {
            std::cerr << "orvanectl: the Orvane program (orvane) is running and owns the keyboard; "
                         "close it first, or use --simulate\n";
            return orvanectl::kFailed;
        }
    }
    for (auto [usage, ms] : options.consumer) {
        std::thread([sim, usage, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            sim->SendConsumerUsage(usage);
        }).detach();
    }
    if (needsKeyboard) {
        if (!orvane::OpenCommandInterface(orvane::g_HidDevice)) {
            std::cerr << orvanectl::kNoKeyboard;
            return orvanectl::kFailed;
        }
        orvane::g_DeviceOpen.store(1); // orvanectl stands in for the connection monitor
    }

    int result = orvanectl::kOk;
    for (const auto& c : commands) {
        const orvanectl::CtlCommand* cmd = orvanectl::FindCommand(c[0]);
        std::vector<std::string> rest(c.begin() + 1, c.end());
        int r = cmd->run(rest, std::cout, std::cerr);
        if (r == orvanectl::kUsage) {
            result = r;
            break;
        }
        if (r != orvanectl::kOk) result = orvanectl::kFailed;
    }
    std::cout.flush();
    orvane::g_DeviceOpen.store(0);
    orvane::g_HidDevice.Close();
    if (sim && !options.state.empty() &&
        !sim->WithFirmware([&](orvane::CSimFirmware& f) { return f.SaveState(options.state); })) {
        std::cerr << "orvanectl: cannot write the simulated keyboard's state to " << options.state << "\n";
        result = orvanectl::kFailed;
    }
    return result;
}
