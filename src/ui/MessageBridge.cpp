#include "ui/MessageBridge.h"

#include <cstdio>
#include <cstdlib>
#include <QTimer>

namespace orvane {

CMessageBridge* CBridgeCore::Receiver() const {
    std::lock_guard lock(mutex_);
    return receiver_;
}

// A window that goes before the message's turn drops it: a sender gets 0.
intptr_t CBridgeCore::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!Alive()) return 0;
    return CallOnGuiThread<intptr_t>(
        [core = shared_from_this(), message, wParam, lParam]() -> intptr_t {
            CMessageBridge* receiver = core->Receiver();
            return receiver ? receiver->Dispatch(message, wParam, lParam) : 0;
        },
        &target_);
}

void CBridgeCore::Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!Alive()) return;
    PostToGuiThread(
        [core = shared_from_this(), message, wParam, lParam] {
            if (CMessageBridge* receiver = core->Receiver()) receiver->Dispatch(message, wParam, lParam);
        },
        &target_);
}

// Through the same queue as the messages, so the order holds.
void CBridgeCore::SetTimer(uint32_t timerId, uint32_t periodMs) {
    if (!Alive()) return;
    ShowOnGuiThread(
        [core = shared_from_this(), timerId, periodMs] {
            if (CMessageBridge* receiver = core->Receiver()) receiver->StartTimerNow(timerId, periodMs);
        },
        &target_);
}

void CBridgeCore::KillTimer(uint32_t timerId) {
    if (!Alive()) return;
    ShowOnGuiThread(
        [core = shared_from_this(), timerId] {
            if (CMessageBridge* receiver = core->Receiver()) receiver->KillTimerNow(timerId);
        },
        &target_);
}

bool CBridgeCore::Alive() const {
    std::lock_guard lock(mutex_);
    return receiver_ != nullptr;
}

CMessageBridge::CMessageBridge(QObject* parent) : QObject(parent), core_(std::make_shared<CBridgeCore>()) {
    core_->receiver_ = this;
    // Lets a whole-program test see which tagged messages a window handled.
    if (const char* trace = std::getenv("ORVANE_TRACE_MESSAGES"); trace && *trace) tracePath_ = trace;
}

CMessageBridge::~CMessageBridge() {
    {
        std::lock_guard lock(core_->mutex_);
        core_->receiver_ = nullptr;
    }
    core_->target_.Close();
}

void CMessageBridge::OnMessage(uint32_t message, Handler handler) {
    CEntry entry;
    entry.handler = std::move(handler);
    map_[message] = std::move(entry);
}

void CMessageBridge::OnTaggedMessage(uint32_t message, uintptr_t tag, TaggedHandler handler) {
    CEntry entry;
    entry.tagged = true;
    entry.tag = tag;
    entry.taggedHandler = std::move(handler);
    map_[message] = std::move(entry);
}

void CMessageBridge::OnTimer(TimerHandler handler) {
    timerHandler_ = std::move(handler);
}

intptr_t CMessageBridge::Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto it = map_.find(message);
    if (it == map_.end()) return 0;
    if (!it->second.tagged) return it->second.handler ? it->second.handler(wParam, lParam) : 0;
    if (wParam != it->second.tag) return 0;
    Trace(message, wParam, lParam);
    // Copied: the handler may change the map (or end the window).
    TaggedHandler handler = it->second.taggedHandler;
    return handler ? handler(lParam) : 0;
}

bool CMessageBridge::TimerActive(uint32_t timerId) const {
    auto it = timers_.find(timerId);
    return it != timers_.end() && it->second->isActive();
}

void CMessageBridge::StartTimerNow(uint32_t timerId, uint32_t periodMs) {
    QTimer*& timer = timers_[timerId];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] {
            if (timerHandler_) timerHandler_(timerId);
        });
    }
    timer->start(static_cast<int>(std::min<uint32_t>(periodMs, 0x7FFFFFFF)));
}

void CMessageBridge::KillTimerNow(uint32_t timerId) {
    auto it = timers_.find(timerId);
    if (it != timers_.end()) it->second->stop();
}

void CMessageBridge::Trace(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (tracePath_.empty()) return;
    if (FILE* f = std::fopen(tracePath_.c_str(), "a")) {
        std::fprintf(f, "%04x %08lx %ld\n", static_cast<unsigned>(message),
                     static_cast<unsigned long>(wParam), static_cast<long>(lParam));
        std::fclose(f);
    }
}

} // namespace orvane
