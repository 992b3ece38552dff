#include "dialogs/ProfileList.h"

#include <cstdio>
#include <filesystem>

#include "device/DeviceCommands.h"
#include "model/ProfileFile.h"
#include "platform/Registry.h"

namespace orvane {

std::vector<ProfileListRow> WorkingProfileRows() {
    std::vector<ProfileListRow> rows;
    for (int p = 0; p < PROFILE_COUNT; ++p)
        rows.push_back({WorkingProfilePath(p), p});
    return rows;
}

std::string ProfileRowName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

std::string ProfileRowFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ProfileListValueName(int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return kProfileListValuePrefix + std::string(digits);
}

WriteResult WriteProfileList(const std::vector<ProfileListRow>& rows) {
    // The working profile files have no extension, and a loaded file keeps
    // its own: folder + name + ".fwc" would name files that do not exist.
    std::vector<std::pair<std::string, std::string>> values;
    for (size_t i = 0; i < rows.size(); ++i)
        values.emplace_back(ProfileListValueName(static_cast<int>(i) + 1), rows[i].path);
    values.emplace_back(ProfileListValueName(0), std::to_string(rows.size()));
    return WriteProfileStrings(kProfileListSection, values);
}

} // namespace orvane
