#pragma once
// Window messages on Qt: a receiver object on the GUI thread with a message
// map, reached from any thread by posting (queued, in order) or sending
// (a worker blocks until the GUI thread has handled the message and gets the
// handler's result; on the GUI thread the handler runs at once), and timers
// by id that any thread may set or kill. Everything crosses to the GUI
// thread through its one queue (ui/GuiThread.h).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <QObject>
#include <QThread>
#include <string>

#include "ui/GuiThread.h"

class QTimer;

namespace orvane {

class CMessageBridge;

// Private message numbers the bridge's own users exchange (the platform's
// application range), for work that must run on the GUI thread.
constexpr uint32_t WM_APP = 0x8000;

// The thread-safe half of a bridge: it outlives the bridge, so a worker that
// still holds it after the window is gone gets 0 back instead of a crash.
class CBridgeCore : public std::enable_shared_from_this<CBridgeCore> {
  public:
    intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void Post(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void SetTimer(uint32_t timerId, uint32_t periodMs);
    void KillTimer(uint32_t timerId);
    bool Alive() const;
    // What work for this window is queued under: dropped when the window goes.
    const CGuiThreadTarget* Target() const { return &target_; }

  private:
    friend class CMessageBridge;
    CMessageBridge* Receiver() const;
    mutable std::mutex mutex_;
    CMessageBridge* receiver_ = nullptr;
    CGuiThreadTarget target_;
};

class CMessageBridge : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<intptr_t(uintptr_t wParam, intptr_t lParam)>;
    using TaggedHandler = std::function<intptr_t(intptr_t lParam)>;
    using TimerHandler = std::function<void(uint32_t timerId)>;

    // Lives on the thread that creates it (the GUI thread).
    explicit CMessageBridge(QObject* parent = nullptr);
    ~CMessageBridge() override;

    // The message map. A tagged handler acts only when wParam is its tag;
    // another wParam, or a message without handler, gives 0 and does nothing.
    void OnMessage(uint32_t message, Handler handler);
    void OnTaggedMessage(uint32_t message, uintptr_t tag, TaggedHandler handler);
    void OnTimer(TimerHandler handler);

    // Callable from any thread.
    intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        return core_->Send(message, wParam, lParam);
    }
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        core_->Post(message, wParam, lParam);
    }
    // Starts the periodic timer `timerId`, or restarts it with the new period.
    void SetTimer(uint32_t timerId, uint32_t periodMs) { core_->SetTimer(timerId, periodMs); }
    void KillTimer(uint32_t timerId) { core_->KillTimer(timerId); }
    bool TimerActive(uint32_t timerId) const; // GUI thread

    const std::shared_ptr<CBridgeCore>& Core() const { return core_; }

    // Runs the message map on the GUI thread.
    intptr_t Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam);

  private:
    friend class CBridgeCore;
    void StartTimerNow(uint32_t timerId, uint32_t periodMs);
    void KillTimerNow(uint32_t timerId);
    void Trace(uint32_t message, uintptr_t wParam, intptr_t lParam);

    struct CEntry {
        bool tagged = false;
        uintptr_t tag = 0;
        Handler handler;
        TaggedHandler taggedHandler;
    };
    std::shared_ptr<CBridgeCore> core_;
    std::map<uint32_t, CEntry> map_;
    std::map<uint32_t, QTimer*> timers_;
    TimerHandler timerHandler_;
    std::string tracePath_;
};

} // namespace orvane
