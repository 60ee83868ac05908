#include "relay/relay_task.h"

#include "base/main_thread.h"

#include <utility>

namespace tagsmith::relay {

RelayTask::RelayTask(Progress progress, Completion completion)
    : m_progress(std::move(progress)), m_completion(std::move(completion)) {}

void RelayTask::cancel() {
    m_cancellation.cancel();
    releaseCallbacks();
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
    onMainUnlessCancelled([this, outcome] {
        const Completion completion = std::exchange(m_completion, nullptr);
        releaseCallbacks();
        completion(outcome);
    });
    {
        const std::lock_guard lock(m_endLock);
        m_ended = true;
    }
    m_endSignal.notify_all();
}

// An owner may keep its ended task while the callbacks hold the owner's state:
// letting go of them here is what keeps that from being a cycle that never frees.
void RelayTask::releaseCallbacks() {
    m_progress = nullptr;
    m_completion = nullptr;
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
