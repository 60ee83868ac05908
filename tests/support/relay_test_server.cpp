#include "support/relay_test_server.h"

#include <QDateTime>
#include <QJsonDocument>

namespace tagsmith::test {

namespace {

const QByteArray kPathPrefix = "/v1/relay/";

HttpReply json(int status, const QJsonObject& object) {
    return {status, QJsonDocument(object).toJson(QJsonDocument::Compact), {}, {}, false};
}

HttpReply refusal(int status, const QString& text) {
    return json(status, {{QStringLiteral("error"), text}});
}

} // namespace

RelayTestServer::RelayTestServer()
    : m_signer(m_issuer), m_http([this](const HttpRequest& request) { return handle(request); }) {}

QJsonObject RelayTestServer::configuration() const {
    return {{QStringLiteral("licenseServer"), m_http.baseUrl()},
            {QStringLiteral("publicKey"), QString::fromLatin1(m_issuer.publicKey().toBase64())}};
}

void RelayTestServer::registerCode(const QString& code) {
    const std::lock_guard lock(m_lock);
    m_codes.insert(code);
}

void RelayTestServer::signWith(const TicketIssuer& issuer) {
    const std::lock_guard lock(m_lock);
    m_signer = issuer;
}

void RelayTestServer::answerStatus(const QStringList& words) {
    const std::lock_guard lock(m_lock);
    m_statusWords = words;
}

void RelayTestServer::overrideEndpoint(const QString& name, Override override) {
    const std::lock_guard lock(m_lock);
    m_overrides.insert(name, std::move(override));
}

QList<QByteArray> RelayTestServer::openedReports() const {
    const std::lock_guard lock(m_lock);
    return m_openedReports;
}

int RelayTestServer::requestCount(const QString& name) const {
    const std::lock_guard lock(m_lock);
    return m_requestCounts.value(name);
}

HttpReply RelayTestServer::handle(const HttpRequest& request) {
    const std::lock_guard lock(m_lock);
    const QString name = QString::fromUtf8(request.path.sliced(std::min(request.path.size(), kPathPrefix.size())));
    ++m_requestCounts[name];
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    if (request.method != "POST" || !request.path.startsWith(kPathPrefix))
        return refusal(404, QStringLiteral("没有这个接口"));
    if (const Override override = m_overrides.value(name)) {
        if (std::optional<HttpReply> reply = override(body))
            return *reply;
    }
    if (name == QLatin1String("resolve"))
        return resolve(body);
    if (name == QLatin1String("submit"))
        return submit(body);
    return name == QLatin1String("status") ? status(body) : refusal(404, QStringLiteral("没有这个接口"));
}

HttpReply RelayTestServer::resolve(const QJsonObject& body) {
    const QString code = body.value(QStringLiteral("code")).toString();
    if (!m_codes.contains(code))
        return refusal(404, QStringLiteral("接收码不存在或已过期"));
    const QString ticket = m_signer.issue(
        m_receiver.payload(code, body.value(QStringLiteral("nonce")).toString(), QDateTime::currentMSecsSinceEpoch()));
    m_issuedTickets.insert(ticket);
    return json(200, {{QStringLiteral("ticket"), ticket}});
}

HttpReply RelayTestServer::submit(const QJsonObject& body) {
    if (!m_issuedTickets.contains(body.value(QStringLiteral("ticket")).toString()))
        return refusal(403, QStringLiteral("接收凭证无效"));
    const std::optional<QByteArray> report = m_receiver.open(body);
    if (!report)
        return refusal(400, QStringLiteral("报告无法解密"));
    m_openedReports.append(*report);
    m_receiptSecrets.insert(body.value(QStringLiteral("messageId")).toString(),
                            body.value(QStringLiteral("receiptSecret")).toString());
    return json(200, {{QStringLiteral("accepted"), true}});
}

HttpReply RelayTestServer::status(const QJsonObject& body) {
    const QString messageId = body.value(QStringLiteral("messageId")).toString();
    if (!m_receiptSecrets.contains(messageId) ||
        m_receiptSecrets.value(messageId) != body.value(QStringLiteral("receiptSecret")).toString())
        return refusal(404, QStringLiteral("回执信息不匹配"));
    const QString word = m_statusWords.size() > 1 ? m_statusWords.takeFirst() : m_statusWords.value(0);
    return json(200, {{QStringLiteral("status"), word}});
}

} // namespace tagsmith::test
