#include "relayd/issuer_key.h"

#include "base/private_file.h"
#include "base/read_file.h"
#include "crypto/base64.h"
#include "crypto/ed25519.h"
#include "crypto/random.h"

#include <QDir>
#include <QFileInfo>

namespace tagsmith::relayd {

namespace {

const QString kSeedFileName = QStringLiteral("issuer-ed25519.key");

Error keyError(const QString& path) {
    return {QStringLiteral("中转服务"), 1, QStringLiteral("签发密钥不可用：%1").arg(QDir::toNativeSeparators(path))};
}

QByteArray base64Url(const QByteArray& bytes) {
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace

Result<IssuerKey> IssuerKey::loadOrCreate(const QString& dataFolder) {
    const QString path = QDir(dataFolder).filePath(kSeedFileName);
    if (!QFileInfo::exists(path)) {
        const std::optional<QByteArray> seed = crypto::randomBytes(crypto::kEd25519SeedBytes);
        if (!seed || !base::writePrivateFile(path, *seed))
            return keyError(path);
    }
    const Result<QByteArray> seed = base::readFileUpTo(path, crypto::kEd25519SeedBytes + 1);
    const std::optional<QByteArray> publicKey = seed ? crypto::ed25519PublicKey(*seed) : std::nullopt;
    if (!publicKey)
        return keyError(path);
    return IssuerKey(*seed, *publicKey);
}

QString IssuerKey::sign(const QByteArray& signedText) const {
    return QString::fromLatin1(signedText + '.' +
                               base64Url(crypto::signEd25519(signedText, m_seed).value_or(QByteArray())));
}

bool IssuerKey::signedIt(const QByteArray& signedText, const QByteArray& signature) const {
    return crypto::isValidEd25519Signature(signature, signedText, m_publicKey);
}

QJsonObject IssuerKey::publicConfiguration(const QString& serverUrl) const {
    return {{QStringLiteral("licenseServer"), serverUrl},
            {QStringLiteral("publicKey"), QString::fromLatin1(crypto::encodeBase64(m_publicKey))}};
}

} // namespace tagsmith::relayd
