#pragma once
// The user's language and the texts of the language file beside the
// executable ("Lang%04X.ini"). Every text the user reads is looked up here by
// key at each use; the ini reader reuses a parse only while the file is
// unchanged on disk, so an edited file shows at once.
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

constexpr uint16_t kLanguageEnglishUS = 0x0409;
constexpr const char* kLanguageValueName = "dwLanguageId"; // DWORD in the user's registry key
constexpr size_t kMaxTextChars = 260;                      // a text is cut to kMaxTextChars - 1 characters
constexpr const char* kMissingText = "#Error";             // a missing key, section or file

// Languages the program ships a file for; a language index is a position here.
constexpr size_t kSupportedLanguageCount = 2;
constexpr uint16_t kSupportedLanguages[kSupportedLanguageCount] = {kLanguageEnglishUS, 0};

// The stored language identifier, choosing (from the desktop's locale) and
// storing one first when none is stored yet.
uint32_t CurrentLanguageId();

// Position of CurrentLanguageId() in kSupportedLanguages, 0 when it is not there.
int CurrentLanguageIndex();

// The value of `key` in section TEXT, LIGHT or MODE of the language file of
// supported-table entry `index` (outside the table counts as 0). "#Error" when
// the key or the file is missing; an empty value stays empty.
std::string LoadText(const std::string& key, int index);
std::string LoadLightText(const std::string& key, int index);
std::string LoadModeText(const std::string& key, int index);
// Mode names are keyed by their number written in decimal ("1" to "20").
std::string LoadModeText(int mode, int index);

// The same with the current language, for callers that do not keep an index.
std::string Text(const std::string& key);
std::string LightText(const std::string& key);
std::string ModeText(int mode);

// Full path of the language file of supported-table entry `index`.
std::string LanguageFilePath(int index);

// The desktop's language as a Windows language identifier, taken from
// LC_ALL, LC_MESSAGES, then LANG (the first one set and not empty); 0x0409
// when none names a language we know.
uint16_t SystemDefaultLanguageId();

// Maps a POSIX locale name ("en_GB.UTF-8", "de_DE@euro", "fr") to a Windows
// language identifier; 0 for "C", "POSIX", an empty or an unknown name.
uint16_t LanguageIdFromLocaleName(const std::string& localeName);

// True for the ten English identifiers that the program treats as 0x0409.
bool IsEnglishVariant(uint32_t languageId);

// Texts that are printf-style formats with one number or one path. A format
// comes from a file the user may edit, so only the one expected conversion is
// filled in (flags, width and precision honoured); any other conversion, a
// second one or a malformed one is copied literally, so a bad file can never
// make the program read arguments that are not there. The result is cut to
// `maxChars - 1` characters.
std::string FormatTextNumber(const std::string& format, long long value, size_t maxChars = kMaxTextChars);
std::string FormatTextString(const std::string& format, const std::string& value,
                             size_t maxChars = kMaxTextChars);

// Cuts a UTF-8 text to at most `maxChars` characters (code points), never
// inside a character.
std::string CutToChars(const std::string& text, size_t maxChars);

} // namespace orvane
