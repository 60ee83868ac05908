#include "cable/receiver_key.h"

#include "base/bundle.h"
#include "crypto/base64.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace tagsmith::cable {

namespace {

// Far above any real key file; keeps a wrong file from being read whole.
constexpr qint64 kMaxFileBytes = 64 * 1024;

std::optional<QByteArray> readSmallFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.read(kMaxFileBytes + 1);
    if (content.size() > kMaxFileBytes)
        return std::nullopt;
    return content;
}

} // namespace

std::optional<QByteArray> receiverKeyAt(const QString& path) {
    const auto content = readSmallFile(path);
    if (!content)
        return std::nullopt;
    const QJsonObject config = QJsonDocument::fromJson(*content).object();
    // addressHint is read by nothing, but a file without it is not a receiver configuration.
    const QJsonValue key = config.value(QLatin1String("key"));
    if (!key.isString() || !config.value(QLatin1String("addressHint")).isString())
        return std::nullopt;
    const auto decoded = crypto::decodeBase64(key.toString().toUtf8());
    if (!decoded || decoded->size() != kReceiverKeyBytes)
        return std::nullopt;
    return decoded;
}

std::optional<QByteArray> receiverKey() {
    return receiverKeyAt(base::Bundle::main().resourcePath(QStringLiteral("receiver.json")));
}

} // namespace tagsmith::cable
