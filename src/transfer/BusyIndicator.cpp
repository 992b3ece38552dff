#include "transfer/BusyIndicator.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>

#include "services/MainWindowLink.h"
#include "services/WindowMessages.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {

std::atomic<bool> g_FailNextStart{false};

std::mutex g_KeptMutex;
std::unique_ptr<CBusyIndicatorThread> g_Kept;

} // namespace

CBusyIndicatorThread::CBusyIndicatorThread(CTransferHost& host) : m_host(host) {}

CBusyIndicatorThread::~CBusyIndicatorThread() {
    Join();
}

void CBusyIndicatorThread::FailNextStartForTests() {
    g_FailNextStart.store(true);
}

bool CBusyIndicatorThread::Start() {
    if (m_thread.joinable()) return true;
    if (g_FailNextStart.exchange(false)) return false;
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CBusyIndicatorThread::Post(uint32_t message) {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(message);
    }
    m_wake.notify_one();
}

void CBusyIndicatorThread::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void CBusyIndicatorThread::Run() {
    for (;;) {
        uint32_t message;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty(); });
            message = m_queue.front();
            m_queue.pop_front();
        }
        MainWindowLink* link = GetMainWindowLink();
        if (message != BUSY_MSG_DONE) {
            m_host.ShowBusyIndicator(true);
            if (link) link->SetWindowTimer(BUSY_ANIMATION_TIMER, kBusyAnimationPeriodMs);
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kBusyHideDelayMs));
        if (link) link->KillWindowTimer(BUSY_ANIMATION_TIMER);
        m_host.ShowBusyIndicator(false);
        return;
    }
}

void KeepBusyIndicator(CBusyIndicatorThread* indicator) {
    std::unique_ptr<CBusyIndicatorThread> previous;
    {
        std::lock_guard<std::mutex> lock(g_KeptMutex);
        previous = std::move(g_Kept);
        g_Kept.reset(indicator);
    }
    previous.reset(); // joins outside the lock
}

void WaitForBusyIndicator() {
    KeepBusyIndicator(nullptr);
}

} // namespace orvane
