#pragma once
// What a test of the real main window stands in for: the one application
// object, a system where no other copy runs, and the recording prompt.
#include <QApplication>

#include "app/InstanceCheck.h"
#include "support/RecordingPrompt.h"

namespace orvane::testing {

class CAloneSystem final : public CInstanceSystem {
  public:
    pid_t FindOtherInstance() override { return 0; }
    void SendToInstance(pid_t, uint32_t, uintptr_t) override {}
    bool WaitForInstanceEnd(pid_t) override { return true; }
    CInstanceMutex::Result OpenOrCreateMutex() override {
        return InstanceMutex().OpenOrCreate(InstanceLockPath());
    }
    void StartCompanion() override {}
};

} // namespace orvane::testing
