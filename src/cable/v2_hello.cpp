#include "cable/v2_hello.h"

#include "crypto/aes_gcm.h"
#include "crypto/base64.h"
#include "crypto/hkdf.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tagsmith::cable {

bool isDeviceId(const QString& text) {
    if (text.isEmpty() || text.size() > kMaxDeviceIdLength)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7e; });
}

namespace {

std::optional<QByteArray> publicKeyOf(const QJsonValue& value) {
    if (!value.isString())
        return std::nullopt;
    auto key = crypto::decodeBase64(value.toString().toUtf8());
    if (!key || key->size() != crypto::kX25519KeyBytes)
        return std::nullopt;
    return key;
}

} // namespace

QByteArray collectorHello(const QByteArray& publicKey, const QByteArray& challenge) {
    const QJsonObject hello{
        {QStringLiteral("version"), kV2Version},
        {QStringLiteral("publicKey"), QString::fromLatin1(crypto::encodeBase64(publicKey))},
        {QStringLiteral("challenge"), QString::fromLatin1(crypto::encodeBase64(challenge))},
    };
    return QJsonDocument(hello).toJson(QJsonDocument::Compact);
}

std::optional<QJsonObject> helloObject(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

std::optional<WorkstationHello> parseWorkstationHello(const QByteArray& json) {
    const std::optional<QJsonObject> parsed = helloObject(json);
    if (!parsed)
        return std::nullopt;
    const QJsonObject& hello = *parsed;
    const QJsonValue version = hello.value(QLatin1String("version"));
    const QJsonValue deviceId = hello.value(QLatin1String("deviceId"));
    if (!version.isDouble() || version.toDouble() != kV2Version || !deviceId.isString() ||
        !isDeviceId(deviceId.toString()))
        return std::nullopt;
    auto publicKey = publicKeyOf(hello.value(QLatin1String("publicKey")));
    if (!publicKey)
        return std::nullopt;
    return WorkstationHello{std::move(*publicKey), deviceId.toString()};
}

std::optional<QByteArray> exchangeKey(const crypto::X25519PrivateKey& ownKey, const QByteArray& peerPublicKey,
                                      const QByteArray& challenge) {
    const auto secret = ownKey.sharedSecret(peerPublicKey);
    if (!secret)
        return std::nullopt;
    return crypto::hkdfSha256(*secret, challenge, QByteArray(kExchangeInfo), crypto::kAesKeyBytes);
}

} // namespace tagsmith::cable
