#pragma once
// Runs a transfer with the keyboard (Apply, restore defaults, an import) so
// that the window keeps painting: the work runs on a worker thread while the
// GUI thread waits in a local loop that takes no user input. To the caller
// it is still one synchronous step. Whatever the work needs of the window
// (message boxes, widgets) it reaches through the GUI thread, which keeps
// handling posted and sent messages while it waits.
#include <functional>

namespace orvane {

class CTransferRunner {
  public:
    // GUI thread. Returns when `work` has ended. A transfer asked for while
    // one runs (from a message handled during the wait), or a call from any
    // other thread, runs `work` on the calling thread.
    void Run(const std::function<void()>& work);
    bool Running() const { return m_running; }

  private:
    bool m_running = false;
};

} // namespace orvane
