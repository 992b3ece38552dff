#include "platform/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

std::atomic<bool> g_FailBeforeRename{false};
std::atomic<unsigned> g_TempCounter{0};

bool PathUsable(const std::string& path) {
    return !path.empty() && path.size() < PATH_MAX && path.find('\0') == std::string::npos;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

class CFd {
  public:
    explicit CFd(int fd) : fd_(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

  private:
    int fd_;
};

// The file a chain of symbolic links ends at (the path itself when it is no
// link), so a replace lands there and the links stay. Empty for a loop or a
// path grown past the limit.
std::string FinalTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path; // a link to nothing yet names the file to create
        char target[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof target) return {};
        std::string next(target, static_cast<size_t>(n));
        if (next.front() != '/') {
            const size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        if (!PathUsable(next)) return {};
        path = std::move(next);
    }
    return {};
}

} // namespace

WriteResult WriteFileAtomically(const std::string& linkOrPath, std::string_view contents) {
    if (!PathUsable(linkOrPath)) return WriteFailed(linkOrPath, ENAMETOOLONG);
    const std::string path = FinalTarget(linkOrPath);
    if (path.empty()) return WriteFailed(linkOrPath, ELOOP);
    // Keep the permissions of the file being replaced; new files get 0644.
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return WriteFailed(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        // The rename would replace a read-only file as long as its folder
        // may be written; the user made it read-only to keep it.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return WriteFailed(path, errno);
        mode = st.st_mode & 07777;
    }
    std::string temp = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(g_TempCounter++);
    if (temp.size() >= PATH_MAX) return WriteFailed(path, ENAMETOOLONG);
    CFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd.Get() < 0) return WriteFailed(path, errno);
    int error = 0;
    if (!WriteAll(fd.Get(), contents) || ::fsync(fd.Get()) != 0) error = errno;
    if (!fd.Close() && error == 0) error = errno;
    if (error == 0 && g_FailBeforeRename.exchange(false)) error = EIO;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return WriteFailed(path, error);
    }
    return Written(path);
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    if (!PathUsable(path)) return false;
    // O_NONBLOCK: a pipe under the name must not hang the open; it is then
    // refused as not a regular file (for which the flag changes nothing).
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            contents.clear();
            return false;
        }
        if (n == 0) return true;
        contents.append(buffer, static_cast<size_t>(n));
    }
}

int ReadFailureReason(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return EINVAL;
    return ::access(path.c_str(), R_OK) != 0 ? errno : EIO;
}

void SetAtomicWriteFailureForTests(bool failBeforeRename) {
    g_FailBeforeRename = failBeforeRename;
}

} // namespace orvane
