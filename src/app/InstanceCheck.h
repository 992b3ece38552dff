#pragma once
// Single instance and the command line, run by the main window's constructor
// before anything else exists: "/Kill" closes a running copy, "/Start" keeps
// the window in the tray, and a plain second start opens the first copy's
// window instead of running beside it.
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/InstanceLock.h"

namespace orvane {

// The handle of the mutex "QT47R19B", kept until the main window's shutdown.
CInstanceMutex& InstanceMutex();

// True when `arg` is `name` apart from ASCII case; nothing more, nothing less.
bool IsSwitch(const std::string& arg, const char* name);

// What the check needs from the system; tests give it a scripted one.
class CInstanceSystem {
  public:
    virtual ~CInstanceSystem() = default;
    virtual pid_t FindOtherInstance() = 0;
    // Sends to the other instance's tagged main window, if it has one yet.
    virtual void SendToInstance(pid_t pid, uint32_t message, uintptr_t wParam) = 0;
    // After UM_KILL: true once that process has ended, false when it is
    // still there after a bounded wait.
    virtual bool WaitForInstanceEnd(pid_t pid) = 0;
    virtual CInstanceMutex::Result OpenOrCreateMutex() = 0;
    virtual void StartCompanion() = 0;
};

// The real system: /proc, the lock file, the instance sockets, VuVareze
// beside the executable.
CInstanceSystem& DefaultInstanceSystem();

enum class InstanceCheckResult {
    RunAsInstance,
    EndProcess, // the caller ends the process with exit code 0
    KillFailed, // "/Kill": the running copy did not close; this one ends too
};

// Examines the arguments after the program name in order and settles whether
// this copy runs.
InstanceCheckResult RunInstanceCheck(const std::vector<std::string>& args, CInstanceSystem& system);

} // namespace orvane
