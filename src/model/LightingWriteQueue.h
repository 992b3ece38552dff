#pragma once
// Sends lighting changes to the keyboard on a worker thread of its own, so
// the thread that asks (the window's) never waits for the keyboard. Changes
// go out in the order they were asked for, one at a time; a change still
// waiting is dropped when a later one writes the same bytes, so a slider
// dragged over many positions costs one write in flight plus the last
// position, never a backlog. Each result is handed back through `deliver`,
// which runs a function on the asking thread.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/LightingChange.h"

namespace orvane {

class CLightingWriteQueue final : public CLightingSender {
  public:
    using Deliver = std::function<void(std::function<void()>)>;
    CLightingWriteQueue(CLightingPort& port, Deliver deliver);
    // Drops what still waits. A change being sent is finished first, unless
    // its result is being handed back right now (the asking thread, which
    // destroys the queue, could not take it): then the worker ends on its own.
    ~CLightingWriteQueue() override;
    CLightingWriteQueue(const CLightingWriteQueue&) = delete;
    CLightingWriteQueue& operator=(const CLightingWriteQueue&) = delete;

    // Asking thread. A waiting change that `change` supersedes is answered
    // kLightingSuperseded at once.
    void Send(const LightingChange& change, Done done) override;
    void SendWrites(Writes writes, Done done) override;
    // True while a change waits or is being sent.
    bool Busy() const;

  private:
    struct Job {
        LightingChange change;
        Done done;
        Writes writes; // set: sent instead of `change`, and never superseded
    };
    struct State {
        explicit State(CLightingPort& p) : port(p) {}
        CLightingPort& port;
        mutable std::mutex lock;
        std::condition_variable wake;
        std::deque<Job> waiting;
        int unanswered = 0;      // taken off the list, answer not yet run
        bool delivering = false; // an answer is being handed back
        bool stop = false;       // the queue is gone: nothing more is sent or answered
    };
    static void Work(const std::shared_ptr<State>& state, const Deliver& deliver);

    std::shared_ptr<State> m_state;
    Deliver m_deliver;
    std::thread m_worker;
};

} // namespace orvane
