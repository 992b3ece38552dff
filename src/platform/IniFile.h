#pragma once
// Private-profile (ini) files: sections and keys compare case-insensitively,
// anything missing gives the default, a write keeps every other line and
// comment and replaces the file atomically (temporary file + rename). UTF-8.
#include <span>
#include <string>
#include <utility>

#include "platform/WriteResult.h"

namespace orvane {

// The value of `key` in `section`, cut to at most `maxChars - 1` characters
// (the caller's buffer size, as the platform call counts it, terminator
// included). Surrounding blanks are trimmed; a missing file, section or key
// gives `defaultValue` (cut the same way).
std::string IniReadString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t maxChars = 260);

// The value read as a decimal integer (leading sign and digits; the rest is
// ignored); a missing key or a value that does not start with a number gives
// `defaultValue`.
int IniReadInt(const std::string& path, const std::string& section, const std::string& key, int defaultValue);

// Sets `key` in `section`, creating the file and the section when missing.
// On failure the old file stays whole and the result says why.
WriteResult IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& value);

// Sets several keys of one section with one rewrite of the file, as if each
// were written in turn. On any failure the old file stays whole.
WriteResult IniWriteStrings(const std::string& path, const std::string& section,
                            std::span<const std::pair<std::string, std::string>> values);

// Removes `key` from `section`; done when the file is as asked afterwards.
WriteResult IniDeleteKey(const std::string& path, const std::string& section, const std::string& key);

} // namespace orvane
