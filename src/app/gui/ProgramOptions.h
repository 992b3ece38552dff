#pragma once
// The program's own options beside "/Kill" and "/Start": the simulated
// keyboard's (the same as orvanectl's) and a wire trace that also works with
// a real keyboard. Everything else on the command line is left to the
// instance check, which ignores what it does not know.
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sim/SimFaults.h"

namespace orvane {

struct ProgramOptions {
    bool help = false;
    std::string trace;                                   // --trace FILE
    std::vector<SimFault> faults;                        // --sim-fault FAULT
    bool pace = false;                                   // --sim-pace
    std::string state;                                   // --sim-state FILE
    bool reset = false;                                  // --sim-reset
    std::vector<std::pair<uint16_t, uint32_t>> consumer; // --sim-consumer USAGE[@MS]
    std::vector<std::string> errors;                     // one line per bad option
};

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args);
void PrintProgramUsage(std::ostream& out);

// After the simulated keyboard is installed (when asked for) and before the
// device threads start: faults, pacing, saved state, consumer reports and
// the trace. Options of the simulated keyboard without one are reported on
// stderr and ignored. False, with the reason on stderr and nothing else
// applied, when the --sim-state file exists but is not a state of the
// simulated model: the program must then not run (and never save over it).
bool ApplyProgramOptions(const ProgramOptions& options);
// At the end of the run: the simulated keyboard's state into its file; a
// state that cannot be written is reported on stderr.
void SaveSimulatedState(const ProgramOptions& options);

// Where the simulated keyboard's memory is kept without --sim-state: one file
// per model in the user's state folder, as a real keyboard keeps its own.
std::string DefaultSimulatedStatePath(int model);
// The file in use: --sim-state, else the default of the simulated model;
// empty without a simulated keyboard.
std::string SimulatedStatePath(const ProgramOptions& options);

} // namespace orvane
