#include "relay/device_identity.h"

#include "base/private_file.h"
#include "base/read_file.h"
#include "crypto/random.h"
#include "crypto/x25519.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tagsmith::relay {

namespace {

const QString kKeyFileName = QStringLiteral("receiver-x25519.key");
const QString kDeviceIdFileName = QStringLiteral("device-id");
constexpr int kDeviceIdBytes = 32;

Error identityError(const QString& path) {
    return {QStringLiteral("中转"), 2,
            QStringLiteral("接收身份文件无法读写或已损坏：%1").arg(QDir::toNativeSeparators(path))};
}

// The file's content, made and written first when the file does not exist yet.
Result<QByteArray> keptSecret(const QString& path, qsizetype bytes, const std::function<QByteArray(QByteArray)>& form) {
    if (!QFileInfo::exists(path)) {
        const std::optional<QByteArray> random = crypto::randomBytes(bytes);
        if (!random || !base::writePrivateFile(path, form(*random)))
            return identityError(path);
    }
    const Result<QByteArray> content = base::readFileUpTo(path, 2 * bytes + 1);
    return content ? content : Result<QByteArray>(identityError(path));
}

bool isDeviceId(const QString& text) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("[a-f0-9]{64}")));
    return pattern.match(text).hasMatch();
}

} // namespace

QByteArray DeviceIdentity::publicKey() const {
    const std::optional<crypto::X25519PrivateKey> key = crypto::X25519PrivateKey::fromRaw(privateKey);
    return key ? key->publicKey() : QByteArray();
}

Result<DeviceIdentity> DeviceIdentity::loadOrCreate(const QString& folder) {
    const QString keyPath = QDir(folder).filePath(kKeyFileName);
    const QString idPath = QDir(folder).filePath(kDeviceIdFileName);
    const Result<QByteArray> key = keptSecret(keyPath, crypto::kX25519KeyBytes, [](QByteArray raw) { return raw; });
    if (!key)
        return key.error();
    if (key->size() != crypto::kX25519KeyBytes)
        return identityError(keyPath);
    const Result<QByteArray> id = keptSecret(idPath, kDeviceIdBytes, [](QByteArray raw) { return raw.toHex(); });
    if (!id)
        return id.error();
    const QString deviceId = QString::fromLatin1(*id);
    if (!isDeviceId(deviceId))
        return identityError(idPath);
    return DeviceIdentity{deviceId, *key};
}

QString DeviceIdentity::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tagsmith/Relay");
}

} // namespace tagsmith::relay
