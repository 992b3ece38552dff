#include "device/support/RecordingLink.h"

#include <algorithm>
#include <cstdio>

namespace orvane::test {
namespace {
std::string Hex(const char* what, uint32_t v) {
    char b[32];
    std::snprintf(b, sizeof b, "%s %04x", what, v);
    return b;
}
} // namespace

intptr_t CRecordingLink::SendWindowMessage(uint32_t message, uintptr_t, intptr_t) {
    if (OnSend) OnSend(message);
    Add(Hex("send", message));
    return 0;
}
void CRecordingLink::PostWindowMessage(uint32_t message, uintptr_t, intptr_t) {
    Add(Hex("post", message));
}
void CRecordingLink::SetWindowTimer(uint32_t timerId, uint32_t) {
    Add("timer " + std::to_string(timerId));
}
void CRecordingLink::KillWindowTimer(uint32_t timerId) {
    Add("kill " + std::to_string(timerId));
}
void CRecordingLink::SetTrayIcon(int iconResource) {
    Add("tray " + std::to_string(iconResource));
}
void CRecordingLink::HideWindow() {
    Add("hide");
}
void CRecordingLink::ShowMessage(const std::string& text) {
    Add("message " + text);
}

void CRecordingLink::Add(std::string event) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Events.push_back(std::move(event));
    m_Changed.notify_all();
}

std::vector<std::string> CRecordingLink::Events() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Events;
}

int CRecordingLink::Count(const std::string& event) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return static_cast<int>(std::count(m_Events.begin(), m_Events.end(), event));
}

bool CRecordingLink::WaitFor(const std::string& event, int times, std::chrono::milliseconds deadline) const {
    std::unique_lock<std::mutex> lock(m_Mutex);
    return m_Changed.wait_for(lock, deadline,
                              [&] { return std::count(m_Events.begin(), m_Events.end(), event) >= times; });
}

} // namespace orvane::test
