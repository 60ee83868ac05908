#include "relay/relay_configuration.h"

#include "base/read_file.h"
#include "crypto/base64.h"
#include "crypto/ed25519.h"
#include "relay/relay_failure.h"
#include "report/json_field_reader.h"

#include <QJsonValue>
#include <QStringList>

namespace tagsmith::relay {

namespace {

constexpr qint64 kMaxConfigurationBytes = 64 * 1024;

Error configurationInvalid() {
    return relayFailure(QStringLiteral("中转服务配置无效，请重新下载完整工具"));
}

// Plain http would let anyone on the way read and alter the traffic; it is
// allowed only to a relay on this machine, for development and tests.
bool hasAllowedScheme(const QUrl& url) {
    static const QStringList loopbackHosts{QStringLiteral("127.0.0.1"), QStringLiteral("localhost"),
                                           QStringLiteral("::1")};
    return url.scheme() == QLatin1String("https") ||
           (url.scheme() == QLatin1String("http") && loopbackHosts.contains(url.host()));
}

// Requests are made by appending to the base URL, so anything that would
// change their meaning (credentials, a query, a deeper path) is refused.
std::optional<QUrl> serverUrl(const QJsonValue& value) {
    const QUrl url(value.toString(), QUrl::StrictMode);
    const QString path = url.path(QUrl::FullyEncoded);
    if (!value.isString() || !url.isValid() || url.host().isEmpty() || !hasAllowedScheme(url) ||
        !url.userName().isEmpty() || !url.password().isEmpty() || url.hasQuery() ||
        !(path.isEmpty() || path == QLatin1String("/")))
        return std::nullopt;
    return url;
}

std::optional<QByteArray> issuerKey(const QJsonValue& value) {
    std::optional<QByteArray> key = value.isString() ? crypto::decodeBase64(value.toString().toUtf8()) : std::nullopt;
    if (!key || key->size() != crypto::kEd25519PublicKeyBytes)
        return std::nullopt;
    return key;
}

} // namespace

Result<RelayConfiguration> RelayConfiguration::fromJson(const QJsonObject& object) {
    const std::optional<QUrl> server = serverUrl(object.value(QStringLiteral("licenseServer")));
    const std::optional<QByteArray> issuer = issuerKey(object.value(QStringLiteral("publicKey")));
    if (!server || !issuer)
        return configurationInvalid();
    return RelayConfiguration{*server, *issuer};
}

Result<RelayConfiguration> RelayConfiguration::fromFile(const QString& path) {
    const Result<QByteArray> bytes = base::readFileUpTo(path, kMaxConfigurationBytes + 1);
    if (!bytes || bytes->size() > kMaxConfigurationBytes)
        return configurationInvalid();
    const Result<QJsonObject> object = report::parseJsonObject(*bytes);
    if (!object)
        return configurationInvalid();
    return fromJson(*object);
}

QUrl RelayConfiguration::endpoint(const QString& name) const {
    QUrl url = server;
    url.setFragment({});
    url.setPath(QStringLiteral("/v1/relay/") + name);
    return url;
}

} // namespace tagsmith::relay
