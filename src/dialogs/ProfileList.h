#pragma once
// The rows of the profile manager's list and the list Apply records in the
// settings (section "PROFILES": "PROFILE01", "PROFILE02" ... the paths,
// "PROFILE00" their number).
#include <string>
#include <vector>

#include "platform/WriteResult.h"

namespace orvane {

constexpr const char* kProfileListSection = "PROFILES";
constexpr const char* kProfileListValuePrefix = "PROFILE";

struct ProfileListRow {
    std::string path;
    int profile = -1; // 0-2 for a working profile file, -1 for an added or loaded file
};

// One row per on-board profile, for its working profile file.
std::vector<ProfileListRow> WorkingProfileRows();

// A row's file name without its extension, and its folder (trailing '/').
std::string ProfileRowName(const std::string& path);
std::string ProfileRowFolder(const std::string& path);

// "PROFILE" and the number in two digits at least ("PROFILE01", "PROFILE00").
std::string ProfileListValueName(int number);

// Records the rows' paths under "PROFILE01".. and their count under
// "PROFILE00". The paths are the files' own, extension included. One rewrite
// of the settings: the whole list is stored or, on failure, none of it.
WriteResult WriteProfileList(const std::vector<ProfileListRow>& rows);

} // namespace orvane
