#include "mainwnd/TransferRunner.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <QCoreApplication>
#include <QEventLoop>
#include <system_error>
#include <thread>

#include "ui/GuiThread.h"

namespace orvane {

void CTransferRunner::Run(const std::function<void()>& work) {
    // The thread first: m_running belongs to the GUI thread.
    if (!QCoreApplication::instance() || !OnGuiThread()) {
        work();
        return;
    }
    // Asked for from a message handled during another transfer's wait (a
    // profile button pressed by a restore of the defaults), the work gets a
    // worker of its own all the same: on this thread it would stop the
    // painting for as long as the keyboard takes. The outer worker waits for
    // this thread meanwhile, so the two never talk to the keyboard at once.
    const bool nested = m_running;
    m_running = true;
    QEventLoop loop;
    // The quit may come after the wait was skipped (the work was quick):
    // it then finds no loop. Read and cleared on the GUI thread only.
    auto waiting = std::make_shared<QEventLoop*>(&loop);
    std::atomic<bool> done{false};
    std::thread worker;
    try {
        worker = std::thread([&] {
            work();
            done.store(true);
            // Queued, so it ends the wait even when posted before it began.
            PostToGuiThread([waiting] {
                if (*waiting) (*waiting)->quit();
            });
        });
    } catch (const std::system_error&) {
        work(); // no thread to be had: the window waits this once
        m_running = nested;
        return;
    }
    if (!done.load()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    *waiting = nullptr;
    m_running = nested;
    if (!nested) ScheduleQueued();
}

void CTransferRunner::RunWhenIdle(int id, std::function<void()> handler, bool once) {
    if (!m_running && m_queued.empty()) {
        handler();
        return;
    }
    if (once && IsQueued(id)) return;
    m_queued.emplace_back(id, std::move(handler));
    ScheduleQueued();
}

bool CTransferRunner::IsQueued(int id) const {
    return std::any_of(m_queued.begin(), m_queued.end(), [id](const auto& q) { return q.first == id; });
}

void CTransferRunner::ScheduleQueued() {
    // Later, from the event loop: the handler asking may be inside a transfer.
    if (!m_running && !m_queued.empty() && m_schedule) m_schedule();
}

void CTransferRunner::RunNextQueued() {
    if (m_running || m_queued.empty()) return;
    std::function<void()> handler = std::move(m_queued.front().second);
    m_queued.pop_front();
    handler();
    ScheduleQueued();
}

} // namespace orvane
