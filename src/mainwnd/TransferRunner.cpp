#include "mainwnd/TransferRunner.h"

#include <atomic>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <system_error>
#include <thread>

namespace orvane {

void CTransferRunner::Run(const std::function<void()>& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (m_running || !app || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    m_running = true;
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker;
    try {
        worker = std::thread([&] {
            work();
            done.store(true);
            // Queued to the loop, so it ends the wait even when posted before it began.
            QMetaObject::invokeMethod(
                &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        work(); // no thread to be had: the window waits this once
        m_running = false;
        return;
    }
    if (!done.load()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    // The quit queued after `done` may still be pending when the wait was skipped.
    QCoreApplication::removePostedEvents(&loop);
    m_running = false;
}

} // namespace orvane
