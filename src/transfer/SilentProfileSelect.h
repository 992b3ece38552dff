#pragma once
// The profile switch that following a keyboard reset uses. The window layers
// install their own (it also refreshes the profile menu and the profile
// manager); until then SelectProfileSilently serves.
namespace orvane {

using SilentProfileSelector = int (*)(int profile);

// Null puts SelectProfileSilently back.
void SetSilentProfileSelector(SilentProfileSelector selector);

// Switches to `profile` without asking, with the installed selector. 1 when
// the switch was made.
int SelectProfileWithoutAsking(int profile);

} // namespace orvane
