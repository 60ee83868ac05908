#include "relay/relay_client.h"

#include "relay/relay_failure.h"
#include "relay/transport_error.h"
#include "report/json_field_reader.h"

#include <QJsonDocument>

#include <algorithm>

namespace tagsmith::relay {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kAttempts = 3;
constexpr long kHttpOk = 200;

} // namespace

Result<QJsonObject> interpretAnswer(const JsonPostAnswer& answer) {
    const Result<QJsonObject> object = report::parseJsonObject(answer.body);
    if (answer.oversized || !object)
        return relayFailure(QStringLiteral("中转服务尚未就绪，请确认两端使用支持接收码的新版"));
    if (answer.status == kHttpOk)
        return *object;
    // An empty text would leave the operator with a failure that says nothing.
    const QString relayText = object->value(QStringLiteral("error")).toString();
    return relayFailure(relayText.trimmed().isEmpty() ? QStringLiteral("中转服务连接失败") : relayText);
}

RelayClient::RelayClient(const RelayConfiguration& configuration, const RelayTiming& timing,
                         RequestCancellation& cancellation)
    : m_configuration(configuration), m_timing(timing), m_cancellation(cancellation) {}

Result<QJsonObject> RelayClient::request(const QString& name, const QJsonObject& body) {
    const QUrl url = m_configuration.endpoint(name);
    const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact);
    // Each attempt has its idle and whole limits; the request's own limit
    // bounds all attempts and the pauses between them together.
    const Clock::time_point deadline = Clock::now() + m_timing.requestTimeout;
    for (int attempt = 1;; ++attempt) {
        // libcurl reads a zero limit as none at all.
        const milliseconds left =
            std::max(milliseconds(1), std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
        const JsonPostLimits limits{std::min(m_timing.idleTimeout, left), std::min(m_timing.attemptTimeout, left),
                                    kMaxAnswerBytes};
        const Result<JsonPostAnswer> answer = m_poster.post(url, json, limits, m_cancellation);
        if (answer)
            return interpretAnswer(*answer);
        const bool retry =
            !isCancellation(answer.error()) && attempt < kAttempts && deadline - Clock::now() > m_timing.retryDelay;
        if (!retry)
            return answer.error();
        if (!m_cancellation.wait(m_timing.retryDelay))
            return cancelledError();
    }
}

} // namespace tagsmith::relay
