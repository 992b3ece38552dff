// Display names of keys, from the language file.
#include <cstring>

#include "model/KeyTables.h"
#include "services/Language.h"

namespace orvane {

std::string GetKeyName(ScanCode code) {
    const int language = CurrentLanguageIndex();
    const KeyTableRow& row = KeyTableRowAt(ScanCodeToIndex(code));
    std::string text;
    if (row.textKey[0] != '\0') text = LoadText(row.textKey, language);
    if (text.empty()) text = FormatTextNumber(LoadText("UNKNOWN_KEY", language), code);
    return CutToChars(text, kMaxTextChars - 1);
}

size_t GetKeyName(ScanCode code, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    std::string text = GetKeyName(code);
    size_t length = text.size();
    if (length > size - 1) {
        length = size - 1;
        // Back off to a character boundary.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

std::string GetKeyIdName(uint16_t id) {
    ScanCode code = KeyIdToScanCode(id);
    if (code == kScanNone) return {};
    const KeyTableRow& row = KeyTableRowAt(ScanCodeToIndex(code));
    if (row.textKey[0] == '\0') return {};
    return LoadText(row.textKey, CurrentLanguageIndex());
}

} // namespace orvane
