// Format texts come from a language file the user may edit: no format, number
// or path may make the filler read past its input or produce an over-long text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "services/Language.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // First byte: how much of the rest is the format; the remainder is the argument.
    const char* text = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    const size_t split = length ? data[0] % (length + 1) : 0;
    const std::string format(text, split);
    const std::string rest(text + split, length - split);
    long long number = 0;
    for (size_t i = 0; i < rest.size() && i < 8; ++i)
        number = (number << 8) | static_cast<uint8_t>(rest[i]);

    auto chars = [](const std::string& s) {
        size_t n = 0;
        for (unsigned char c : s)
            n += (c & 0xC0) != 0x80;
        return n;
    };
    if (chars(orvane::FormatTextNumber(format, number)) > orvane::kMaxTextChars - 1) std::abort();
    if (chars(orvane::FormatTextString(format, rest)) > orvane::kMaxTextChars - 1) std::abort();
    if (chars(orvane::CutToChars(rest, 7)) > 7) std::abort();
    return 0;
}
