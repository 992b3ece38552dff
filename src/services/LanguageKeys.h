#pragma once
// Every key the program looks up in the language file, in one list, so a test
// can check the shipped file against it. Whoever adds a lookup adds its key to
// LanguageKeys.cpp.
#include <cstddef>

namespace orvane {

enum class LanguageSection { Text, Light, Mode };

// What a text is filled in with, when it is a format (see FormatTextNumber).
enum class LanguageFormat { None, Number, String };

struct LanguageKeyEntry {
    LanguageSection section;
    const char* key;
    LanguageFormat format = LanguageFormat::None;
};

// The list, grouped by the window or routine that uses the keys.
const LanguageKeyEntry* LanguageKeys(size_t* count);

// "TEXT", "LIGHT" or "MODE".
const char* LanguageSectionName(LanguageSection section);

} // namespace orvane
