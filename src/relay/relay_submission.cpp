#include "relay/relay_submission.h"

#include "relay/receive_code.h"
#include "relay/relay_crypto.h"
#include "relay/relay_failure.h"
#include "relay/transport_error.h"

namespace tagsmith::relay {

namespace {

constexpr qsizetype kNonceBytes = 24;

QJsonObject receiptQuery(const QJsonObject& envelope) {
    return {{QStringLiteral("messageId"), envelope.value(QStringLiteral("messageId"))},
            {QStringLiteral("receiptSecret"), envelope.value(QStringLiteral("receiptSecret"))}};
}

} // namespace

RelaySubmission::RelaySubmission(const RelayConfiguration& configuration, const RelayTiming& timing,
                                 RequestCancellation& cancellation, Progress progress)
    : m_configuration(configuration), m_timing(timing), m_cancellation(cancellation), m_progress(std::move(progress)),
      m_client(configuration, timing, cancellation) {}

Result<void> RelaySubmission::run(const QString& code, const QByteArray& report) {
    if (!isReceiveCode(code))
        return relayFailure(kReceiveCodeHint);
    m_progress(QStringLiteral("正在查找接收工作端…"));
    const Result<QString> nonce = RelayCrypto::hex(kNonceBytes);
    if (!nonce)
        return nonce.error();
    const Result<QString> ticket = resolve(code, *nonce);
    if (!ticket)
        return ticket.error();
    const Result<QJsonObject> envelope = sealFor(*ticket, code, *nonce, report);
    if (!envelope)
        return envelope.error();
    m_progress(QStringLiteral("正在加密发送配置…"));
    const Result<QJsonObject> submitted = m_client.request(QStringLiteral("submit"), *envelope);
    if (!submitted)
        return submitted.error();
    m_progress(QStringLiteral("已发送，等待工作端保存回执…"));
    return awaitReceipt(*envelope);
}

Result<QString> RelaySubmission::resolve(const QString& code, const QString& nonce) {
    const Result<QJsonObject> answer =
        m_client.request(QStringLiteral("resolve"), {{QStringLiteral("code"), code}, {QStringLiteral("nonce"), nonce}});
    if (!answer)
        return answer.error();
    const QJsonValue ticket = answer->value(QStringLiteral("ticket"));
    if (!ticket.isString())
        return relayFailure(QStringLiteral("未收到接收凭证"));
    return ticket.toString();
}

Result<QJsonObject> RelaySubmission::sealFor(const QString& ticket, const QString& code, const QString& nonce,
                                             const QByteArray& report) {
    const Result<QJsonObject> payload = RelayCrypto::verify(ticket, m_configuration.issuer, code, nonce);
    if (!payload)
        return payload.error();
    Result<QJsonObject> envelope = RelayCrypto::encrypt(report, *payload);
    if (envelope)
        envelope->insert(QStringLiteral("ticket"), ticket);
    return envelope;
}

// The limit counts from the first answer, so a slow relay does not eat the
// workstation's time to save.
Result<void> RelaySubmission::awaitReceipt(const QJsonObject& envelope) {
    const QJsonObject query = receiptQuery(envelope);
    std::optional<double> firstAnswerAt;
    for (;;) {
        const Result<QJsonObject> answer = m_client.request(QStringLiteral("status"), query);
        if (!answer)
            return answer.error();
        if (!firstAnswerAt)
            firstAnswerAt = m_timing.clock();
        const QString status = answer->value(QStringLiteral("status")).toString();
        if (status == QLatin1String("delivered")) {
            m_progress(QStringLiteral("✓ 工作端已保存配置\n出签按工作端当前打印设置执行"));
            return {};
        }
        if (status != QLatin1String("pending"))
            return relayFailure(QStringLiteral("工作端未接受或未及时保存报告，请保持工作端打开后重试"));
        if (m_timing.clock() - *firstAnswerAt > m_timing.pendingLimitSeconds)
            return relayFailure(QStringLiteral("暂未确认工作端保存，请查看工作端记录，保持联网后可重试"));
        if (!m_cancellation.wait(m_timing.pollInterval))
            return cancelledError();
    }
}

} // namespace tagsmith::relay
