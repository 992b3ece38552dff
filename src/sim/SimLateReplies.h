#pragma once
// Replies the simulated keyboard holds back: each is handed over by a
// helper thread once its delay has passed. Destroying the holder drops what
// is still held and ends the thread at once.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

class CSimLateReplies {
  public:
    CSimLateReplies() = default;
    ~CSimLateReplies();
    CSimLateReplies(const CSimLateReplies&) = delete;
    CSimLateReplies& operator=(const CSimLateReplies&) = delete;

    // Runs `deliver` on the helper thread `delay` from now.
    void Hold(std::chrono::milliseconds delay, std::function<void()> deliver);
    // Replies held and not yet handed over.
    size_t Held() const;

  private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        Clock::time_point due;
        std::function<void()> deliver;
    };
    void Run();

    mutable std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::vector<Entry> m_Entries;
    size_t m_Delivering = 0;
    bool m_Stop = false;
    std::thread m_Thread;
};

} // namespace orvane
