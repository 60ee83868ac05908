#include "base/serial_queue.h"

#include "base/main_thread.h"

#include <QObject>
#include <QTimer>

namespace tagsmith::base {

RepeatingTimer& RepeatingTimer::operator=(RepeatingTimer&& other) noexcept {
    if (this != &other) {
        cancel();
        m_cancelled = std::move(other.m_cancelled);
    }
    return *this;
}

void RepeatingTimer::cancel() {
    if (m_cancelled)
        m_cancelled->store(true);
}

SerialQueue::SerialQueue(QString label) : m_label(std::move(label)), m_context(new QObject) {
    m_thread.setObjectName(m_label);
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
}

SerialQueue::~SerialQueue() {
    m_thread.quit();
    m_thread.wait();
}

void SerialQueue::async(std::function<void()> task) {
    QMetaObject::invokeMethod(m_context, std::move(task), Qt::QueuedConnection);
}

RepeatingTimer SerialQueue::every(std::chrono::milliseconds interval, std::function<void()> task) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    QObject* context = m_context;
    async([context, interval, task, cancelled] {
        if (*cancelled)
            return;
        // The timer is a child of the queue's context, so it only ever lives on the queue thread.
        auto* timer = new QTimer(context);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, task, cancelled] {
            if (*cancelled) {
                timer->deleteLater();
                return;
            }
            task();
        });
        timer->start(interval);
        task();
    });
    return RepeatingTimer(cancelled);
}

void SerialQueue::drain(std::function<void()> onDrained) {
    async([onDrained = std::move(onDrained)] { onMain(onDrained); });
}

} // namespace tagsmith::base
