#pragma once
// The keyboard's active on-board profile, and following the keyboard after
// it reported that it returned to its defaults.
namespace orvane {

// The cached active profile, or read from the keyboard when unknown (and
// cached on success); -1 when it cannot be known. A device info record
// naming no profile 0-2 counts as unknown.
int GetActiveProfile();

// Makes `profile` (0-2) the keyboard's active profile: reads the device info,
// sets byte 10 and writes it back. The cache becomes the profile on success
// and -1 on a failed write. Anything outside 0-2 is not sent (0); a failed
// read changes nothing. 1 on success.
int SetActiveProfile(int profile);

// Switches to `profile` without asking: a pending Apply runs first (storing
// the working copy into the old profile's file and sending it), then the
// keyboard switches and the new profile's working profile file becomes the
// working copy. 1 when the keyboard switched.
int SelectProfileSilently(int profile);

// After the keyboard reported its reset (the main window has reset its copy
// of all three profiles' keys): follow the keyboard's active profile and put
// the profiles' per-key colour files back to the template. 1 when the
// keyboard's profile was read, the pending Apply sent, the keyboard is on
// that profile and the colour files were put back; 0 when any of that failed
// (the steps that can still run do).
int FollowKeyboardReset();

} // namespace orvane
