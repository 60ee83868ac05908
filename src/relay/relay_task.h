#pragma once

#include "base/result.h"
#include "relay/request_cancellation.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tagsmith::relay {

// A running relay send, shared by its owner on the main thread and the worker
// that runs it. The owner's callbacks only ever run on the main thread, and
// never once cancel() has returned there: a window that is closing must not
// be told about a send it gave up on.
class RelayTask : public std::enable_shared_from_this<RelayTask> {
public:
    using Progress = std::function<void(const QString&)>;
    using Completion = std::function<void(const Result<void>&)>;

    RelayTask(Progress progress, Completion completion);

    // Main thread. Stops the request in flight at once. The callbacks are let
    // go of here, and after the completion has run.
    void cancel();
    bool isCancelled() const;
    // Whether the worker was done with the task (its last callback queued)
    // within the limit. Any thread but the worker's: lets a process that is
    // quitting wait for the worker to leave the network library first.
    bool waitUntilEnded(std::chrono::milliseconds limit);

    // Worker side.
    RequestCancellation& cancellation() { return m_cancellation; }
    void postProgress(const QString& text);
    void finish(const Result<void>& outcome);

private:
    void onMainUnlessCancelled(std::function<void()> callback);
    void releaseCallbacks(); // main thread

    Progress m_progress;     // main thread only
    Completion m_completion; // main thread only
    RequestCancellation m_cancellation;
    std::mutex m_endLock;
    std::condition_variable m_endSignal;
    bool m_ended = false; // guarded by m_endLock
};

} // namespace tagsmith::relay
