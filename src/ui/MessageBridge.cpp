#include "ui/MessageBridge.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace orvane {
namespace {

struct CSendState {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    intptr_t result = 0;

    void Finish(intptr_t value) {
        std::lock_guard guard(mutex);
        if (finished) return;
        result = value;
        finished = true;
        done.notify_all();
    }
};

QEvent::Type BridgeEventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class CBridgeEvent final : public QEvent {
  public:
    CBridgeEvent(uint32_t message, uintptr_t wParam, intptr_t lParam, std::shared_ptr<CSendState> state)
        : QEvent(BridgeEventType()), message_(message), wParam_(wParam), lParam_(lParam),
          state_(std::move(state)) {}
    // Qt deletes events still queued for a receiver that is destroyed; the
    // sender waiting for one of them then gets 0 instead of waiting forever.
    ~CBridgeEvent() override {
        if (state_) state_->Finish(0);
    }
    void Deliver(CMessageBridge& bridge) {
        intptr_t result = bridge.Dispatch(message_, wParam_, lParam_);
        if (state_) state_->Finish(result);
    }

  private:
    uint32_t message_;
    uintptr_t wParam_;
    intptr_t lParam_;
    std::shared_ptr<CSendState> state_;
};

} // namespace

intptr_t CBridgeCore::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto state = std::make_shared<CSendState>();
    {
        std::unique_lock lock(mutex_);
        if (!receiver_) return 0;
        if (QThread::currentThread() == thread_) {
            CMessageBridge* receiver = receiver_;
            lock.unlock(); // the handler may send again
            return receiver->Dispatch(message, wParam, lParam);
        }
        QCoreApplication::postEvent(receiver_, new CBridgeEvent(message, wParam, lParam, state));
    }
    std::unique_lock wait(state->mutex);
    state->done.wait(wait, [&] { return state->finished; });
    return state->result;
}

void CBridgeCore::Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard lock(mutex_);
    if (receiver_) QCoreApplication::postEvent(receiver_, new CBridgeEvent(message, wParam, lParam, nullptr));
}

void CBridgeCore::SetTimer(uint32_t timerId, uint32_t periodMs) {
    std::unique_lock lock(mutex_);
    if (!receiver_) return;
    CMessageBridge* receiver = receiver_;
    if (QThread::currentThread() == thread_) {
        lock.unlock();
        receiver->StartTimerNow(timerId, periodMs);
        return;
    }
    // Queued behind what this thread posted before, so the order holds.
    QMetaObject::invokeMethod(
        receiver, [receiver, timerId, periodMs] { receiver->StartTimerNow(timerId, periodMs); },
        Qt::QueuedConnection);
}

void CBridgeCore::KillTimer(uint32_t timerId) {
    std::unique_lock lock(mutex_);
    if (!receiver_) return;
    CMessageBridge* receiver = receiver_;
    if (QThread::currentThread() == thread_) {
        lock.unlock();
        receiver->KillTimerNow(timerId);
        return;
    }
    QMetaObject::invokeMethod(
        receiver, [receiver, timerId] { receiver->KillTimerNow(timerId); }, Qt::QueuedConnection);
}

bool CBridgeCore::Alive() const {
    std::lock_guard lock(mutex_);
    return receiver_ != nullptr;
}

CMessageBridge::CMessageBridge(QObject* parent) : QObject(parent), core_(std::make_shared<CBridgeCore>()) {
    core_->receiver_ = this;
    core_->thread_ = thread();
    // Lets a whole-program test see which tagged messages a window handled.
    if (const char* trace = std::getenv("ORVANE_TRACE_MESSAGES"); trace && *trace) tracePath_ = trace;
}

CMessageBridge::~CMessageBridge() {
    {
        std::lock_guard lock(core_->mutex_);
        core_->receiver_ = nullptr;
    }
    // Events still queued for us are deleted with us (releasing their senders).
    QCoreApplication::removePostedEvents(this);
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

bool CMessageBridge::event(QEvent* event) {
    // Posters build their events under this lock; taking it once makes that
    // visible here in terms the thread checker understands too (Qt's own
    // queue lock is invisible to it).
    { std::lock_guard lock(core_->mutex_); }
    if (event->type() == BridgeEventType()) {
        static_cast<CBridgeEvent*>(event)->Deliver(*this);
        return true;
    }
    return QObject::event(event);
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
