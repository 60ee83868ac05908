#include "cable/cable_network.h"

#include <QRegularExpression>

namespace tagsmith::cable {

namespace {

// The tools' output formats, as exact pattern sources. "^" matches at every
// line start; the name pattern alone must match a whole name.
const QString kDeviceIDPattern = QStringLiteral(R"(^\s*([a-fA-F0-9-]{36})\s+ncm-\S+)");
const QString kDetailPattern = QStringLiteral(R"(^\s*([A-Za-z]+) => ([^\n]+))");
const QString kHardwarePortPattern = QStringLiteral(R"(Hardware Port: ([^\n]+)\nDevice: ([a-zA-Z0-9]+))");
const QString kInterfaceBlockPattern = QStringLiteral(R"(^([a-zA-Z0-9]+): flags=([^\n]*\n(?:[ \t]+[^\n]*\n?)*))");
const QString kBridgeMemberPattern = QStringLiteral(R"(\bmember: ([a-zA-Z0-9]+))");

// Each match as its capture groups in order; nothing when the pattern is invalid.
QList<QStringList> matches(const QString& pattern, const QString& text) {
    const QRegularExpression expression(pattern, QRegularExpression::MultilineOption);
    QList<QStringList> found;
    if (!expression.isValid())
        return found;
    for (auto iterator = expression.globalMatch(text); iterator.hasNext();) {
        const QRegularExpressionMatch match = iterator.next();
        found.append(match.capturedTexts().mid(1));
    }
    return found;
}

bool isNCMName(const QString& name) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("en[0-9]+")));
    return pattern.match(name).hasMatch();
}

// Key-value lines of one device's details; the first value of a repeated key wins.
QHash<QString, QString> detailValues(const QString& details) {
    QHash<QString, QString> values;
    for (const QStringList& groups : matches(kDetailPattern, details)) {
        if (!values.contains(groups[0]))
            values.insert(groups[0], groups[1]);
    }
    return values;
}

struct ThunderboltPorts {
    QSet<QString> ports;
    QSet<QString> bridges;
};

ThunderboltPorts thunderboltPorts(const QString& portListing) {
    ThunderboltPorts found;
    for (const QStringList& groups : matches(kHardwarePortPattern, portListing)) {
        const QString portName = groups[0].toLower();
        if (!portName.contains(QLatin1String("thunderbolt")))
            continue;
        (portName.contains(QLatin1String("bridge")) ? found.bridges : found.ports).insert(groups[1]);
    }
    return found;
}

struct RemoteMacs {
    QSet<QString> serials;
    QSet<QString> ncmNames;
};

RemoteMacs remoteMacs(const QString& listing, const QHash<QString, QString>& details) {
    RemoteMacs found;
    for (const QString& identifier : CableNetwork::ncmIDs(listing)) {
        const QHash<QString, QString> values = detailValues(details.value(identifier));
        if (values.value(QStringLiteral("DeviceClass")) != QLatin1String("Mac"))
            continue;
        if (values.contains(QStringLiteral("SerialNumber")))
            found.serials.insert(values.value(QStringLiteral("SerialNumber")));
        const QString interfaceName = values.value(QStringLiteral("InterfaceName"));
        if (isNCMName(interfaceName))
            found.ncmNames.insert(interfaceName);
    }
    return found;
}

QSet<QString> bridgeMembers(const QString& block) {
    QSet<QString> members;
    for (const QStringList& groups : matches(kBridgeMemberPattern, block))
        members.insert(groups[0]);
    return members;
}

} // namespace

QStringList CableNetwork::ncmIDs(const QString& listing) {
    QStringList identifiers;
    for (const QStringList& groups : matches(kDeviceIDPattern, listing))
        identifiers.append(groups[0]);
    return identifiers;
}

QSet<QString> CableNetwork::applicationUSBNames(const QSet<QString>& macSerials,
                                                const QList<USBInterface>& interfaces) {
    QSet<QString> names;
    for (const USBInterface& interface : interfaces) {
        // A host-side NCM interface counts only when a Mac with that serial is listed: an iPhone uses the same driver.
        const bool deviceSide = interface.driver == kDeviceSideNCM;
        const bool hostSideToMac =
            interface.driver == kHostSideNCM && !interface.serial.isEmpty() && macSerials.contains(interface.serial);
        if (isNCMName(interface.name) && (deviceSide || hostSideToMac))
            names.insert(interface.name);
    }
    return names;
}

QSet<QString> CableNetwork::allowedNames(const QString& ports, const QString& config, const QString& listing,
                                         const QHash<QString, QString>& details,
                                         const QList<USBInterface>& interfaces) {
    const ThunderboltPorts thunderbolt = thunderboltPorts(ports);
    RemoteMacs macs = remoteMacs(listing, details);
    macs.ncmNames.unite(applicationUSBNames(macs.serials, interfaces));
    QSet<QString> allowed;
    QSet<QString> excluded;
    for (const QStringList& block : matches(kInterfaceBlockPattern, config)) {
        const QString& name = block[0];
        const QSet<QString> members = bridgeMembers(block[1]);
        const bool thunderboltOnly = !members.isEmpty() && thunderbolt.ports.contains(members);
        // A bridge that mixes in anything else could carry the report off the cable: none of its members may serve.
        if (!members.isEmpty() && !thunderboltOnly)
            excluded.unite(members);
        if (!block[1].contains(QLatin1String("status: active")))
            continue;
        if (thunderbolt.ports.contains(name) || macs.ncmNames.contains(name) ||
            (thunderbolt.bridges.contains(name) && thunderboltOnly))
            allowed.insert(name);
    }
    return allowed.subtract(excluded);
}

} // namespace tagsmith::cable
