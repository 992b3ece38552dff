#pragma once
// Where things are: the running executable and the per-user folders of the
// XDG base directory rules (each overridable by its environment variable, so
// tests run in a temporary home).
#include <climits>
#include <string>

#include "platform/WriteResult.h"

namespace orvane {

// The longest path the system accepts, terminator included.
constexpr size_t kMaxPath = PATH_MAX;

std::string ExecutablePath();                            // from /proc/self/exe
std::string ProgramFolderOf(const std::string& exePath); // folder with trailing '/'
std::string UserDataFolder();                            // $XDG_DATA_HOME or ~/.local/share (no trailing '/')
std::string UserConfigFolder();                          // $XDG_CONFIG_HOME or ~/.config
std::string UserStateFolder();                           // $XDG_STATE_HOME or ~/.local/state
std::string HomeFolder();                                // $HOME, else the password database's entry
std::string FileNameOf(const std::string& path);         // the part after the last '/'

// A per-user file in the runtime folder: $XDG_RUNTIME_DIR/<stem><extension>,
// or /tmp/<stem>-<uid><extension> when the variable is unset.
// The folder of the runtime files for a value of XDG_RUNTIME_DIR: the value
// when it is an absolute path, else /tmp.
std::string RuntimeFolderFor(const std::string& xdgRuntimeDir);
std::string RuntimeFilePath(const std::string& stem, const std::string& extension);

// Creates a folder and its parents; done when it exists afterwards, else the
// folder and the reason the first one that could not be made gave.
WriteResult MakeFolders(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

} // namespace orvane
