#pragma once
// A main window that records what the device threads ask of it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "services/MainWindowLink.h"

namespace orvane::test {

class CRecordingLink : public MainWindowLink {
  public:
    intptr_t SendWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void PostWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetWindowTimer(uint32_t timerId, uint32_t periodMs) override;
    void KillWindowTimer(uint32_t timerId) override;
    void SetTrayIcon(int iconResource) override;
    void HideWindow() override;
    void ShowMessage(const std::string& text) override;

    // Events as "post 5452", "send 5350", "timer 1051", "tray 141", "hide",
    // "message TEXT".
    std::vector<std::string> Events() const;
    int Count(const std::string& event) const;
    // Waits (generously) until `event` has been seen `times` times.
    bool WaitFor(const std::string& event, int times = 1,
                 std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;

    // Runs inside SendWindowMessage, as the window's handler would.
    std::function<void(uint32_t)> OnSend;

  private:
    void Add(std::string event);
    mutable std::mutex m_Mutex;
    mutable std::condition_variable m_Changed;
    std::vector<std::string> m_Events;
};

} // namespace orvane::test
