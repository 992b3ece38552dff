#pragma once
// Process lookup by executable file name and detached program start.
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvane {

// The first process of this user, other than the calling one, whose
// executable file name equals `exeFileName` (ASCII case ignored), walking
// /proc in ascending process id. Zombies do not count. 0 when there is none.
// The name is read from /proc/<pid>/exe, or from /proc/<pid>/comm where the
// link cannot be read (comm keeps only the first 15 characters). When
// `accept` is given, only a process it accepts counts.
pid_t FindOtherProcessByExeName(const std::string& exeFileName,
                                const std::function<bool(pid_t)>& accept = nullptr);

// The value of the environment variable `name` that process `pid` was started
// with: empty when it was not set, nothing when the process cannot be read.
std::optional<std::string> ProcessEnvironmentValue(pid_t pid, const std::string& name);

// True when process `pid` has ended: no longer there, or a zombie its
// parent has not reaped yet.
bool ProcessGone(pid_t pid);

// True when a process of this user runs a program called `name`: its
// executable, or for a script the name it was started by (/proc/<pid>/comm).
bool ProgramRunning(const std::string& name);

// Starts `program` with `args` detached from this process: new session,
// standard streams on /dev/null, never waited for by the caller. False when it
// could not be started (missing, not executable); callers may stay silent.
bool StartProgramDetached(const std::string& program, const std::vector<std::string>& args = {});

} // namespace orvane
