#include "base/main_thread.h"

#include <QCoreApplication>
#include <QThread>

namespace tagsmith::base {

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void onMain(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void onMainSync(const std::function<void()>& task) {
    if (isMainThread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), task, Qt::BlockingQueuedConnection);
}

} // namespace tagsmith::base
