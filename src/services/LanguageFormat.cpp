// Filling in the one number or path of a format text. The format comes from a
// language file the user may edit, so it is parsed here rather than handed to
// printf: a conversion that does not fit the argument is left as written.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "services/Language.h"

namespace orvane {
namespace {

constexpr int kMaxFieldWidth = static_cast<int>(kMaxTextChars); // wider would be cut anyway

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    size_t length = 0; // characters of the format the conversion took
};

// Parses the conversion that starts at format[pos] == '%'; conversion stays 0
// when it is malformed.
Conversion ParseConversion(std::string_view format, size_t pos) {
    Conversion conv;
    size_t i = pos + 1;
    while (i < format.size() && std::strchr("-+ #0", format[i]) && format[i] != '\0')
        conv.flags += format[i++];
    auto readNumber = [&](int& out) {
        if (i >= format.size() || format[i] < '0' || format[i] > '9') return;
        out = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            out = std::min(out * 10 + (format[i] - '0'), kMaxFieldWidth);
            ++i;
        }
    };
    readNumber(conv.width);
    if (i < format.size() && format[i] == '.') {
        ++i;
        conv.precision = 0;
        readNumber(conv.precision);
    }
    // Length modifiers (including the platform's I64) say nothing we need.
    while (i < format.size() && std::strchr("hlLqjztI", format[i]) && format[i] != '\0') {
        if (format[i] == 'I' && format.substr(i, 3) == "I64")
            i += 3;
        else if (format[i] == 'I' && format.substr(i, 3) == "I32")
            i += 3;
        else
            ++i;
    }
    if (i < format.size()) {
        conv.conversion = format[i];
        conv.length = i + 1 - pos;
    }
    return conv;
}

std::string ConversionPrefix(const Conversion& conv) {
    std::string out = "%" + conv.flags;
    if (conv.width >= 0) out += std::to_string(conv.width);
    if (conv.precision >= 0) out += "." + std::to_string(conv.precision);
    return out;
}

bool IsNumberConversion(char c) {
    return c && std::strchr("diuxXo", c);
}
bool IsStringConversion(char c) {
    return c == 's' || c == 'S';
}

template <typename Fill>
std::string Format(std::string_view format, bool (*accepts)(char), Fill fill, size_t maxChars) {
    std::string out;
    bool filled = false;
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Conversion conv = ParseConversion(format, i);
        if (conv.conversion == 0) { // a lone '%' at the end
            out.append(format.substr(i));
            break;
        }
        if (!filled && accepts(conv.conversion)) {
            out += fill(conv);
            filled = true;
        } else {
            out.append(format.substr(i, conv.length));
        }
        i += conv.length;
    }
    return maxChars ? CutToChars(out, maxChars - 1) : std::string();
}

} // namespace

std::string CutToChars(const std::string& text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // Count lead bytes only, so a cut never splits a character.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == maxChars) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

std::string FormatTextNumber(const std::string& format, long long value, size_t maxChars) {
    return Format(
        format, IsNumberConversion,
        [value](const Conversion& conv) {
            std::string f = ConversionPrefix(conv);
            char buffer[kMaxTextChars * 2 + 64];
            if (conv.conversion == 'd' || conv.conversion == 'i')
                std::snprintf(buffer, sizeof buffer, (f + "lld").c_str(), value);
            else
                std::snprintf(buffer, sizeof buffer, (f + "ll" + conv.conversion).c_str(),
                              static_cast<unsigned long long>(value));
            return std::string(buffer);
        },
        maxChars);
}

std::string FormatTextString(const std::string& format, const std::string& value, size_t maxChars) {
    return Format(
        format, IsStringConversion,
        [&value](const Conversion& conv) {
            std::string text = value;
            if (conv.precision >= 0) text = CutToChars(text, static_cast<size_t>(conv.precision));
            size_t length = 0;
            for (unsigned char ch : text)
                if ((ch & 0xC0) != 0x80) ++length;
            if (conv.width > 0 && length < static_cast<size_t>(conv.width)) {
                std::string pad(static_cast<size_t>(conv.width) - length, ' ');
                text = conv.flags.find('-') != std::string::npos ? text + pad : pad + text;
            }
            return text;
        },
        maxChars);
}

} // namespace orvane
