#include "app/InstanceCheck.h"

#include <chrono>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <thread>

#include "app/InstanceProtocol.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/StringUtil.h"
#include "services/AutoShowLatch.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"

namespace orvane {
namespace {

// A closing copy may first finish a transfer (an Apply to a real keyboard
// takes a second or two); longer than this, it is taken as not closing.
constexpr int kKillAnswerMs = 4000;
constexpr auto kKillEndWait = std::chrono::milliseconds(8000);
constexpr auto kEndPollInterval = std::chrono::milliseconds(20);

// Two spellings of one folder (a trailing slash, a link) name the same place.
bool SameFolder(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

class CRealInstanceSystem final : public CInstanceSystem {
  public:
    // Only a copy of this session is ours: its lock and socket live in the
    // same runtime folder. A copy of another session, or of a test with its
    // own folder, is left alone; one whose start-up environment cannot be
    // read is taken to be ours, as before.
    pid_t FindOtherInstance() override {
        const char* value = std::getenv("XDG_RUNTIME_DIR");
        const std::string mine = RuntimeFolderFor(value ? value : "");
        return FindOtherProcessByExeName(Paths().ExeFileName, [&mine](pid_t pid) {
            const std::optional<std::string> theirs = ProcessEnvironmentValue(pid, "XDG_RUNTIME_DIR");
            return !theirs || SameFolder(mine, RuntimeFolderFor(*theirs));
        });
    }
    void SendToInstance(pid_t pid, uint32_t message, uintptr_t wParam) override {
        CInstanceRequest request;
        request.message = message;
        request.wParam = wParam;
        if (message == UM_KILL) {
            m_killSent = std::chrono::steady_clock::now();
            orvane::SendToInstance(pid, request, kKillAnswerMs);
        } else {
            orvane::SendToInstance(pid, request);
        }
    }
    bool WaitForInstanceEnd(pid_t pid) override {
        const auto deadline = m_killSent + kKillEndWait;
        while (!ProcessGone(pid)) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(kEndPollInterval);
        }
        return true;
    }
    CInstanceMutex::Result OpenOrCreateMutex() override {
        return InstanceMutex().OpenOrCreate(InstanceLockPath());
    }
    void StartCompanion() override { StartProgramDetached(Paths().DaemonPath); }

  private:
    std::chrono::steady_clock::time_point m_killSent = std::chrono::steady_clock::now();
};

} // namespace

CInstanceMutex& InstanceMutex() {
    static CInstanceMutex mutex;
    return mutex;
}

bool IsSwitch(const std::string& arg, const char* name) {
    return EqualsNoCase(arg, name);
}

CInstanceSystem& DefaultInstanceSystem() {
    static CRealInstanceSystem system;
    return system;
}

InstanceCheckResult RunInstanceCheck(const std::vector<std::string>& args, CInstanceSystem& system) {
    AutoShowLatch() = 0;
    for (const std::string& arg : args) {
        if (IsSwitch(arg, "/Kill")) {
            if (pid_t other = system.FindOtherInstance()) {
                system.SendToInstance(other, UM_KILL, TAG_KILL);
                // A copy busy with a transfer, hung or stopped has not gone:
                // saying it closed would be a lie to the user or script.
                return system.WaitForInstanceEnd(other) ? InstanceCheckResult::EndProcess
                                                        : InstanceCheckResult::KillFailed;
            }
        } else if (IsSwitch(arg, "/Start")) {
            AutoShowLatch() = 1;
        }
    }

    if (system.OpenOrCreateMutex() == CInstanceMutex::Result::AlreadyExists) {
        // Held, yet no process of our name: a copy under another file name.
        // This one then runs beside it.
        if (pid_t other = system.FindOtherInstance()) {
            system.SendToInstance(other, UM_OPEN, TAG_OPEN);
            return InstanceCheckResult::EndProcess;
        }
    }
    system.StartCompanion();
    return InstanceCheckResult::RunAsInstance;
}

} // namespace orvane
