#pragma once
// UTF-16 (as records and files hold names and texts) to UTF-8 (as the rest
// of the program holds text). Unpaired surrogates become U+FFFD instead of
// being dropped or passed on.
#include <string>

namespace orvane {

std::string Utf16ToUtf8(const std::u16string& text);

} // namespace orvane
