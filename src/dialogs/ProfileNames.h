#pragma once
// The names people give the keyboard's three on-board profiles. They live in
// the settings (section "PROFILES", "NAME1" to "NAME3"); the working profile
// files keep their own names on disk, so renaming never moves a file.
#include <string>

#include "platform/WriteResult.h"

namespace orvane {

constexpr size_t kProfileNameMaxChars = 40;

// The chosen name of profile 0-2, or its language text ("PROFILE_1" ..) when
// none was chosen; empty outside 0-2.
std::string ProfileName(int profile);

// What a typed name becomes: blanks at both ends dropped, line breaks made
// blanks, cut to kProfileNameMaxChars characters (never inside a character).
std::string CleanProfileName(const std::string& typed);

// Stores the cleaned name; an empty one (or the default text) goes back to
// the default. False when the settings could not be written.
WriteResult SetProfileName(int profile, const std::string& name);

} // namespace orvane
