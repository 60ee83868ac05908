#pragma once

#include "relay/device_identity.h"
#include "relay/json_post.h"
#include "relay/relay_configuration.h"
#include "relay/request_cancellation.h"
#include "report/report.h"

#include <QJsonObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

namespace tagsmith::relay {

// How often the workstation asks the relay, and how long it may wait.
struct RelayInboxTiming {
    std::chrono::seconds inboxWait{20};           // how long the relay may hold an inbox request
    std::chrono::milliseconds retryDelay{5000};   // after the relay could not be reached
    std::chrono::milliseconds codeRenewal{60000}; // the code is asked for again this often
};

// The workstation's side of the relay: keeps this workstation registered,
// its receive code alive, and takes the envelopes sealed for it. Each one that
// opens and validates is handed to accept; the relay is told "delivered" only
// once accept has saved it. An envelope that does not open or validate is
// dropped and never confirmed. Runs on a thread of its own; the callbacks run
// on the main thread.
class RelayInbox : public std::enable_shared_from_this<RelayInbox> {
public:
    using Timing = RelayInboxTiming;

    static std::shared_ptr<RelayInbox> create(RelayConfiguration configuration,
                                              QString identityFolder = DeviceIdentity::defaultFolder(),
                                              Timing timing = {});

    std::function<void(const QString& code)> onCode;
    // Why the relay cannot be reached; an empty text once it answers again.
    std::function<void(const QString& text)> onState;
    // Saves the report; true once saved, so that the collector may be told.
    std::function<bool(const report::Report& report, const QByteArray& bytes)> accept;
    std::function<void(const QString& serial)> onDelivered;

    // Call once, from the main thread, with the callbacks set.
    void start();
    // Ends the work at once; no callback runs after it.
    void stop();

private:
    RelayInbox(RelayConfiguration configuration, QString identityFolder, Timing timing);

    void run();
    bool ensureToken(const DeviceIdentity& identity);
    bool renewCode();
    bool takeEnvelopes(const DeviceIdentity& identity);
    bool receive(const QJsonObject& envelope, const DeviceIdentity& identity);
    Result<QJsonObject> request(const QString& name, QJsonObject body, std::chrono::milliseconds wait = {});
    void tell(const std::function<void(const QString&)>& callback, const QString& text);
    void complain(const Error& error);

    const RelayConfiguration m_configuration;
    const QString m_folder;
    const Timing m_timing;
    RequestCancellation m_cancellation;
    std::atomic<bool> m_stopped = false;
    // Only the worker thread touches these.
    JsonPoster m_poster;
    QString m_token;
    QString m_code;
    qint64 m_after = 0;
    bool m_unreachable = false;
    std::chrono::steady_clock::time_point m_codeDue{};
};

} // namespace tagsmith::relay
