#include "platform/Processes.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/StringUtil.h"

extern char** environ;

namespace orvane {
namespace {

constexpr size_t kCommLength = 15; // the kernel keeps this much of a name

std::vector<pid_t> ProcessIds() {
    std::vector<pid_t> pids;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir("/proc"), ::closedir);
    if (!dir) return pids;
    while (dirent* entry = ::readdir(dir.get())) {
        char* end = nullptr;
        long pid = std::strtol(entry->d_name, &end, 10);
        if (end != entry->d_name && *end == '\0' && pid > 0 && pid <= INT_MAX)
            pids.push_back(static_cast<pid_t>(pid));
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::string ProcFile(pid_t pid, const char* name) {
    return "/proc/" + std::to_string(pid) + "/" + name;
}

bool IsZombie(pid_t pid) {
    std::string stat;
    if (!ReadWholeFile(ProcFile(pid, "stat"), stat)) return true; // gone meanwhile
    // "pid (comm) S ...": the state follows the last ')' (comm may hold ')').
    size_t close = stat.rfind(')');
    return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z' ||
           stat[close + 2] == 'X';
}

bool CommMatches(pid_t pid, const std::string& name) {
    std::string comm;
    if (!ReadWholeFile(ProcFile(pid, "comm"), comm)) return false;
    if (!comm.empty() && comm.back() == '\n') comm.pop_back();
    return EqualsNoCase(comm, std::string_view(name).substr(0, kCommLength));
}

bool NameMatches(pid_t pid, const std::string& exeFileName) {
    char link[PATH_MAX];
    ssize_t n = ::readlink(ProcFile(pid, "exe").c_str(), link, sizeof link);
    if (n > 0 && static_cast<size_t>(n) < sizeof link) {
        std::string target(link, static_cast<size_t>(n));
        // A rebuilt or updated executable still runs as "<path> (deleted)".
        constexpr std::string_view deleted = " (deleted)";
        if (target.size() > deleted.size() &&
            target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
            target.resize(target.size() - deleted.size());
        return EqualsNoCase(FileNameOf(target), exeFileName);
    }
    return CommMatches(pid, exeFileName);
}

uid_t OwnerOf(pid_t pid) {
    struct stat st {};
    if (::stat(ProcFile(pid, "").c_str(), &st) != 0) return static_cast<uid_t>(-1);
    return st.st_uid;
}

} // namespace

pid_t FindOtherProcessByExeName(const std::string& exeFileName, const std::function<bool(pid_t)>& accept) {
    if (exeFileName.empty()) return 0;
    const pid_t self = ::getpid();
    const uid_t me = ::getuid();
    // Another user's copy has its own lock and socket; it is not our instance.
    for (pid_t pid : ProcessIds())
        if (pid != self && OwnerOf(pid) == me && NameMatches(pid, exeFileName) && !IsZombie(pid) &&
            (!accept || accept(pid)))
            return pid;
    return 0;
}

std::optional<std::string> ProcessEnvironmentValue(pid_t pid, const std::string& name) {
    std::string environ;
    if (!ReadWholeFile(ProcFile(pid, "environ"), environ)) return std::nullopt;
    const std::string prefix = name + "=";
    for (size_t at = 0; at < environ.size();) {
        const size_t end = std::min(environ.find('\0', at), environ.size());
        if (environ.compare(at, prefix.size(), prefix) == 0 && end - at >= prefix.size())
            return environ.substr(at + prefix.size(), end - at - prefix.size());
        at = end + 1;
    }
    return std::string();
}

bool ProcessGone(pid_t pid) {
    return pid <= 0 || IsZombie(pid);
}

bool ProgramRunning(const std::string& name) {
    if (name.empty()) return false;
    const uid_t me = ::getuid();
    for (pid_t pid : ProcessIds())
        if (OwnerOf(pid) == me && (NameMatches(pid, name) || CommMatches(pid, name)) && !IsZombie(pid))
            return true;
    return false;
}

bool StartProgramDetached(const std::string& program, const std::vector<std::string>& args) {
    if (program.empty() || program.size() >= PATH_MAX || ::access(program.c_str(), X_OK) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    if (posix_spawnattr_init(&attr) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    for (int fd = 0; fd <= 2; ++fd)
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);

    std::vector<std::string> argvText;
    argvText.push_back(program);
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    int rc = posix_spawn(&child, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    // Reaped by a thread of its own so the companion never lingers as a
    // zombie, while the caller neither waits for it nor stops it.
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace orvane
