#pragma once
// What a test of the real main window stands in for: the one application
// object, a system where no other copy runs, and a prompt that answers OK (or
// as a test says) and keeps every message it was asked to show.
#include <functional>
#include <optional>
#include <QApplication>
#include <string>
#include <vector>

#include "app/InstanceCheck.h"
#include "services/Prompt.h"

namespace orvane::testing {

inline QApplication& WindowTestApp() {
    static int argc = 1;
    static char name[] = "orvane_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

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

class CRecordingPrompt final : public CPrompt {
  public:
    std::vector<std::string> shown;
    std::function<int(const std::string&)> answer; // empty: OK
    int MessageBox(const std::string& text, const std::string&, unsigned) override {
        shown.push_back(text);
        return answer ? answer(text) : IDOK;
    }
    std::optional<std::string> OpenFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::optional<uint32_t> ChooseColour(uint32_t) override { return std::nullopt; }
};

} // namespace orvane::testing
