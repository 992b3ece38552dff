#include "ui/GuiThread.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QThreadPool>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace orvane {
namespace {

struct CQueued {
    std::function<void()> work; // empty once its target closed
    const CGuiThreadTarget* target = nullptr;
};

// A poster only queues and writes to an event counter: it never builds a Qt
// object another thread frees, so the thread checker orders every hand-off
// by this lock (and the counter), and nothing the GUI thread's event
// filters look at was made on another thread.
struct CQueueState {
    std::mutex mutex;
    std::deque<CQueued> work;
    int wakeFd = -1;                     // kept open for good: a late poster never writes to a reused number
    QSocketNotifier* listener = nullptr; // on the GUI thread
    QCoreApplication* ending = nullptr;  // whose queue is gone: nothing more is queued for it
};

// Never destroyed: the device threads are never joined and may post while
// the process ends.
CQueueState& State() {
    static auto* state = new CQueueState;
    return *state;
}

void Wake(CQueueState& state) {
    const uint64_t one = 1;
    if (state.wakeFd >= 0) (void)!::write(state.wakeFd, &one, sizeof one);
}

// Runs what was queued when the counter fired, one piece at a time and
// without the lock, so a piece may queue more (it runs at the next turn) or
// wait in a loop of its own, where the rest is still served.
void RunQueued() {
    CQueueState& state = State();
    uint64_t count = 0;
    (void)!::read(state.wakeFd, &count, sizeof count);
    size_t pending;
    {
        std::lock_guard lock(state.mutex);
        pending = state.work.size();
    }
    for (; pending > 0; --pending) {
        std::function<void()> next;
        {
            std::lock_guard lock(state.mutex);
            if (state.work.empty()) return;
            next = std::move(state.work.front().work);
            state.work.pop_front();
            // A loop this piece may wait in still hears the rest.
            if (!state.work.empty()) Wake(state);
        }
        if (next) next();
    }
}

// Runs when the application object goes: what is still queued will never
// run, and dropping it releases whoever waits for it.
void DropQueue() {
    CQueueState& state = State();
    std::deque<CQueued> dropped;
    {
        std::lock_guard lock(state.mutex);
        delete state.listener;
        state.listener = nullptr;
        state.ending = QCoreApplication::instance();
        dropped.swap(state.work);
    }
}

// On the GUI thread, with the lock held: from then on work posted from
// anywhere is heard wherever that thread handles events, nested loops and
// message boxes included.
void StartListening(CQueueState& state) {
    if (state.listener) return;
    if (state.wakeFd < 0) state.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (state.wakeFd < 0) return;
    state.ending = nullptr;
    state.listener = new QSocketNotifier(state.wakeFd, QSocketNotifier::Read);
    QObject::connect(state.listener, &QSocketNotifier::activated, [] { RunQueued(); });
    qAddPostRoutine(DropQueue);
    // Posted before anyone listened: heard at once.
    if (!state.work.empty()) Wake(state);
}

// As the application starts, on its thread.
void ListenOnGuiThread() {
#if defined(__SANITIZE_THREAD__)
    // Qt's global pool (it paints large pictures in pieces) orders its own
    // queue by locks the thread checker cannot see; two of its threads then
    // look like a race inside Qt where nothing of the program is involved.
    // One thread of it is enough in a sanitizer build.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
#endif
    CQueueState& state = State();
    std::lock_guard lock(state.mutex);
    StartListening(state);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(ListenOnGuiThread)

namespace {

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
    if ((target && target->closed_) || app == state.ending) {
        lock.unlock();
        return; // dropping `work` releases a waiter outside the lock
    }
    if (QThread::currentThread() == app->thread()) StartListening(state);
    state.work.push_back(CQueued{std::move(work), target});
    Wake(state);
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
