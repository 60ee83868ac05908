#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class QObject;

namespace tagsmith::base {

// Handle of a repeating task on a SerialQueue. Cancelling (or destroying the
// handle) guarantees that no firing starts afterwards.
class RepeatingTimer {
public:
    RepeatingTimer() = default;
    ~RepeatingTimer() { cancel(); }
    RepeatingTimer(RepeatingTimer&&) noexcept = default;
    RepeatingTimer& operator=(RepeatingTimer&& other) noexcept;
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

    void cancel();
    bool active() const { return m_cancelled && !*m_cancelled; }

private:
    friend class SerialQueue;
    explicit RepeatingTimer(std::shared_ptr<std::atomic<bool>> cancelled) : m_cancelled(std::move(cancelled)) {}
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};

// A labelled thread that runs its tasks one at a time, in the order queued.
class SerialQueue {
public:
    explicit SerialQueue(QString label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const QString& label() const { return m_label; }
    bool isCurrent() const { return QThread::currentThread() == &m_thread; }

    void async(std::function<void()> task);

    // Runs the task on this queue at once, then every interval, until cancelled.
    [[nodiscard]] RepeatingTimer every(std::chrono::milliseconds interval, std::function<void()> task);

    // Calls onDrained on the main thread once every task queued before it has run.
    void drain(std::function<void()> onDrained);

private:
    QString m_label;
    QThread m_thread;
    QObject* m_context; // lives on m_thread; deleted there when the thread finishes
};

} // namespace tagsmith::base
