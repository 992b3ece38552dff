#include "model/LightingWriteQueue.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace orvane {

CLightingWriteQueue::CLightingWriteQueue(CLightingPort& port, Deliver deliver)
    : m_state(std::make_shared<State>(port)), m_deliver(std::move(deliver)) {
    m_worker = std::thread([state = m_state, d = m_deliver] { Work(state, d); });
}

CLightingWriteQueue::~CLightingWriteQueue() {
    bool delivering = false;
    {
        std::lock_guard lock(m_state->lock);
        m_state->stop = true;
        m_state->waiting.clear();
        delivering = m_state->delivering;
    }
    m_state->wake.notify_all();
    if (delivering)
        m_worker.detach(); // it holds its own share of the state
    else
        m_worker.join();
}

void CLightingWriteQueue::Send(const LightingChange& change, Done done) {
    std::vector<Done> superseded;
    {
        std::lock_guard lock(m_state->lock);
        auto& waiting = m_state->waiting;
        for (auto it = waiting.begin(); it != waiting.end();) {
            if (!it->writes && change.Supersedes(it->change)) {
                superseded.push_back(std::move(it->done));
                it = waiting.erase(it);
            } else {
                ++it;
            }
        }
        waiting.push_back({change, std::move(done), {}});
    }
    m_state->wake.notify_one();
    for (Done& d : superseded)
        if (d) d({kLightingSuperseded, 0});
}

void CLightingWriteQueue::SendWrites(Writes writes, Done done) {
    {
        std::lock_guard lock(m_state->lock);
        m_state->waiting.push_back({LightingChange{}, std::move(done), std::move(writes)});
    }
    m_state->wake.notify_one();
}

bool CLightingWriteQueue::Busy() const {
    std::lock_guard lock(m_state->lock);
    return m_state->unanswered > 0 || !m_state->waiting.empty();
}

void CLightingWriteQueue::Work(const std::shared_ptr<State>& state, const Deliver& deliver) {
    std::unique_lock lock(state->lock);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stop || !state->waiting.empty(); });
        if (state->stop) return;
        Job job = std::move(state->waiting.front());
        state->waiting.pop_front();
        ++state->unanswered;
        lock.unlock();
        const LightingResult result =
            job.writes ? job.writes(state->port) : SendLightingChange(state->port, job.change);
        lock.lock();
        if (state->stop) return;
        state->delivering = true;
        lock.unlock();
        // No lock is held while the asking thread runs the answer: it may
        // show a message and wait for the user.
        deliver([state, done = std::move(job.done), result] {
            {
                std::lock_guard answered(state->lock);
                --state->unanswered;
                if (state->stop) return; // the queue is gone, and with it whoever asked
            }
            if (done) done(result);
        });
        lock.lock();
        state->delivering = false;
    }
}

} // namespace orvane
