// The desktop's locale as a Windows language identifier. Only the choice
// "English or not" matters today, but the main languages are named so that a
// German or French desktop is told apart from an unknown one.
#include <cstdlib>
#include <string_view>

#include "platform/StringUtil.h"
#include "services/Language.h"

namespace orvane {
namespace {

struct LocaleLanguage {
    const char* language; // ISO 639 code, lower case
    const char* country;  // ISO 3166 code, upper case; "" for the language's default
    uint16_t id;
};

// clang-format off
constexpr LocaleLanguage kLocaleLanguages[] = {
    {"en", "",   0x0409}, {"en", "US", 0x0409}, {"en", "GB", 0x0809}, {"en", "AU", 0x0C09},
    {"en", "CA", 0x1009}, {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09},
    {"en", "JM", 0x2009}, {"en", "BZ", 0x2809}, {"en", "TT", 0x2C09}, {"en", "ZW", 0x3009},
    {"en", "PH", 0x3409}, {"en", "IN", 0x4009}, {"en", "MY", 0x4409}, {"en", "SG", 0x4809},
    {"de", "",   0x0407}, {"de", "CH", 0x0807}, {"de", "AT", 0x0C07}, {"de", "LU", 0x1007},
    {"fr", "",   0x040C}, {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C},
    {"es", "",   0x0C0A}, {"es", "MX", 0x080A}, {"es", "AR", 0x2C0A}, {"es", "US", 0x540A},
    {"it", "",   0x0410}, {"it", "CH", 0x0810},
    {"pt", "",   0x0816}, {"pt", "BR", 0x0416},
    {"nl", "",   0x0413}, {"nl", "BE", 0x0813},
    {"zh", "",   0x0804}, {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04},
    {"zh", "SG", 0x1004},
    {"ja", "",   0x0411}, {"ko", "",   0x0412}, {"ru", "",   0x0419}, {"uk", "",   0x0422},
    {"pl", "",   0x0415}, {"cs", "",   0x0405}, {"sk", "",   0x041B}, {"hu", "",   0x040E},
    {"ro", "",   0x0418}, {"bg", "",   0x0402}, {"el", "",   0x0408}, {"tr", "",   0x041F},
    {"sv", "",   0x041D}, {"da", "",   0x0406}, {"fi", "",   0x040B}, {"nb", "",   0x0414},
    {"no", "",   0x0414}, {"nn", "",   0x0814}, {"is", "",   0x040F}, {"et", "",   0x0425},
    {"lv", "",   0x0426}, {"lt", "",   0x0427}, {"sl", "",   0x0424}, {"hr", "",   0x041A},
    {"sr", "",   0x081A}, {"ar", "",   0x0401}, {"he", "",   0x040D}, {"fa", "",   0x0429},
    {"hi", "",   0x0439}, {"th", "",   0x041E}, {"vi", "",   0x042A}, {"id", "",   0x0421},
    {"ms", "",   0x043E}, {"ca", "",   0x0403}, {"eu", "",   0x042D}, {"gl", "",   0x0456},
};
// clang-format on

} // namespace

uint16_t LanguageIdFromLocaleName(const std::string& localeName) {
    // language[_COUNTRY][.codeset][@modifier]
    std::string_view name = localeName;
    name = name.substr(0, name.find_first_of(".@"));
    std::string_view language = name.substr(0, name.find_first_of("_-"));
    std::string_view country;
    if (language.size() < name.size()) country = name.substr(language.size() + 1);
    if (language.empty() || EqualsNoCase(language, "C") || EqualsNoCase(language, "POSIX")) return 0;

    uint16_t fallback = 0;
    for (const LocaleLanguage& l : kLocaleLanguages) {
        if (!EqualsNoCase(language, l.language)) continue;
        if (EqualsNoCase(country, l.country)) return l.id;
        if (l.country[0] == '\0') fallback = l.id;
    }
    return fallback;
}

uint16_t SystemDefaultLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        // The first variable that is set decides, as it does for every other
        // program; "C" or an unknown name falls back to English.
        uint16_t id = LanguageIdFromLocaleName(value);
        return id ? id : kLanguageEnglishUS;
    }
    return kLanguageEnglishUS;
}

} // namespace orvane
