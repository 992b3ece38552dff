#include "ui/BridgeWindowLink.h"

namespace orvane {

void CBridgeWindowLink::Attach(std::shared_ptr<CBridgeCore> core) {
    std::lock_guard lock(mutex_);
    core_ = std::move(core);
}

std::shared_ptr<CBridgeCore> CBridgeWindowLink::Core() const {
    std::lock_guard lock(mutex_);
    return core_;
}

intptr_t CBridgeWindowLink::SendWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto core = Core();
    return core ? core->Send(message, wParam, lParam) : 0;
}

void CBridgeWindowLink::PostWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (auto core = Core()) core->Post(message, wParam, lParam);
}

void CBridgeWindowLink::SetWindowTimer(uint32_t timerId, uint32_t periodMs) {
    if (auto core = Core()) core->SetTimer(timerId, periodMs);
}

void CBridgeWindowLink::KillWindowTimer(uint32_t timerId) {
    if (auto core = Core()) core->KillTimer(timerId);
}

void CBridgeWindowLink::SetTrayIcon(int iconResource) {
    if (auto core = Core()) core->Post(UM_LINK_SET_TRAY_ICON, static_cast<uintptr_t>(iconResource), 0);
}

void CBridgeWindowLink::HideWindow() {
    if (auto core = Core()) core->Post(UM_LINK_HIDE_WINDOW, 0, 0);
}

void CBridgeWindowLink::ShowMessage(const std::string& text) {
    // The text waits here rather than in the message, so one the window
    // never takes is not lost memory.
    auto core = Core();
    if (!core) return;
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(text);
    }
    core->Post(UM_LINK_SHOW_MESSAGE, 0, 0);
}

std::optional<std::string> CBridgeWindowLink::TakeMessage() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) return std::nullopt;
    std::string text = std::move(messages_.front());
    messages_.pop_front();
    return text;
}

CBridgeWindowLink& MainBridgeLink() {
    static auto* link = new CBridgeWindowLink; // outlives every thread on purpose
    return *link;
}

} // namespace orvane
