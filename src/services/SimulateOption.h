#pragma once
// The program's own switch `--simulate[=126|128]`: run against the built-in
// simulated keyboard of that many key positions. Read by the device layer.
#include <optional>
#include <string>

namespace orvane {

constexpr int kDefaultSimulatedModel = 128;

// 0 when the program talks to real keyboards, else 126 or 128.
int SimulatedModel();
void SetSimulatedModel(int model);

// The model an argument asks for, or nullopt when it is not the switch (or
// names a model that does not exist).
std::optional<int> ParseSimulateArgument(const std::string& arg);

} // namespace orvane
