#include "ui/GuiThread.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <vector>

namespace orvane {
namespace {

// Each queued piece of work is announced by one event to this object, so it
// runs wherever the GUI thread handles posted events (nested loops and
// message boxes included), in order with everything else posted there.
class CGuiQueue final : public QObject {
  public:
    static QEvent::Type WakeType() {
        static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

  protected:
    void customEvent(QEvent* event) override;
};

struct CQueued {
    std::function<void()> work; // empty once dropped: its wake event finds nothing to do
    const CGuiThreadTarget* target = nullptr;
};

struct CQueueState {
    std::mutex mutex;
    std::deque<CQueued> work;
    CGuiQueue* receiver = nullptr;
};

// Never destroyed: the device threads are never joined and may post while
// the process ends.
CQueueState& State() {
    static auto* state = new CQueueState;
    return *state;
}

// Runs when the application object goes: what is still queued will never
// run, and dropping it releases whoever waits for it.
void DropQueue() {
    CQueueState& state = State();
    std::deque<CQueued> dropped;
    {
        std::lock_guard lock(state.mutex);
        // Its pending wake events were built under this lock; they go with it.
        delete state.receiver;
        state.receiver = nullptr;
        dropped.swap(state.work);
    }
}

// Only wake events are custom events here; their type is not even read in
// this file before the lock: the posters built them under it, and the
// thread checker cannot see Qt's own queue lock.
void CGuiQueue::customEvent(QEvent*) {
    CQueueState& state = State();
    std::unique_lock lock(state.mutex);
    if (state.work.empty()) return;
    std::function<void()> next = std::move(state.work.front().work);
    state.work.pop_front();
    lock.unlock();
    if (next) next();
}

// What a waiting caller waits on; finished when its work ran or was dropped.
struct CWait {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool ran = false;
};

// Travels with the queued work: whichever way the work ends (run, or dropped
// with the queue), its destruction releases the caller.
struct CWaitRelease {
    explicit CWaitRelease(std::shared_ptr<CWait> wait) : wait(std::move(wait)) {}
    CWaitRelease(const CWaitRelease&) = delete;
    CWaitRelease& operator=(const CWaitRelease&) = delete;
    ~CWaitRelease() {
        std::lock_guard lock(wait->mutex);
        wait->finished = true;
        wait->ran = ran;
        wait->done.notify_all();
    }
    std::shared_ptr<CWait> wait;
    bool ran = false;
};

} // namespace

void CGuiThreadTarget::Close() {
    std::vector<std::function<void()>> dropped;
    {
        CQueueState& state = State();
        std::lock_guard lock(state.mutex);
        closed_ = true;
        for (CQueued& queued : state.work) {
            if (queued.target != this || !queued.work) continue;
            dropped.push_back(std::move(queued.work));
            queued.work = nullptr;
        }
    }
    // Released outside the lock: a waiter may queue again at once.
}

bool OnGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void PostToGuiThread(std::function<void()> work, const CGuiThreadTarget* target) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    CQueueState& state = State();
    std::unique_lock lock(state.mutex);
    if (target && target->closed_) {
        lock.unlock();
        return; // dropping `work` releases a waiter outside the lock
    }
    if (!state.receiver) {
        state.receiver = new CGuiQueue;
        state.receiver->moveToThread(app->thread());
        qAddPostRoutine(DropQueue);
    }
    state.work.push_back(CQueued{std::move(work), target});
    // Built under the lock the GUI thread takes before Qt deletes it.
    QCoreApplication::postEvent(state.receiver, new QEvent(CGuiQueue::WakeType()));
}

bool RunOnGuiThread(const std::function<void()>& work, const CGuiThreadTarget* target) {
    if (OnGuiThread()) {
        work();
        return true;
    }
    auto wait = std::make_shared<CWait>();
    {
        auto release = std::make_shared<CWaitRelease>(wait);
        PostToGuiThread(
            [release, &work] {
                work();
                release->ran = true;
            },
            target);
    }
    std::unique_lock lock(wait->mutex);
    wait->done.wait(lock, [&] { return wait->finished; });
    return wait->ran;
}

void ShowOnGuiThread(std::function<void()> work, const CGuiThreadTarget* target) {
    if (OnGuiThread())
        work();
    else
        PostToGuiThread(std::move(work), target);
}

} // namespace orvane
