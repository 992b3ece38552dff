#pragma once
// Small text helpers shared by the ini reader, the registry store and the
// command line: the platform compares names without regard to ASCII case.
#include <string>
#include <string_view>

namespace orvane {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view TrimBlanks(std::string_view s); // spaces and tabs at both ends
std::string ToLowerAscii(std::string_view s);    // the ini reader's keys for its lookups

} // namespace orvane
