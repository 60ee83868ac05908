#include "cable/remote_devices.h"

#include <QRegularExpression>

#include <algorithm>

namespace tagsmith::cable {

namespace {

const QRegularExpression kWhitespace(QStringLiteral("\\s+"));
const QRegularExpression kUuid(QRegularExpression::anchoredPattern(
    QStringLiteral("[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}")));

QStringList fields(const QString& line) {
    return line.split(kWhitespace, Qt::SkipEmptyParts);
}

bool isOwn(const QString& address, const QList<InterfaceAddress>& own) {
    return std::any_of(own.begin(), own.end(), [&](const InterfaceAddress& entry) { return entry.address == address; });
}

std::optional<QString> ownAddressOn(const QString& interfaceName, const QList<InterfaceAddress>& own) {
    const auto found = std::find_if(
        own.begin(), own.end(), [&](const InterfaceAddress& entry) { return entry.interfaceName == interfaceName; });
    return found == own.end() ? std::nullopt : std::optional(found->address);
}

} // namespace

QStringList remoteDeviceIds(const QString& listing) {
    QStringList ids;
    for (const QString& line : listing.split(u'\n')) {
        const QStringList parts = fields(line);
        if (parts.size() >= 3 && kUuid.match(parts[0]).hasMatch() && parts[1].startsWith(QLatin1String("ncm-")))
            ids.append(parts[0]);
    }
    return ids;
}

QString remoteProperty(const QString& details, const QString& key) {
    for (const QString& line : details.split(u'\n')) {
        const QStringList parts = line.trimmed().split(QStringLiteral(" => "));
        if (parts.size() >= 2 && parts[0] == key)
            return parts[1];
    }
    return {};
}

std::optional<AttachedMac> findAttachedMac(const ToolRun& run, const QString& remotectl,
                                           const QList<InterfaceAddress>& own) {
    for (const QString& id : remoteDeviceIds(run(remotectl, {QStringLiteral("list")}))) {
        const QString details = run(remotectl, {QStringLiteral("show"), id});
        if (remoteProperty(details, QStringLiteral("DeviceClass")) != QLatin1String("Mac"))
            continue;
        const QString interfaceName = remoteProperty(details, QStringLiteral("InterfaceName"));
        if (const auto address = ownAddressOn(interfaceName, own))
            return AttachedMac{interfaceName, *address, remoteProperty(details, QStringLiteral("SerialNumber"))};
    }
    return std::nullopt;
}

QStringList pullCandidates(const QString& neighbours, const QString& interfaceName,
                           const QList<InterfaceAddress>& own) {
    QStringList candidates;
    for (const QString& line : neighbours.split(u'\n')) {
        const QStringList parts = fields(line);
        if (parts.size() < 3 || parts[2] != interfaceName || line.contains(QLatin1String("incomplete")) ||
            !parts[0].startsWith(QLatin1String("fe80:")))
            continue;
        const QString address = parts[0].section(u'%', 0, 0);
        if (!isOwn(address, own))
            candidates.append(address);
    }
    return candidates;
}

} // namespace tagsmith::cable
