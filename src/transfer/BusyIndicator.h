#pragma once
// The busy indicator shown while Apply runs: a short-lived thread with its
// own message queue. Any message but 1026 shows the indicator and starts
// BUSY_ANIMATION_TIMER (50 ms) on the main window; 1026 waits 100 ms, stops
// the timer, hides the indicator and ends the thread.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace orvane {

constexpr uint32_t BUSY_MSG_SHOW = 0x401; // 1025
constexpr uint32_t BUSY_MSG_DONE = 0x402; // 1026
constexpr int kBusyStartWaitMs = 100;
constexpr int kBusyHideDelayMs = 100;
constexpr uint32_t kBusyAnimationPeriodMs = 50;

class CTransferHost;

class CBusyIndicatorThread {
  public:
    explicit CBusyIndicatorThread(CTransferHost& host);
    ~CBusyIndicatorThread(); // waits for the thread
    CBusyIndicatorThread(const CBusyIndicatorThread&) = delete;
    CBusyIndicatorThread& operator=(const CBusyIndicatorThread&) = delete;

    // False when the thread could not be created; posting then does nothing.
    bool Start();
    bool Running() const { return m_thread.joinable(); }
    void Post(uint32_t message);
    void Join();

    // Test hook: the next Start fails as if no thread could be created.
    static void FailNextStartForTests();

  private:
    void Run();

    CTransferHost& m_host;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<uint32_t> m_queue;
    std::thread m_thread;
};

// Apply hands its indicator here so it can return while the indicator winds
// down; the previous one is joined first (it has ended or is about to).
void KeepBusyIndicator(CBusyIndicatorThread* indicator);
// Waits until the last indicator has ended (tests, shutdown).
void WaitForBusyIndicator();

} // namespace orvane
