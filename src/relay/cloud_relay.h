#pragma once

#include "relay/relay_configuration.h"
#include "relay/relay_task.h"
#include "relay/relay_timing.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace tagsmith::relay {

// The collector's relay client: sends a report to the workstation that shows
// a receive code. One per collector window; used from the main thread.
class CloudRelay {
public:
    explicit CloudRelay(RelayConfiguration configuration, RelayTiming timing = {});
    ~CloudRelay();
    CloudRelay(const CloudRelay&) = delete;
    CloudRelay& operator=(const CloudRelay&) = delete;

    // Starts sending report (the compact JSON form) to the workstation that
    // owns code, on a worker thread. progress gets each stage's text and
    // completion the outcome, both on the main thread; completion succeeds
    // only once the workstation has confirmed saving.
    std::shared_ptr<RelayTask> send(const QString& code, const QByteArray& report, RelayTask::Progress progress,
                                    RelayTask::Completion completion);

    // Cancels every send in flight; sends started afterwards fail at once.
    void close();

private:
    RelayConfiguration m_configuration;
    RelayTiming m_timing;
    QList<std::weak_ptr<RelayTask>> m_tasks; // weak: a finished task belongs to nobody
    bool m_closed = false;
};

} // namespace tagsmith::relay
