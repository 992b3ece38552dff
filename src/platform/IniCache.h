#pragma once
// Parsed ini files kept between reads. Texts and skin values are looked up by
// key at every use, and parsing the whole file each time made every lookup
// cost tens of microseconds. A parse is reused only while the file keeps its
// identity (device, inode), size and change times, so a file edited or
// replaced on disk is read anew at the next lookup. File times tick
// coarsely, so a file changed in the last two seconds is not kept at all.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane {

// Sections and keys by lower-case name. Only the first section of a name
// counts, and in it the first key of a name; values are trimmed and unquoted.
class CIniIndex {
  public:
    explicit CIniIndex(std::string_view text);
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  private:
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_sections;
};

// The parse of `path`, from the cache while the file is unchanged; null when
// the file cannot be read.
std::shared_ptr<const CIniIndex> CachedIniIndex(const std::string& path);

// Drops the cached parse of `path` (after the program itself wrote it).
void ForgetIniFile(const std::string& path);

// Number of files whose parse is kept, for tests.
size_t IniCacheSize();
// Test hook: how long ago a file must have last changed for its parse to be
// kept (negative: the default of 2 s).
void SetIniSettleTimeForTests(int64_t nanoseconds);

} // namespace orvane
