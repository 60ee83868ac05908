#include "relayd/relay_service.h"

#include "crypto/constant_time.h"
#include "crypto/random.h"
#include "crypto/sha256.h"
#include "relay/receive_code.h"
#include "relay/relay_crypto.h"
#include "relayd/wire_forms.h"
#include "report/json_field_reader.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <cmath>

namespace tagsmith::relayd {

namespace {

using relay::RelayCrypto;

constexpr qint64 kTicketLifetimeMs = 120000;
constexpr int kTokenBytes = 32;
constexpr int kKeyBytes = 32;
constexpr int kSaltBytes = 32;
constexpr int kIvBytes = 12;
constexpr int kTagBytes = 16;
constexpr int kSignatureBytes = 64;
constexpr qsizetype kMaxTicketCharacters = 4096;
constexpr int kCodeAttempts = 64;
constexpr int kInboxBatch = 16;

RelayReply refusal(int status, const QString& text) {
    return {status, {{QStringLiteral("error"), text}}};
}

RelayReply malformed() {
    return refusal(400, QStringLiteral("请求内容不完整或格式无效"));
}

RelayReply storeFailure() {
    return refusal(500, QStringLiteral("中转服务暂时无法保存，请稍后再试"));
}

QByteArray hashOf(const QString& secret) {
    return crypto::sha256(secret.toLatin1());
}

std::optional<QString> randomHex(int bytes) {
    const std::optional<QByteArray> random = crypto::randomBytes(bytes);
    return random ? std::optional(QString::fromLatin1(random->toHex())) : std::nullopt;
}

bool hasEnvelopeForm(const QJsonObject& body) {
    const auto member = [&](const char* name) { return textMember(body, name).value_or(QString()); };
    return isMessageId(member("messageId")) && isBase64Of(member("senderKey"), kKeyBytes) &&
           isBase64Of(member("salt"), kSaltBytes) && isBase64Of(member("iv"), kIvBytes) &&
           isBase64Of(member("ciphertext"), kTagBytes, true) && isLowerHex(member("receiptSecret"), 64) &&
           textMember(body, "ticket").has_value();
}

// What the workstation needs to open the envelope: nothing that could.
QByteArray storedEnvelope(const QJsonObject& body) {
    QJsonObject envelope;
    for (const char* name : {"messageId", "senderKey", "salt", "iv", "ciphertext"})
        envelope.insert(QLatin1String(name), body.value(QLatin1String(name)));
    return QJsonDocument(envelope).toJson(QJsonDocument::Compact);
}

} // namespace

qint64 RelayService::wallClock() {
    return QDateTime::currentMSecsSinceEpoch();
}

RelayService::RelayService(RelayStore& store, IssuerKey issuer, RelayLimits limits, Clock clock)
    : m_store(store), m_issuer(std::move(issuer)), m_limits(limits), m_clock(std::move(clock)),
      m_limiter(limits.resolvesPerMinute) {}

RelayReply RelayService::handle(const QByteArray& path, const QByteArray& body, const QString& clientAddress) {
    const Result<QJsonObject> object = report::parseJsonObject(body);
    if (!object)
        return refusal(400, QStringLiteral("请求格式无效，需要 JSON 对象"));
    if (path == "/v1/relay/resolve")
        return resolve(*object, clientAddress);
    if (path == "/v1/relay/submit")
        return submit(*object);
    if (path == "/v1/relay/status")
        return status(*object);
    if (path == "/v1/workstation/register")
        return registerDevice(*object);
    if (!path.startsWith("/v1/workstation/"))
        return refusal(404, QStringLiteral("没有这个接口"));
    const std::optional<Device> device = tokenHolder(*object);
    if (!device)
        return refusal(401, QStringLiteral("工作端凭据无效，请重新登记"));
    if (path == "/v1/workstation/code")
        return code(*device);
    if (path == "/v1/workstation/inbox")
        return inbox(*device, *object);
    if (path == "/v1/workstation/confirm")
        return confirm(*device, *object);
    return refusal(404, QStringLiteral("没有这个接口"));
}

RelayReply RelayService::resolve(const QJsonObject& body, const QString& clientAddress) {
    const QString code = textMember(body, "code").value_or(QString());
    const QString nonce = textMember(body, "nonce").value_or(QString());
    if (!relay::isReceiveCode(code) || !isLowerHex(nonce, 48))
        return malformed();
    if (!m_limiter.allow(limitedAddress(clientAddress), m_clock()))
        return refusal(429, QStringLiteral("查询接收码过于频繁，请一分钟后再试"));
    const std::optional<Device> device = m_store.deviceByCode(code, m_clock());
    if (!device)
        return refusal(404, QStringLiteral("接收码无效或已过期，请核对工作端当前显示的接收码"));
    return {200, {{QStringLiteral("ticket"), ticket(code, nonce, *device)}}};
}

// Signed over the base64url text of the payload, which is what the collector checks.
QString RelayService::ticket(const QString& code, const QString& nonce, const Device& device) {
    const qint64 now = m_clock();
    const QJsonObject payload{{QStringLiteral("kind"), RelayCrypto::purpose},
                              {QStringLiteral("code"), code},
                              {QStringLiteral("nonce"), nonce},
                              {QStringLiteral("deviceId"), device.deviceId},
                              {QStringLiteral("receiverKey"), device.receiverKey},
                              {QStringLiteral("issuedAt"), now},
                              {QStringLiteral("expiresAt"), now + kTicketLifetimeMs}};
    return m_issuer.sign(QJsonDocument(payload)
                             .toJson(QJsonDocument::Compact)
                             .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

// The device a ticket of this relay names, while the ticket lives.
std::optional<QString> RelayService::ticketDevice(const QString& ticket) {
    const QStringList parts = ticket.split(u'.');
    if (ticket.size() > kMaxTicketCharacters || parts.size() != 2)
        return std::nullopt;
    const Result<QByteArray> signature = RelayCrypto::decodeURL(parts[1]);
    if (!signature || signature->size() != kSignatureBytes || !m_issuer.signedIt(parts[0].toLatin1(), *signature))
        return std::nullopt;
    const Result<QByteArray> payloadBytes = RelayCrypto::decodeURL(parts[0]);
    const Result<QJsonObject> payload =
        payloadBytes ? report::parseJsonObject(*payloadBytes) : Result<QJsonObject>(payloadBytes.error());
    if (!payload)
        return std::nullopt;
    const double expiresAt = payload->value(QStringLiteral("expiresAt")).toDouble();
    const std::optional<QString> deviceId = textMember(*payload, "deviceId");
    if (!deviceId || !isLowerHex(*deviceId, 64) || !std::isfinite(expiresAt) || expiresAt <= double(m_clock()))
        return std::nullopt;
    return deviceId;
}

RelayReply RelayService::submit(const QJsonObject& body) {
    if (!hasEnvelopeForm(body))
        return malformed();
    const std::optional<QString> deviceId = ticketDevice(textMember(body, "ticket").value());
    if (!deviceId)
        return refusal(403, QStringLiteral("接收凭证无效或已过期，请重新发送"));
    const QString messageId = textMember(body, "messageId").value();
    switch (m_store.storeEnvelope(messageId, *deviceId, hashOf(textMember(body, "receiptSecret").value()),
                                  storedEnvelope(body), m_clock(), m_limits.maxWaitingPerDevice)) {
    case StoreOutcome::stored:
        m_doorbell.ring(*deviceId);
        return {200, {{QStringLiteral("status"), QStringLiteral("pending")}}};
    case StoreOutcome::duplicate:
        return refusal(409, QStringLiteral("该报告已提交过，请勿重复发送"));
    case StoreOutcome::inboxFull:
        return refusal(503, QStringLiteral("工作端待接收的报告过多，请稍后再试"));
    case StoreOutcome::failed:
        break;
    }
    return storeFailure();
}

// A wrong secret and an unknown message get the same answer, in the same time.
RelayReply RelayService::status(const QJsonObject& body) {
    const QString messageId = textMember(body, "messageId").value_or(QString());
    const QString receiptSecret = textMember(body, "receiptSecret").value_or(QString());
    if (!isMessageId(messageId) || !isLowerHex(receiptSecret, 64))
        return malformed();
    const std::optional<MessageState> message = m_store.message(messageId);
    const QByteArray presented = hashOf(receiptSecret);
    if (!crypto::equalInConstantTime(message ? message->receiptHash : QByteArray(presented.size(), '\0'), presented) ||
        !message)
        return refusal(404, QStringLiteral("没有找到这份报告的发送记录"));
    return {200,
            {{QStringLiteral("status"), message->delivered ? QStringLiteral("delivered") : QStringLiteral("pending")}}};
}

RelayReply RelayService::registerDevice(const QJsonObject& body) {
    const QString deviceId = textMember(body, "deviceId").value_or(QString());
    const QString receiverKey = textMember(body, "receiverKey").value_or(QString());
    if (!isLowerHex(deviceId, 64) || !isBase64Of(receiverKey, kKeyBytes))
        return malformed();
    const std::optional<QString> token = randomHex(kTokenBytes);
    if (!token)
        return storeFailure();
    // The first registration wins: a second one would let anyone take over a workstation's reports.
    if (!m_store.addDevice({deviceId, receiverKey}, hashOf(*token)))
        return refusal(409, QStringLiteral("该工作端已登记，请使用原有凭据"));
    return {200, {{QStringLiteral("token"), *token}}};
}

std::optional<Device> RelayService::tokenHolder(const QJsonObject& body) {
    const QString token = textMember(body, "token").value_or(QString());
    return isLowerHex(token, 2 * kTokenBytes) ? m_store.deviceByToken(hashOf(token)) : std::nullopt;
}

RelayReply RelayService::code(const Device& device) {
    const qint64 until = m_clock() + m_limits.codeLifetimeMs;
    std::optional<QString> code = m_store.renewCode(device.deviceId, until);
    if (!code)
        code = claimFreshCode(device.deviceId);
    if (!code)
        return refusal(503, QStringLiteral("暂无可用接收码，请稍后再试"));
    return {200, {{QStringLiteral("code"), *code}, {QStringLiteral("expiresAt"), until}}};
}

// A random code that no device has had within the day.
std::optional<QString> RelayService::claimFreshCode(const QString& deviceId) {
    for (int attempt = 0; attempt < kCodeAttempts; ++attempt) {
        const std::optional<QByteArray> random = crypto::randomBytes(4);
        if (!random)
            return std::nullopt;
        const quint32 number = (quint32(quint8(random->at(0))) << 24 | quint32(quint8(random->at(1))) << 16 |
                                quint32(quint8(random->at(2))) << 8 | quint32(quint8(random->at(3))));
        const QString code = QString::number(10000 + number % 90000);
        const qint64 now = m_clock();
        if (m_store.claimCode(code, deviceId, now, now + m_limits.codeLifetimeMs))
            return code;
    }
    return std::nullopt;
}

// Waits, up to the asked time, for an envelope after the given sequence.
RelayReply RelayService::inbox(const Device& device, const QJsonObject& body) {
    const qint64 after = qint64(body.value(QStringLiteral("after")).toDouble());
    const auto asked = std::chrono::milliseconds(qint64(body.value(QStringLiteral("wait")).toDouble() * 1000));
    const auto until = std::chrono::steady_clock::now() + std::clamp(asked, {}, m_limits.longestInboxWait);
    QList<InboxEntry> entries;
    for (;;) {
        const quint64 rings = m_doorbell.rings(device.deviceId);
        entries = m_store.inbox(device.deviceId, after, kInboxBatch);
        if (!entries.isEmpty() || std::chrono::steady_clock::now() >= until)
            break;
        m_doorbell.wait(device.deviceId, rings, until);
        if (m_doorbell.rings(device.deviceId) == rings)
            break;
    }
    QJsonArray envelopes;
    for (const InboxEntry& entry : entries) {
        QJsonObject envelope = QJsonDocument::fromJson(entry.envelope).object();
        envelope.insert(QStringLiteral("sequence"), entry.sequence);
        envelopes.append(envelope);
    }
    return {200, {{QStringLiteral("envelopes"), envelopes}}};
}

RelayReply RelayService::confirm(const Device& device, const QJsonObject& body) {
    const QString messageId = textMember(body, "messageId").value_or(QString());
    if (!isMessageId(messageId))
        return malformed();
    if (!m_store.confirm(device.deviceId, messageId))
        return refusal(404, QStringLiteral("没有找到待确认的报告"));
    return {200, {{QStringLiteral("status"), QStringLiteral("delivered")}}};
}

} // namespace tagsmith::relayd
