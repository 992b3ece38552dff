#pragma once
// The one way any thread reaches the GUI thread. Widgets belong to that
// thread, yet a transfer's worker, the connection monitor and the message
// bridge all have widget work to hand over. The hand-off goes through a
// queue under a std::mutex, an event counter the GUI thread listens to and,
// for a caller that waits, a std::condition_variable, so the thread checker
// sees it in both directions (Qt's own event queue lock is invisible to it).
#include <functional>
#include <optional>
#include <utility>

namespace orvane {

// What queued work belongs to (a window): once it is closed, its work still
// queued is dropped unrun and whoever waits for it is released, even when
// the GUI thread never gets to it. It must outlive the threads that hand
// work to it (a window keeps it in its shared message core).
class CGuiThreadTarget {
  public:
    CGuiThreadTarget() = default;
    CGuiThreadTarget(const CGuiThreadTarget&) = delete;
    CGuiThreadTarget& operator=(const CGuiThreadTarget&) = delete;
    ~CGuiThreadTarget() { Close(); }
    void Close();

  private:
    friend void PostToGuiThread(std::function<void()>, const CGuiThreadTarget*);
    bool closed_ = false; // guarded by the queue's lock
};

// True on the GUI thread, and everywhere while there is no application
// object (there is no other thread to ask then).
bool OnGuiThread();

// Queues `work` for the GUI thread behind everything queued before, even when
// called there. Once the application or the target is gone, work is dropped
// unrun.
void PostToGuiThread(std::function<void()> work, const CGuiThreadTarget* target = nullptr);

// Runs `work` on the GUI thread: at once when called there, else queued and
// waited for. Runs it nowhere, and gives false, when the application
// or the target ends before its turn.
bool RunOnGuiThread(const std::function<void()>& work, const CGuiThreadTarget* target = nullptr);

// Runs `work` at once on the GUI thread, else queues it without waiting:
// for showing something the caller's next step does not depend on.
void ShowOnGuiThread(std::function<void()> work, const CGuiThreadTarget* target = nullptr);

// RunOnGuiThread for work with a result: Result{} when it never ran.
template <typename Result, typename Work>
Result CallOnGuiThread(Work&& work, const CGuiThreadTarget* target = nullptr) {
    std::optional<Result> result;
    RunOnGuiThread([&] { result.emplace(work()); }, target);
    return result ? std::move(*result) : Result{};
}

} // namespace orvane
