// Paths of the user data files and the reads and writes of their values.
#include "model/UserData.h"

#include <cctype>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/IniFile.h"
#include "services/PathTable.h"

namespace orvane {

namespace {

constexpr size_t kValueChars = 260; // the read buffer every value goes through
constexpr const char* kPresentSection = "PRESENTMODE";
constexpr const char* kPresentKey = "mode";
constexpr const char* kNameSection = "MODENAME";
constexpr const char* kDefaultSetName = "0";
constexpr const char* kDefaultKeyColour = "255,0,0,1";

std::string SetSection(int set) {
    return "Mode" + std::to_string(set);
}

std::string ReadValue(int profile, const std::string& section, const std::string& key, const char* fallback) {
    const std::string path = UserDataFilePath(profile);
    if (path.empty()) return fallback;
    return IniReadString(path, section, key, fallback, kValueChars);
}

// A profile without a file (outside 0-2, or the per-user paths not built) has
// nothing to keep, as its reads give the defaults.
WriteResult WriteValue(int profile, const std::string& section, const std::string& key,
                       const std::string& value) {
    const std::string path = UserDataFilePath(profile);
    return path.empty() ? Written(path) : IniWriteString(path, section, key, value);
}

std::string RgbText(Colour c) {
    return std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," + std::to_string(BlueOf(c));
}

std::string KeyColourText(Colour c, int flag) {
    return RgbText(c) + "," + std::to_string(flag);
}

Colour ColourOf(const int* rgb) {
    return MakeColour(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                      static_cast<uint8_t>(rgb[2]));
}

Colour ReadRgb(int profile, int set, const char* key) {
    int rgb[3];
    ParseNumberList(ReadValue(profile, SetSection(set), key, "0,0,0"), rgb, 3);
    return ColourOf(rgb);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

} // namespace

// -------------------------------------------------------------------- paths

std::string UserFolderPath() {
    const CPathTable& paths = Paths();
    const std::string folder = FolderOf(paths.UserSettingsFile);
    return folder.empty() ? FolderOf(paths.UserDataPrefix) : folder;
}

std::string UserDataFilePath(int profile) {
    const std::string& prefix = Paths().UserDataPrefix;
    if (prefix.empty() || profile < 0 || profile >= kUserDataProfileCount) return {};
    return prefix + std::to_string(profile) + kUserDataExtension;
}

std::string UserDataTemplatePath() {
    const std::string& prefix = Paths().DefaultUserDataPrefix;
    return prefix.empty() ? std::string() : prefix + std::to_string(kTemplateFileNumber) + kUserDataExtension;
}

// ------------------------------------------------------------------ parsing

void ParseNumberList(const std::string& text, int* numbers, int count) {
    for (int i = 0; i < count; ++i)
        numbers[i] = 0;
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') return;
            ++pos;
        }
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
            ++pos;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
        if (pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return;
        // Saturate instead of overflowing on an absurdly long number.
        long long value = 0;
        for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
            if (value <= INT_MAX) value = value * 10 + (text[pos] - '0');
        if (negative) value = -value;
        numbers[i] = static_cast<int>(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
    }
}

// ------------------------------------------------------------------- values

int ReadPresentSet(int profile) {
    int set = 0;
    ParseNumberList(ReadValue(profile, kPresentSection, kPresentKey, "0"), &set, 1);
    // A set that does not exist would show an empty list entry and take
    // renames nowhere; such a file is read as if the value were missing.
    return set >= 0 && set < kColourSetCount ? set : 0;
}

WriteResult WritePresentSet(int profile, int set) {
    return WriteValue(profile, kPresentSection, kPresentKey, std::to_string(set));
}

std::string ReadSetName(int profile, int set) {
    return ReadValue(profile, kNameSection, std::to_string(set), kDefaultSetName);
}

WriteResult WriteSetName(int profile, int set, const std::string& name) {
    // A line break would end the value and start a line of its own in the file.
    std::string oneLine = name;
    for (char& c : oneLine)
        if (c == '\n' || c == '\r') c = ' ';
    return WriteValue(profile, kNameSection, std::to_string(set), oneLine);
}

KeyColourEntry ReadKeyColour(int profile, int set, int led) {
    int v[4];
    ParseNumberList(ReadValue(profile, SetSection(set), std::to_string(led), kDefaultKeyColour), v, 4);
    return {ColourOf(v), v[3] != 0 ? 1 : 0};
}

WriteResult WriteKeyColour(int profile, int set, int led, Colour colour, int flag) {
    return WriteValue(profile, SetSection(set), std::to_string(led), KeyColourText(colour, flag));
}

PaintSettings ReadPaintSettings(int profile, int set) {
    PaintSettings s;
    ParseNumberList(ReadValue(profile, SetSection(set), "tool", "0"), &s.tool, 1);
    s.linkedColour = ReadRgb(profile, set, "jcolor");
    s.ownColour = ReadRgb(profile, set, "color");
    return s;
}

WriteResult WritePaintSettings(int profile, int set, const PaintSettings& settings,
                               std::span<const PaintedKey> keys) {
    const std::string path = UserDataFilePath(profile);
    if (path.empty()) return Written(path);
    std::vector<std::pair<std::string, std::string>> values = {{"tool", std::to_string(settings.tool)},
                                                               {"jcolor", RgbText(settings.linkedColour)},
                                                               {"color", RgbText(settings.ownColour)}};
    for (const PaintedKey& key : keys)
        values.emplace_back(std::to_string(key.led), KeyColourText(key.colour, key.flag));
    return IniWriteStrings(path, SetSection(set), values);
}

} // namespace orvane
