#include "dialogs/ProfileNames.h"

#include <cerrno>

#include "device/DeviceCommands.h"
#include "platform/Registry.h"
#include "platform/StringUtil.h"
#include "services/Language.h"

namespace orvane {
namespace {

constexpr const char* kSection = "PROFILES";

bool InRange(int profile) {
    return profile >= 0 && profile < PROFILE_COUNT;
}

std::string ValueName(int profile) {
    return "NAME" + std::to_string(profile + 1);
}

std::string DefaultName(int profile) {
    return Text("PROFILE_" + std::to_string(profile + 1));
}

} // namespace

std::string CleanProfileName(const std::string& typed) {
    std::string name = typed;
    for (char& c : name)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    name = std::string(TrimBlanks(name));
    // Counted in characters: UTF-8 continuation bytes do not start one.
    size_t chars = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        if ((static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) continue;
        if (++chars > kProfileNameMaxChars) {
            name.resize(i);
            return std::string(TrimBlanks(name));
        }
    }
    return name;
}

std::string ProfileName(int profile) {
    if (!InRange(profile)) return {};
    const std::string stored = CleanProfileName(GetProfileString(kSection, ValueName(profile), ""));
    return stored.empty() ? DefaultName(profile) : stored;
}

WriteResult SetProfileName(int profile, const std::string& name) {
    if (!InRange(profile)) return WriteFailed({}, EINVAL);
    std::string clean = CleanProfileName(name);
    if (clean == DefaultName(profile)) clean.clear(); // follows the language again
    return WriteProfileString(kSection, ValueName(profile), clean);
}

} // namespace orvane
