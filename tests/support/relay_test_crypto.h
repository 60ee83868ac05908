#pragma once

#include "crypto/aes_gcm.h"
#include "crypto/ed25519.h"
#include "crypto/hkdf.h"
#include "crypto/random.h"
#include "crypto/x25519.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <optional>

// The workstation's and the issuer's half of the relay cryptography, written
// from the wire format for the tests: tickets are signed, envelopes opened.
namespace tagsmith::test {

inline const QString kRelayPurpose = QStringLiteral("tagsmith-relay-v1");

inline QByteArray base64Url(const QByteArray& bytes) {
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

inline QByteArray randomKey() {
    return crypto::randomBytes(32).value();
}

// An Ed25519 key that signs tickets.
struct TicketIssuer {
    QByteArray seed = randomKey();

    QByteArray publicKey() const { return crypto::ed25519PublicKey(seed).value(); }

    // The signature covers the first part's text exactly as it is written.
    QString sign(const QByteArray& firstPart) const {
        return QString::fromLatin1(firstPart + '.' + base64Url(crypto::signEd25519(firstPart, seed).value()));
    }

    QString issue(const QJsonObject& payload) const {
        return sign(base64Url(QJsonDocument(payload).toJson(QJsonDocument::Compact)));
    }
};

// A workstation that can receive: its X25519 key and device identifier.
struct TestReceiver {
    QByteArray privateKey = randomKey();
    QString deviceId = QString::fromLatin1(randomKey().toHex());

    QString publicKeyText() const {
        return QString::fromLatin1(crypto::X25519PrivateKey::fromRaw(privateKey)->publicKey().toBase64());
    }

    QJsonObject payload(const QString& code, const QString& nonce, qint64 issuedAt = 1'760'000'000'000,
                        qint64 lifetime = 60'000) const {
        return {{QStringLiteral("kind"), kRelayPurpose},
                {QStringLiteral("code"), code},
                {QStringLiteral("nonce"), nonce},
                {QStringLiteral("deviceId"), deviceId},
                {QStringLiteral("receiverKey"), publicKeyText()},
                {QStringLiteral("issuedAt"), issuedAt},
                {QStringLiteral("expiresAt"), issuedAt + lifetime}};
    }

    // The report inside an envelope; messageId defaults to the envelope's own.
    std::optional<QByteArray> open(const QJsonObject& envelope, QString messageId = {}) const {
        const auto field = [&](const char* name) {
            return QByteArray::fromBase64(envelope.value(QLatin1String(name)).toString().toLatin1());
        };
        if (messageId.isEmpty())
            messageId = envelope.value(QStringLiteral("messageId")).toString();
        const auto receiver = crypto::X25519PrivateKey::fromRaw(privateKey);
        const auto secret = receiver ? receiver->sharedSecret(field("senderKey")) : std::nullopt;
        const auto key = secret ? crypto::hkdfSha256(*secret, field("salt"), kRelayPurpose.toUtf8(), 32) : std::nullopt;
        if (!key)
            return std::nullopt;
        const QByteArray associatedData = (kRelayPurpose + u'|' + deviceId + u'|' + messageId).toUtf8();
        return crypto::open(*key, field("iv") + field("ciphertext"), associatedData);
    }
};

} // namespace tagsmith::test
