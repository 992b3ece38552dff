#include "platform/Paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

// An XDG variable counts only when it holds an absolute path.
std::string XdgFolder(const char* variable, const char* fallbackBelowHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    return HomeFolder() + "/" + fallbackBelowHome;
}

} // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

std::string ProgramFolderOf(const std::string& exePath) {
    size_t slash = exePath.rfind('/');
    if (slash == std::string::npos) return "./";
    return exePath.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string UserDataFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}
std::string UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}
std::string UserStateFolder() {
    return XdgFolder("XDG_STATE_HOME", ".local/state");
}

std::string RuntimeFolderFor(const std::string& xdgRuntimeDir) {
    return !xdgRuntimeDir.empty() && xdgRuntimeDir[0] == '/' ? xdgRuntimeDir : std::string("/tmp");
}

std::string RuntimeFilePath(const std::string& stem, const std::string& extension) {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value && value[0] == '/') return std::string(value) + "/" + stem + extension;
    // /tmp is shared by every user: the user id keeps the names apart.
    return "/tmp/" + stem + "-" + std::to_string(::getuid()) + extension;
}

WriteResult MakeFolders(const std::string& path) {
    if (path.empty() || path.size() >= PATH_MAX) return WriteFailed(path, ENAMETOOLONG);
    std::string partial;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        partial = path.substr(0, next);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return WriteFailed(path, errno);
        pos = next + 1;
    }
    // EEXIST also answers for a file of that name.
    return FolderExists(path) ? Written(path) : WriteFailed(path, ENOTDIR);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace orvane
