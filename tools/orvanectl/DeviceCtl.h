#pragma once
// Helpers the device command groups of orvanectl share: argument parsing and
// the output format scripts rely on (lowercase hex, single spaces).
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvanectl {

// Decimal or 0x-hexadecimal, within [0, max].
std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t max);
// Bytes from hex words ("03", "2c", or runs like "032c"); nullopt when malformed.
std::optional<std::vector<uint8_t>> ParseHexBytes(const std::vector<std::string>& words);
// Hex words, or "@FILE" for the raw bytes of a file; nullopt (with a message
// on err) when malformed or unreadable.
std::optional<std::vector<uint8_t>> ParseDataArgs(const std::vector<std::string>& words, std::ostream& err);
std::string HexLine(const uint8_t* bytes, size_t n);
// Prints "status N" and turns a device result into an exit code. A failure
// adds its reason: `reason` when given, else the words for a device status.
int FinishCommand(std::ostream& out, int status, const char* reason = nullptr);
int UsageError(std::ostream& err, const char* name, const char* usage);

} // namespace orvanectl
