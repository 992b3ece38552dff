#pragma once
// The single-instance mutex "QT47R19B": an flock() on a per-user lock file.
// The kernel drops the lock when its holder dies, so a killed instance never
// leaves a lock that blocks the next start.
#include <string>

namespace orvane {

constexpr const char* kInstanceMutexName = "QT47R19B";

// $XDG_RUNTIME_DIR/QT47R19B.lock, or /tmp/QT47R19B-<uid>.lock.
std::string InstanceLockPath();

class CInstanceMutex {
  public:
    enum class Result {
        Created,       // nobody held it; this process owns it now
        AlreadyExists, // another process holds it; the handle is kept, not owned
        Failed,        // the lock file cannot be used; no handle
    };

    CInstanceMutex() = default;
    ~CInstanceMutex() { Close(); }
    CInstanceMutex(const CInstanceMutex&) = delete;
    CInstanceMutex& operator=(const CInstanceMutex&) = delete;

    // Opens the lock file at `path` and tries to own it without waiting.
    Result OpenOrCreate(const std::string& path);
    bool HasHandle() const { return fd_ >= 0; }
    bool Owned() const { return owned_; }
    void Close();

  private:
    int fd_ = -1;
    bool owned_ = false;
};

} // namespace orvane
