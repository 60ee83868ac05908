#include "cable/linux_links.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tagsmith::cable {

namespace {

constexpr qint64 kMaxAttributeBytes = 256; // sysfs attributes here are one short line

// Thunderbolt networking, and the USB network functions a Mac's USB-C
// networking appears as. USB LAN adapters have drivers of their own and stay out.
const QSet<QString> kCableDrivers{QStringLiteral("thunderbolt-net"), QStringLiteral("cdc_ncm"),
                                  QStringLiteral("cdc_ether"),       QStringLiteral("rndis_host"),
                                  QStringLiteral("cdc_eem"),         QStringLiteral("g_ncm")};
const QSet<QString> kUsableStates{QStringLiteral("up"), QStringLiteral("unknown")};
const QStringList kUnreachable{QStringLiteral("FAILED"), QStringLiteral("INCOMPLETE")};

QString readAttribute(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kMaxAttributeBytes)).trimmed();
}

bool isOwn(const QString& address, const QList<InterfaceAddress>& own) {
    return std::any_of(own.begin(), own.end(), [&](const InterfaceAddress& entry) { return entry.address == address; });
}

bool isReachable(const QJsonObject& entry) {
    const QJsonArray states = entry.value(QLatin1String("state")).toArray();
    return std::none_of(states.begin(), states.end(),
                        [](const QJsonValue& state) { return kUnreachable.contains(state.toString()); });
}

} // namespace

QList<NetInterface> sysfsNetInterfaces(const QString& netRoot) {
    const QDir net(netRoot);
    QList<NetInterface> interfaces;
    for (const QString& name : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString driverLink = net.filePath(name + QStringLiteral("/device/driver"));
        interfaces.append({name, QFileInfo(QFileInfo(driverLink).canonicalFilePath()).fileName(),
                           readAttribute(net.filePath(name + QStringLiteral("/operstate")))});
    }
    return interfaces;
}

QSet<QString> linuxCableNames(const QList<NetInterface>& interfaces, const QSet<QString>& named) {
    QSet<QString> names;
    for (const NetInterface& interface : interfaces) {
        if (kUsableStates.contains(interface.operstate) &&
            (kCableDrivers.contains(interface.driver) || named.contains(interface.name)))
            names.insert(interface.name);
    }
    return names;
}

QStringList neighbourAddresses(const QByteArray& json, const QList<InterfaceAddress>& own) {
    QStringList addresses;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).array()) {
        const QJsonObject entry = value.toObject();
        const QString address = entry.value(QLatin1String("dst")).toString();
        if (address.startsWith(QLatin1String("fe80:")) && isReachable(entry) && !isOwn(address, own) &&
            !addresses.contains(address))
            addresses.append(address);
    }
    return addresses;
}

} // namespace tagsmith::cable
