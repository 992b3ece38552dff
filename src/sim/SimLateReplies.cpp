#include "sim/SimLateReplies.h"

#include <algorithm>

namespace orvane {

CSimLateReplies::~CSimLateReplies() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
        m_Entries.clear();
    }
    m_Wake.notify_all();
    if (m_Thread.joinable()) m_Thread.join();
}

void CSimLateReplies::Hold(std::chrono::milliseconds delay, std::function<void()> deliver) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Stop) return;
        m_Entries.push_back({Clock::now() + delay, std::move(deliver)});
        // Started on first use: a keyboard without late faults runs no thread.
        if (!m_Thread.joinable()) m_Thread = std::thread(&CSimLateReplies::Run, this);
    }
    m_Wake.notify_all();
}

size_t CSimLateReplies::Held() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Entries.size() + m_Delivering;
}

void CSimLateReplies::Run() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    while (!m_Stop) {
        if (m_Entries.empty()) {
            m_Wake.wait(lock);
            continue;
        }
        auto next = std::min_element(m_Entries.begin(), m_Entries.end(),
                                     [](const Entry& a, const Entry& b) { return a.due < b.due; });
        if (Clock::now() < next->due) {
            m_Wake.wait_until(lock, next->due);
            continue;
        }
        std::function<void()> deliver = std::move(next->deliver);
        m_Entries.erase(next);
        // Delivered without the lock: it takes the keyboard's locks.
        ++m_Delivering;
        lock.unlock();
        deliver();
        lock.lock();
        --m_Delivering;
    }
}

} // namespace orvane
