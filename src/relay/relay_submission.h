#pragma once

#include "base/result.h"
#include "relay/relay_client.h"
#include "relay/relay_configuration.h"
#include "relay/relay_timing.h"
#include "relay/request_cancellation.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace tagsmith::relay {

// One send of a report, from the receive code to the workstation's receipt,
// as a straight sequence on a worker thread. Nothing outlives it: each run
// makes a fresh nonce, key, salt, message identifier and receipt secret, so a
// send tried again after a failure is a new message.
class RelaySubmission {
public:
    using Progress = std::function<void(const QString&)>; // called on the worker thread

    RelaySubmission(const RelayConfiguration& configuration, const RelayTiming& timing,
                    RequestCancellation& cancellation, Progress progress);

    // Succeeds only when the workstation has confirmed saving the report.
    Result<void> run(const QString& code, const QByteArray& report);

private:
    Result<QString> resolve(const QString& code, const QString& nonce);
    Result<QJsonObject> sealFor(const QString& ticket, const QString& code, const QString& nonce,
                                const QByteArray& report);
    Result<void> awaitReceipt(const QJsonObject& envelope);

    const RelayConfiguration& m_configuration;
    const RelayTiming& m_timing;
    RequestCancellation& m_cancellation;
    Progress m_progress;
    RelayClient m_client;
};

} // namespace tagsmith::relay
