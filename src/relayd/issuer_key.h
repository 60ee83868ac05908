#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace tagsmith::relayd {

// The Ed25519 key that signs this relay's tickets. Its seed is made on the
// first start inside the data folder, readable by its owner only, and never
// leaves it; the public half goes into both bundles' issuer-public.json.
class IssuerKey {
public:
    static Result<IssuerKey> loadOrCreate(const QString& dataFolder);

    QByteArray publicKey() const { return m_publicKey; }
    // The ticket text: the signed text, ".", the base64url signature.
    QString sign(const QByteArray& signedText) const;
    // Whether the ticket carries this key's signature over its first part.
    bool signedIt(const QByteArray& signedText, const QByteArray& signature) const;
    // The issuer-public.json for clients of the relay at serverUrl.
    QJsonObject publicConfiguration(const QString& serverUrl) const;

private:
    IssuerKey(QByteArray seed, QByteArray publicKey) : m_seed(std::move(seed)), m_publicKey(std::move(publicKey)) {}

    QByteArray m_seed;
    QByteArray m_publicKey;
};

} // namespace tagsmith::relayd
