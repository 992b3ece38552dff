#pragma once
// The program's arguments after its name, as text, and the one switch of our
// own that the instance check does not look at.
#include <string>
#include <vector>

namespace orvane {

std::vector<std::string> ProgramArguments(int argc, const char* const* argv);

// Takes `--simulate[=126|128]` from the arguments into SimulatedModel() (the
// last one counts). The arguments themselves are left as they are, so
// "/Kill" and "/Start" keep their places.
void ApplySimulateOption(const std::vector<std::string>& args);

} // namespace orvane
