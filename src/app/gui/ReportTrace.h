#pragma once
// A wire trace of a real keyboard: every command report the program writes
// ("> ") and every one it reads back ("< "), as 64 lowercase hex bytes per
// line, the same form the simulated keyboard writes. It wraps the HID
// backend, so the device code is traced as it runs, unchanged.
#include <string>

namespace orvane {

// Installs the tracing backend over the current one; false when `path`
// cannot be written.
bool InstallReportTrace(const std::string& path);

} // namespace orvane
