#pragma once
// The window system's settings the program makes before its application
// object exists; a value the user has set is left as it is.
namespace orvane {

void PreparePlatformEnvironment();

} // namespace orvane
