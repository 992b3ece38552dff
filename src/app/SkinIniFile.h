#pragma once
// The small reader the skinned dialog base uses for its "SCREEN" values.
#include <memory>
#include <string>

namespace orvane {

class CIniFile {
  public:
    static constexpr size_t kMaxValueChars = 2047;

    CIniFile() = default;
    // Remembers the file. A path too long for the system is refused (nothing
    // is read), never cut short: a cut path names another file.
    void Load(const std::string& path);
    const std::string& Path() const { return m_path; }

    // The value of section/key, at most 2047 characters; null when the value
    // is empty or missing. The caller owns the result.
    std::unique_ptr<std::string> GetString(const std::string& section, const std::string& key) const;

  private:
    std::string m_path;
};

} // namespace orvane
