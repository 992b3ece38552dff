#pragma once
// The per-user registry stand-in: typed values (string or DWORD) under key
// paths, kept in $XDG_CONFIG_HOME/orvane/registry and rewritten atomically on
// every change. Key paths use the system's own names with backslashes, e.g.
// "Software\\Brislane " (trailing space included). Reads of anything missing,
// corrupt or of the wrong type fail quietly (the caller's default stands);
// a write that fails names the store and the reason.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "platform/WriteResult.h"

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
    WriteResult WriteDword(const std::string& name, uint32_t value);
    WriteResult WriteString(const std::string& name, const std::string& value);

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
WriteResult WriteProfileString(const std::string& section, const std::string& entry,
                               const std::string& value);
// Several strings of one section with one rewrite of the store: all or none.
WriteResult WriteProfileStrings(const std::string& section,
                                std::span<const std::pair<std::string, std::string>> values);
// Stored as a DWORD; GetProfileInt reads both forms.
WriteResult WriteProfileInt(const std::string& section, const std::string& entry, int value);

// Where the store lives (for tests and diagnostics).
std::string RegistryStorePath();

} // namespace orvane
