#include "mainwnd/TransferRunner.h"

#include <atomic>
#include <memory>
#include <QCoreApplication>
#include <QEventLoop>
#include <system_error>
#include <thread>

#include "ui/GuiThread.h"

namespace orvane {

void CTransferRunner::Run(const std::function<void()>& work) {
    if (m_running || !QCoreApplication::instance() || !OnGuiThread()) {
        work();
        return;
    }
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
        m_running = false;
        return;
    }
    if (!done.load()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    *waiting = nullptr;
    m_running = false;
}

} // namespace orvane
