#pragma once
// The per-user registry stand-in: typed values (string or DWORD) under key
// paths, kept in $XDG_CONFIG_HOME/orvane/registry and rewritten atomically on
// every change. Key paths use the system's own names with backslashes, e.g.
// "Software\\Brislane " (trailing space included). Reads of anything missing,
// corrupt or of the wrong type fail quietly.
#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

class CRegistryKey {
  public:
    CRegistryKey() = default;
    // Opens the key, creating it when it does not exist. False when the store
    // cannot be used at all; the key then stays without a handle and every
    // read or write through it fails quietly.
    bool OpenOrCreate(const std::string& keyPath);
    bool IsOpen() const { return open_; }
    const std::string& Path() const { return path_; }

    std::optional<uint32_t> ReadDword(const std::string& name) const;     // nullopt: missing or not a DWORD
    std::optional<std::string> ReadString(const std::string& name) const; // nullopt: missing or not a string
    bool WriteDword(const std::string& name, uint32_t value);
    bool WriteString(const std::string& name, const std::string& value);

  private:
    std::string path_;
    bool open_ = false;
};

// The framework's profile strings: values by section and entry under the
// application's settings root (Software\\<root>\\<title>\\<section>).
void SetRegistrySettingsRoot(const std::string& root, const std::string& title);
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue);
int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);
// Stored as a DWORD; GetProfileInt reads both forms.
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

// Where the store lives (for tests and diagnostics).
std::string RegistryStorePath();

} // namespace orvane
