#pragma once
// A main window that records what the program asks of it, for tests that
// run the device threads, the busy indicator or the lighting preview without
// a window. Those ask from threads of their own, so it locks.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "services/MainWindowLink.h"

namespace orvane::testing {

class CRecordingLink : public MainWindowLink {
  public:
    intptr_t SendWindowMessage(uint32_t message, uintptr_t, intptr_t) override {
        if (OnSend) OnSend(message);
        Add(Hex("send", message));
        return 0;
    }
    void PostWindowMessage(uint32_t message, uintptr_t, intptr_t) override { Add(Hex("post", message)); }
    void SetWindowTimer(uint32_t timerId, uint32_t periodMs) override {
        Add("timer " + std::to_string(timerId) + " " + std::to_string(periodMs));
    }
    void KillWindowTimer(uint32_t timerId) override { Add("kill " + std::to_string(timerId)); }
    void SetTrayIcon(int iconResource) override { Add("tray " + std::to_string(iconResource)); }
    void HideWindow() override { Add("hide"); }
    void ShowMessage(const std::string& text) override { Add("message " + text); }

    // Events as "post 5452", "send 5350", "timer 1051 0" (id, period),
    // "kill 1051", "tray 141", "hide", "message TEXT".
    std::vector<std::string> Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    int Count(const std::string& event) const {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(std::count(m_events.begin(), m_events.end(), event));
    }
    // Waits (generously) until `event` has been seen `times` times.
    bool WaitFor(const std::string& event, int times = 1,
                 std::chrono::milliseconds deadline = std::chrono::seconds(20)) const {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(
            lock, deadline, [&] { return std::count(m_events.begin(), m_events.end(), event) >= times; });
    }

    // Runs inside SendWindowMessage, as the window's handler would.
    std::function<void(uint32_t)> OnSend;

  private:
    static std::string Hex(const char* what, uint32_t v) {
        char b[32];
        std::snprintf(b, sizeof b, "%s %04x", what, v);
        return b;
    }
    void Add(std::string event) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
        m_changed.notify_all();
    }
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_events;
};

} // namespace orvane::testing
