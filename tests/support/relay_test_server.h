#pragma once

#include "support/http_test_server.h"
#include "support/relay_test_crypto.h"

#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <functional>
#include <mutex>
#include <optional>

namespace tagsmith::test {

// A relay and the workstation behind it, on loopback: it hands out tickets
// for its registered receive codes, keeps and opens the envelopes it is given,
// and answers status polls. Tests script failures per endpoint.
class RelayTestServer {
public:
    // Takes over one endpoint ("resolve", "submit", "status") whenever it
    // returns a reply; the request body is given parsed.
    using Override = std::function<std::optional<HttpReply>(const QJsonObject& body)>;

    RelayTestServer();

    // The content of issuer-public.json for this relay.
    QJsonObject configuration() const;
    QString baseUrl() const { return m_http.baseUrl(); }

    void registerCode(const QString& code);
    // Tickets are signed by this issuer instead of the configured one.
    void signWith(const TicketIssuer& issuer);
    // Status words answered in turn, the last one repeated; "delivered" by default.
    void answerStatus(const QStringList& words);
    void overrideEndpoint(const QString& name, Override override);

    QList<QByteArray> openedReports() const;
    int requestCount(const QString& name) const;

private:
    HttpReply handle(const HttpRequest& request);
    HttpReply resolve(const QJsonObject& body);
    HttpReply submit(const QJsonObject& body);
    HttpReply status(const QJsonObject& body);

    mutable std::mutex m_lock; // guards everything below; the handler runs on the server thread
    TicketIssuer m_issuer;
    TicketIssuer m_signer;
    TestReceiver m_receiver;
    QSet<QString> m_codes;
    QSet<QString> m_issuedTickets;
    QMap<QString, QString> m_receiptSecrets; // by messageId
    QStringList m_statusWords{QStringLiteral("delivered")};
    QMap<QString, Override> m_overrides;
    QMap<QString, int> m_requestCounts;
    QList<QByteArray> m_openedReports;
    HttpTestServer m_http; // last: stops before the state it reads goes away
};

} // namespace tagsmith::test
