#include "relay/envelope_opening.h"

#include "crypto/aes_gcm.h"
#include "crypto/base64.h"
#include "crypto/hkdf.h"
#include "crypto/x25519.h"
#include "relay/relay_crypto.h"

#include <QJsonValue>

namespace tagsmith::relay {

namespace {

std::optional<QByteArray> base64Member(const QJsonObject& envelope, const char* name) {
    const QJsonValue value = envelope.value(QLatin1String(name));
    return value.isString() ? crypto::decodeBase64(value.toString().toLatin1()) : std::nullopt;
}

} // namespace

std::optional<QByteArray> openEnvelope(const QJsonObject& envelope, const DeviceIdentity& identity) {
    const QString messageId = envelope.value(QStringLiteral("messageId")).toString();
    const std::optional<QByteArray> senderKey = base64Member(envelope, "senderKey");
    const std::optional<QByteArray> salt = base64Member(envelope, "salt");
    const std::optional<QByteArray> iv = base64Member(envelope, "iv");
    const std::optional<QByteArray> ciphertext = base64Member(envelope, "ciphertext");
    const std::optional<crypto::X25519PrivateKey> own = crypto::X25519PrivateKey::fromRaw(identity.privateKey);
    if (messageId.isEmpty() || !senderKey || !salt || !iv || iv->size() != crypto::kAesGcmNonceBytes || !ciphertext ||
        !own)
        return std::nullopt;
    const std::optional<QByteArray> secret = own->sharedSecret(*senderKey);
    const std::optional<QByteArray> key =
        secret ? crypto::hkdfSha256(*secret, *salt, RelayCrypto::purpose.toUtf8(), crypto::kAesKeyBytes) : std::nullopt;
    if (!key)
        return std::nullopt;
    const QByteArray associatedData = (RelayCrypto::purpose + u'|' + identity.deviceId + u'|' + messageId).toUtf8();
    return crypto::open(*key, *iv + *ciphertext, associatedData);
}

} // namespace tagsmith::relay
