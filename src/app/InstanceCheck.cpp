#include "app/InstanceCheck.h"

#include "app/InstanceProtocol.h"
#include "platform/Processes.h"
#include "platform/StringUtil.h"
#include "services/AutoShowLatch.h"
#include "services/PathTable.h"
#include "services/WindowMessages.h"

namespace orvane {
namespace {

class CRealInstanceSystem final : public CInstanceSystem {
  public:
    pid_t FindOtherInstance() override { return FindOtherProcessByExeName(Paths().ExeFileName); }
    void SendToInstance(pid_t pid, uint32_t message, uintptr_t wParam) override {
        CInstanceRequest request;
        request.message = message;
        request.wParam = wParam;
        orvane::SendToInstance(pid, request);
    }
    CInstanceMutex::Result OpenOrCreateMutex() override {
        return InstanceMutex().OpenOrCreate(InstanceLockPath());
    }
    void StartCompanion() override { StartProgramDetached(Paths().DaemonPath); }
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
                return InstanceCheckResult::EndProcess;
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
