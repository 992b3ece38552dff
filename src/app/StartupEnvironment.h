#pragma once
// The first four steps of start-up, before any window exists: settings root,
// path table, the per-user registry key and the two configuration locks.
namespace orvane {

void PrepareStartupEnvironment();
// After the main window has returned: the locks go, in reverse order.
void ReleaseStartupEnvironment();

} // namespace orvane
