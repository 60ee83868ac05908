#include "relay/cloud_relay.h"

#include "base/detached_thread.h"
#include "relay/relay_failure.h"
#include "relay/relay_submission.h"
#include "relay/transport_error.h"

namespace tagsmith::relay {

CloudRelay::CloudRelay(RelayConfiguration configuration, RelayTiming timing)
    : m_configuration(std::move(configuration)), m_timing(std::move(timing)) {}

CloudRelay::~CloudRelay() {
    close();
}

std::shared_ptr<RelayTask> CloudRelay::send(const QString& code, const QByteArray& report, RelayTask::Progress progress,
                                            RelayTask::Completion completion) {
    auto task = std::make_shared<RelayTask>(std::move(progress), std::move(completion));
    if (m_closed) {
        task->finish(cancelledError());
        return task;
    }
    m_tasks.removeIf([](const std::weak_ptr<RelayTask>& running) { return running.expired(); });
    m_tasks.append(task);
    // The worker owns copies of everything it reads, so this object may go
    // away (cancelling the task) while the worker winds down.
    const bool started = base::runDetached([task, configuration = m_configuration, timing = m_timing, code, report] {
        RelaySubmission submission(configuration, timing, task->cancellation(),
                                   [&task](const QString& text) { task->postProgress(text); });
        task->finish(submission.run(code, report));
    });
    if (!started)
        task->finish(relayFailure(QStringLiteral("本机无法启动发送任务，请稍后重试")));
    return task;
}

void CloudRelay::close() {
    m_closed = true;
    for (const std::weak_ptr<RelayTask>& running : m_tasks) {
        if (const std::shared_ptr<RelayTask> task = running.lock())
            task->cancel();
    }
    m_tasks.clear();
}

} // namespace tagsmith::relay
