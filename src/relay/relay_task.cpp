#include "relay/relay_task.h"

#include "base/main_thread.h"

namespace tagsmith::relay {

RelayTask::RelayTask(Progress progress, Completion completion)
    : m_progress(std::move(progress)), m_completion(std::move(completion)) {}

void RelayTask::cancel() {
    m_cancellation.cancel();
}

bool RelayTask::isCancelled() const {
    return m_cancellation.isCancelled();
}

bool RelayTask::waitUntilEnded(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_endLock);
    return m_endSignal.wait_for(lock, limit, [this] { return m_ended; });
}

void RelayTask::postProgress(const QString& text) {
    onMainUnlessCancelled([this, text] { m_progress(text); });
}

void RelayTask::finish(const Result<void>& outcome) {
    onMainUnlessCancelled([this, outcome] { m_completion(outcome); });
    {
        const std::lock_guard lock(m_endLock);
        m_ended = true;
    }
    m_endSignal.notify_all();
}

// Checked twice: before queueing, so nothing is queued for an owner that has
// left, and again on the main thread, where cancel() runs, so a callback
// queued just before the cancellation is dropped too.
void RelayTask::onMainUnlessCancelled(std::function<void()> callback) {
    if (isCancelled())
        return;
    base::onMain([task = shared_from_this(), callback = std::move(callback)] {
        if (!task->isCancelled())
            callback();
    });
}

} // namespace tagsmith::relay
