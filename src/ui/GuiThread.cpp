#include "ui/GuiThread.h"

#include <QCoreApplication>
#include <QThread>

namespace orvane {

void RunOnGuiThread(const std::function<void()>& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(app, work, Qt::BlockingQueuedConnection);
}

} // namespace orvane
