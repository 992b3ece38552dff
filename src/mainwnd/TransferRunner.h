#pragma once
// Runs a transfer with the keyboard (Apply, restore defaults, an import) so
// that the window keeps painting: the work runs on a worker thread while the
// GUI thread waits in a local loop that takes no user input. To the caller
// it is still one synchronous step. Whatever the work needs of the window
// (message boxes, widgets) it reaches through the GUI thread, which keeps
// handling posted and sent messages while it waits.
#include <deque>
#include <functional>
#include <utility>

namespace orvane {

class CTransferRunner {
  public:
    // GUI thread. Returns when `work` has ended. A transfer asked for while
    // one runs (from a message handled during the wait) gets a worker of its
    // own too; a call from any other thread runs `work` on that thread.
    void Run(const std::function<void()>& work);
    bool Running() const { return m_running; } // GUI thread

    // GUI thread. A message or timer handled during a transfer's wait must
    // neither start a transfer inside it nor wait for the keyboard itself:
    // `handler` runs now when no transfer runs and none waits before it,
    // otherwise once the transfer has ended, in the order asked. With `once`
    // a handler whose `id` is already waiting is not queued again.
    void RunWhenIdle(int id, std::function<void()> handler, bool once = false);
    bool IsQueued(int id) const;
    // How the window gets RunNextQueued called from its event loop, later.
    void SetScheduler(std::function<void()> schedule) { m_schedule = std::move(schedule); }
    // Runs the oldest waiting handler when no transfer runs; schedules
    // itself again while more wait.
    void RunNextQueued();

  private:
    void ScheduleQueued();

    bool m_running = false;
    std::deque<std::pair<int, std::function<void()>>> m_queued;
    std::function<void()> m_schedule;
};

} // namespace orvane
