#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QUrl>

namespace tagsmith::relay {

// The bundle resource that names the relay and the key that signs its tickets.
inline const QString kRelayConfigurationFileName = QStringLiteral("issuer-public.json");

// What the relay client needs to know, read from issuer-public.json:
// {"licenseServer": base URL, "publicKey": standard base64 of the 32-byte issuer key}.
struct RelayConfiguration {
    QUrl server;
    QByteArray issuer; // raw Ed25519 public key

    // Every failure reads "中转服务配置无效，请重新下载完整工具": a bad
    // configuration is a damaged download, whatever the detail.
    static Result<RelayConfiguration> fromJson(const QJsonObject& object);
    static Result<RelayConfiguration> fromFile(const QString& path);

    // The endpoint of one relay request: "resolve", "submit" or "status".
    QUrl endpoint(const QString& name) const;
};

} // namespace tagsmith::relay
