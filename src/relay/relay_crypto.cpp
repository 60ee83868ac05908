#include "relay/relay_crypto.h"

#include "crypto/aes_gcm.h"
#include "crypto/base64.h"
#include "crypto/ed25519.h"
#include "crypto/hkdf.h"
#include "crypto/random.h"
#include "crypto/x25519.h"
#include "relay/relay_failure.h"
#include "report/json_field_reader.h"

#include <QJsonValue>
#include <QRegularExpression>
#include <QStringList>
#include <QUuid>

#include <cmath>

namespace tagsmith::relay {

namespace {

const QString kTicketFormatInvalid = QStringLiteral("接收凭证格式无效");
const QString kTicketEncodingInvalid = QStringLiteral("接收凭证编码无效");
const QString kTicketMismatch = QStringLiteral("接收工作端签名或接收码不匹配");
const QString kSealInputInvalid = QStringLiteral("报告或接收信息无效");
const QString kCryptoUnavailable = QStringLiteral("本机加密功能不可用，无法加密报告");

constexpr qsizetype kMaxTicketCharacters = 4096;
constexpr double kMaxTicketLifetime = 120000;
constexpr qsizetype kSaltBytes = 32;
constexpr qsizetype kReceiptSecretBytes = 32;

bool isText(const QJsonObject& payload, const QString& key, const QString& expected) {
    const QJsonValue value = payload.value(key);
    return value.isString() && value.toString() == expected;
}

bool isDeviceId(const QJsonValue& value) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[a-f0-9]{64}")));
    return value.isString() && pattern.match(value.toString()).hasMatch();
}

bool isReceiverKey(const QJsonValue& value) {
    if (!value.isString())
        return false;
    const std::optional<QByteArray> key = crypto::decodeBase64(value.toString().toUtf8());
    return key && key->size() == crypto::kX25519KeyBytes;
}

std::optional<double> wholeNumber(const QJsonValue& value) {
    const double number = value.toDouble();
    if (!value.isDouble() || !std::isfinite(number) || std::trunc(number) != number)
        return std::nullopt;
    return number;
}

// The times are only compared with each other: this machine's clock may be
// wrong, and the relay enforces expiry itself.
bool hasValidLifetime(const QJsonObject& payload) {
    const std::optional<double> issuedAt = wholeNumber(payload.value(QStringLiteral("issuedAt")));
    const std::optional<double> expiresAt = wholeNumber(payload.value(QStringLiteral("expiresAt")));
    return issuedAt && expiresAt && *expiresAt > *issuedAt && *expiresAt - *issuedAt <= kMaxTicketLifetime;
}

bool hasValidPayload(const QJsonObject& payload, const QString& code, const QString& nonce) {
    return isText(payload, QStringLiteral("kind"), RelayCrypto::purpose) &&
           isText(payload, QStringLiteral("code"), code) && isText(payload, QStringLiteral("nonce"), nonce) &&
           isDeviceId(payload.value(QStringLiteral("deviceId"))) &&
           isReceiverKey(payload.value(QStringLiteral("receiverKey"))) && hasValidLifetime(payload);
}

QByteArray associatedData(const QString& deviceId, const QString& messageId) {
    return (RelayCrypto::purpose + u'|' + deviceId + u'|' + messageId).toUtf8();
}

QString base64Text(const QByteArray& bytes) {
    return QString::fromLatin1(crypto::encodeBase64(bytes));
}

QJsonObject envelope(const QString& messageId, const QByteArray& senderKey, const QByteArray& salt,
                     const QByteArray& sealedBox, const QString& receiptSecret) {
    return {
        {QStringLiteral("messageId"), messageId},
        {QStringLiteral("senderKey"), base64Text(senderKey)},
        {QStringLiteral("salt"), base64Text(salt)},
        {QStringLiteral("iv"), base64Text(sealedBox.first(crypto::kAesGcmNonceBytes))},
        {QStringLiteral("ciphertext"), base64Text(sealedBox.sliced(crypto::kAesGcmNonceBytes))},
        {QStringLiteral("receiptSecret"), receiptSecret},
    };
}

} // namespace

Result<QString> RelayCrypto::hex(qsizetype count) {
    const std::optional<QByteArray> bytes = crypto::randomBytes(count);
    if (!bytes)
        return relayFailure(kCryptoUnavailable);
    return QString::fromLatin1(bytes->toHex());
}

Result<QByteArray> RelayCrypto::decodeURL(const QString& text) {
    QByteArray standard = text.toUtf8().replace('-', '+').replace('_', '/');
    while (standard.size() % 4 != 0)
        standard.append('=');
    std::optional<QByteArray> bytes = crypto::decodeBase64(standard);
    if (!bytes)
        return relayFailure(kTicketEncodingInvalid);
    return *std::move(bytes);
}

Result<QJsonObject> RelayCrypto::verify(const QString& ticket, const QByteArray& issuer, const QString& code,
                                        const QString& nonce) {
    const QStringList parts = ticket.split(u'.');
    if (ticket.size() > kMaxTicketCharacters || parts.size() != 2)
        return relayFailure(kTicketFormatInvalid);
    const Result<QByteArray> signature = decodeURL(parts[1]);
    if (!signature)
        return signature.error();
    // The signature covers the text as written, so a re-encoded payload fails.
    if (!crypto::isValidEd25519Signature(*signature, parts[0].toUtf8(), issuer))
        return relayFailure(kTicketMismatch);
    const Result<QByteArray> payloadBytes = decodeURL(parts[0]);
    if (!payloadBytes)
        return payloadBytes.error();
    Result<QJsonObject> payload = report::parseJsonObject(*payloadBytes);
    if (payload && !hasValidPayload(*payload, code, nonce))
        return relayFailure(kTicketMismatch);
    return payload;
}

Result<QJsonObject> RelayCrypto::encrypt(const QByteArray& report, const QJsonObject& payload) {
    const QJsonValue deviceId = payload.value(QStringLiteral("deviceId"));
    const QJsonValue receiverKeyText = payload.value(QStringLiteral("receiverKey"));
    const std::optional<QByteArray> receiverKey =
        receiverKeyText.isString() ? crypto::decodeBase64(receiverKeyText.toString().toUtf8()) : std::nullopt;
    if (!deviceId.isString() || !receiverKey)
        return relayFailure(kSealInputInvalid);
    const std::optional<QByteArray> salt = crypto::randomBytes(kSaltBytes);
    const std::optional<crypto::X25519PrivateKey> ephemeral = crypto::X25519PrivateKey::generate();
    if (!salt || !ephemeral)
        return relayFailure(kCryptoUnavailable);
    const QString messageId = QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
    // A low-order receiver key would give a secret anyone could compute.
    const std::optional<QByteArray> sharedSecret = ephemeral->sharedSecret(*receiverKey);
    if (!sharedSecret)
        return relayFailure(kSealInputInvalid);
    const std::optional<QByteArray> key =
        crypto::hkdfSha256(*sharedSecret, *salt, purpose.toUtf8(), crypto::kAesKeyBytes);
    const std::optional<QByteArray> sealedBox =
        key ? crypto::seal(*key, report, associatedData(deviceId.toString(), messageId)) : std::nullopt;
    const Result<QString> receiptSecret = hex(kReceiptSecretBytes);
    if (!sealedBox || !receiptSecret)
        return relayFailure(kCryptoUnavailable);
    return envelope(messageId, ephemeral->publicKey(), *salt, *sealedBox, *receiptSecret);
}

} // namespace tagsmith::relay
