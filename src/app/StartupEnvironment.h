#pragma once
// The first steps of start-up, before any window exists: settings root, path
// table and the per-user registry key.
namespace orvane {

void PrepareStartupEnvironment();

} // namespace orvane
