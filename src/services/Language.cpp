#include "services/Language.h"

#include <cstdio>

#include "platform/IniFile.h"
#include "services/PathTable.h"
#include "services/UserRegKey.h"

namespace orvane {
namespace {

constexpr uint16_t kEnglishVariants[] = {0x0809, 0x0C09, 0x1009, 0x1409, 0x1809,
                                         0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09};

bool IsSupported(uint32_t id) {
    // Entry 1 (0) is the table's end marker, never a language to choose.
    for (uint16_t supported : kSupportedLanguages)
        if (supported != 0 && supported == id) return true;
    return false;
}

int ClampIndex(int index) {
    return index >= 0 && static_cast<size_t>(index) < kSupportedLanguageCount ? index : 0;
}

std::string LoadFromSection(const char* section, const std::string& key, int index) {
    return IniReadString(LanguageFilePath(index), section, key, kMissingText, kMaxTextChars);
}

} // namespace

bool IsEnglishVariant(uint32_t languageId) {
    for (uint16_t id : kEnglishVariants)
        if (id == languageId) return true;
    return false;
}

uint32_t CurrentLanguageId() {
    // Without the key (not opened, or the store unusable) every read and write
    // fails quietly: the choice is then made again at each lookup.
    CRegistryKey& key = UserRegKey();
    uint32_t id = 0;
    if (std::optional<uint32_t> stored = key.ReadDword(kLanguageValueName))
        id = *stored;
    else
        key.WriteDword(kLanguageValueName, 0);
    if (id != 0) return id;

    id = SystemDefaultLanguageId();
    if (IsEnglishVariant(id)) id = kLanguageEnglishUS;
    if (!IsSupported(id)) id = kLanguageEnglishUS;
    key.WriteDword(kLanguageValueName, id);
    return id;
}

int CurrentLanguageIndex() {
    uint32_t id = CurrentLanguageId();
    for (size_t i = 0; i < kSupportedLanguageCount; ++i)
        if (kSupportedLanguages[i] != 0 && kSupportedLanguages[i] == id) return static_cast<int>(i);
    return 0;
}

std::string LanguageFilePath(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "Lang%04X.ini",
                  static_cast<unsigned>(kSupportedLanguages[ClampIndex(index)]));
    return Paths().ProgramFolder + name;
}

std::string LoadText(const std::string& key, int index) {
    return LoadFromSection("TEXT", key, index);
}
std::string LoadLightText(const std::string& key, int index) {
    return LoadFromSection("LIGHT", key, index);
}
std::string LoadModeText(const std::string& key, int index) {
    return LoadFromSection("MODE", key, index);
}
std::string LoadModeText(int mode, int index) {
    return LoadModeText(std::to_string(mode), index);
}

std::string Text(const std::string& key) {
    return LoadText(key, CurrentLanguageIndex());
}
std::string LightText(const std::string& key) {
    return LoadLightText(key, CurrentLanguageIndex());
}
std::string ModeText(int mode) {
    return LoadModeText(mode, CurrentLanguageIndex());
}

} // namespace orvane
