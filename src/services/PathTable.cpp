#include "services/PathTable.h"

#include <mutex>

#include "platform/Paths.h"

namespace orvane {
namespace {

CPathTable g_PathTable;
std::once_flag g_FirstUse;
bool g_Built = false;

bool Fits(const std::string& path) {
    return path.size() < kMaxPath;
}

} // namespace

const CPathTable& Paths() {
    std::call_once(g_FirstUse, [] {
        if (!g_Built) BuildPathTable(ExecutablePath());
    });
    return g_PathTable;
}

bool BuildPathTable(const std::string& modulePath) {
    if (modulePath.empty() || modulePath.front() != '/' || !Fits(modulePath)) return false;
    CPathTable table;
    table.ModulePath = modulePath;
    table.ExeFileName = FileNameOf(modulePath);
    table.ProgramFolder = ProgramFolderOf(modulePath);
    table.HelpFolder = table.ProgramFolder + "Help/";
    table.MainSkinFile = table.ProgramFolder + "Skins/Main.ini";
    table.SkinFolder = ProgramFolderOf(table.MainSkinFile);
    table.DefaultUserDataPrefix = table.ProgramFolder + "Skins/UserDengColor_";
    table.ProfileSkinFile = table.ProgramFolder + "Skins/Profile.ini";
    table.ProfileSkinFolder = ProgramFolderOf(table.ProfileSkinFile);
    table.CompositeSkinFile = table.ProgramFolder + "Skins/Composite.ini";
    table.CompositeSkinFolder = ProgramFolderOf(table.CompositeSkinFile);
    table.DaemonPath = table.ProgramFolder + "VuVareze";
    // An executable stored so deep that a derived path would not fit is
    // refused as a whole rather than left with cut-off entries.
    for (const std::string* entry :
         {&table.DefaultUserDataPrefix, &table.CompositeSkinFile, &table.ProfileSkinFile, &table.MainSkinFile,
          &table.DaemonPath, &table.HelpFolder})
        if (!Fits(*entry)) return false;
    table.UserSettingsFile = g_PathTable.UserSettingsFile;
    table.UserDataPrefix = g_PathTable.UserDataPrefix;
    g_PathTable = std::move(table);
    g_Built = true;
    return true;
}

void BuildUserPaths() {
    std::string data = UserDataFolder();
    MakeFolders(data); // the platform asks for the folder with create-if-missing
    std::string settings = data + "/Brislane/zaru.ini";
    std::string prefix = data + "/Brislane/UserDengColor_";
    // Longer than the system accepts: the per-user files are then not used,
    // and every read of them gives its default.
    g_PathTable.UserSettingsFile = Fits(settings) ? settings : std::string();
    g_PathTable.UserDataPrefix = Fits(prefix) ? prefix : std::string();
}

} // namespace orvane
