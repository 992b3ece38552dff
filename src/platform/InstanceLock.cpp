#include "platform/InstanceLock.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/Paths.h"

namespace orvane {

std::string InstanceLockPath() {
    return RuntimeFilePath(kInstanceMutexName, ".lock");
}

CInstanceMutex::Result CInstanceMutex::OpenOrCreate(const std::string& path) {
    Close();
    if (path.empty() || path.size() >= PATH_MAX) return Result::Failed;
    // O_NOFOLLOW: in the shared /tmp fallback a planted symlink must not make
    // us create or lock some other file.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Result::Failed;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    fd_ = fd;
    if (rc == 0) {
        owned_ = true;
        return Result::Created;
    }
    if (errno == EWOULDBLOCK) return Result::AlreadyExists;
    Close();
    return Result::Failed;
}

void CInstanceMutex::Close() {
    if (fd_ >= 0) ::close(fd_); // drops the lock with the last descriptor
    fd_ = -1;
    owned_ = false;
}

} // namespace orvane
