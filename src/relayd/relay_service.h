#pragma once

#include "relayd/doorbell.h"
#include "relayd/issuer_key.h"
#include "relayd/relay_store.h"
#include "relayd/resolve_limiter.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <chrono>
#include <functional>

namespace tagsmith::relayd {

// An answer: the HTTP status and its JSON body.
struct RelayReply {
    int status = 200;
    QJsonObject body;
};

// The relay's limits; the defaults are those of a shop's relay.
struct RelayLimits {
    int resolvesPerMinute = 10;             // per client address
    qint64 codeLifetimeMs = 10 * 60 * 1000; // a code lives this long after the workstation last asked
    int maxWaitingPerDevice = 100;          // envelopes not yet confirmed, per workstation
    std::chrono::milliseconds longestInboxWait{25000};
};

// What the relay does with each request, apart from HTTP: the collector's
// resolve, submit and status, and the workstation's register, code, inbox and
// confirm. Every answer is a JSON object; refusals carry {"error": text}.
// Safe to call from many threads at once.
class RelayService {
public:
    using Clock = std::function<qint64()>; // milliseconds since the epoch

    RelayService(RelayStore& store, IssuerKey issuer, RelayLimits limits = {}, Clock clock = wallClock);

    RelayReply handle(const QByteArray& path, const QByteArray& body, const QString& clientAddress);
    // Ends waiting inbox requests, so that the server can stop at once.
    void stop() { m_doorbell.stop(); }
    void sweep() { m_store.sweep(m_clock()); }

    static qint64 wallClock();

private:
    RelayReply resolve(const QJsonObject& body, const QString& clientAddress);
    RelayReply submit(const QJsonObject& body);
    RelayReply status(const QJsonObject& body);
    RelayReply registerDevice(const QJsonObject& body);
    RelayReply code(const Device& device);
    RelayReply inbox(const Device& device, const QJsonObject& body);
    RelayReply confirm(const Device& device, const QJsonObject& body);

    std::optional<Device> tokenHolder(const QJsonObject& body);
    std::optional<QString> ticketDevice(const QString& ticket);
    QString ticket(const QString& code, const QString& nonce, const Device& device);
    std::optional<QString> claimFreshCode(const QString& deviceId);

    RelayStore& m_store;
    const IssuerKey m_issuer;
    const RelayLimits m_limits;
    const Clock m_clock;
    ResolveLimiter m_limiter;
    Doorbell m_doorbell;
};

} // namespace tagsmith::relayd
