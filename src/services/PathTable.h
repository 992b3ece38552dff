#pragma once
// Where the program's own files are: everything shipped sits beside the
// executable. Built once at start-up, read-only afterwards. Folders end with
// '/'; every value stays within kMaxPath characters.
#include <string>

namespace orvane {

struct CPathTable {
    std::string ModulePath;            // full path of the running executable
    std::string ExeFileName;           // its file name, no folder
    std::string ProgramFolder;         // folder of ModulePath, trailing '/'
    std::string HelpFolder;            // ProgramFolder + "Help/"
    std::string MainSkinFile;          // ProgramFolder + "Skins/Main.ini"
    std::string SkinFolder;            // folder of MainSkinFile, trailing '/'
    std::string DefaultUserDataPrefix; // ProgramFolder + "Skins/UserDengColor_"
    std::string ProfileSkinFile;       // ProgramFolder + "Skins/Profile.ini"
    std::string ProfileSkinFolder;     // its folder, trailing '/'
    std::string CompositeSkinFile;     // ProgramFolder + "Skins/Composite.ini"
    std::string CompositeSkinFolder;   // its folder, trailing '/'
    std::string DaemonPath;            // ProgramFolder + "VuVareze"
    // Per-user paths, set once the main window exists (BuildUserPaths).
    std::string UserSettingsFile; // <user data>/Brislane/zaru.ini
    std::string UserDataPrefix;   // <user data>/Brislane/UserDengColor_
};

// The table of this process. Before BuildPathTable has run it is built from
// the running executable on first use.
const CPathTable& Paths();

// Builds the shipped-file entries from `modulePath`; false (table unchanged)
// when the path is empty or longer than the platform limit. Tests point it at
// a temporary program folder.
bool BuildPathTable(const std::string& modulePath);

// Builds UserSettingsFile and UserDataPrefix from the per-user data folder.
void BuildUserPaths();

} // namespace orvane
