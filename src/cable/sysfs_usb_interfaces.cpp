#include "cable/sysfs_usb_interfaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tagsmith::cable {

namespace {

constexpr qint64 kMaxAttributeBytes = 256; // sysfs attributes here are one short line

const QString kHostNCMDriver = QStringLiteral("cdc_ncm");
const QString kLegacyGadgetNCMDriver = QStringLiteral("g_ncm");

QString readAttribute(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kMaxAttributeBytes)).trimmed();
}

// Interface names that configfs gadgets give to their NCM functions.
QSet<QString> configfsNCMNames(const QString& gadgetRoot) {
    QSet<QString> names;
    const QDir gadgets(gadgetRoot);
    for (const QString& gadget : gadgets.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir functions(gadgets.filePath(gadget + QStringLiteral("/functions")));
        for (const QString& function : functions.entryList({QStringLiteral("ncm.*")}, QDir::Dirs))
            names.insert(readAttribute(functions.filePath(function + QStringLiteral("/ifname"))));
    }
    names.remove(QString());
    return names;
}

// The USB serial of the device whose interface carries the network function.
QString usbSerialAbove(const QString& deviceLink) {
    const QString interfaceDirectory = QFileInfo(deviceLink).canonicalFilePath();
    if (interfaceDirectory.isEmpty())
        return {};
    return readAttribute(QFileInfo(interfaceDirectory).path() + QStringLiteral("/serial"));
}

CableNetwork::USBInterface describe(const QString& name, const QString& deviceLink, const QSet<QString>& gadgetNames) {
    const QString driver = QFileInfo(QFileInfo(deviceLink + QStringLiteral("/driver")).canonicalFilePath()).fileName();
    if (driver == kHostNCMDriver)
        return {name, CableNetwork::kHostSideNCM, usbSerialAbove(deviceLink)};
    if (driver == kLegacyGadgetNCMDriver || gadgetNames.contains(name))
        return {name, CableNetwork::kDeviceSideNCM, QString()};
    return {name, driver, QString()};
}

} // namespace

QList<CableNetwork::USBInterface> sysfsUSBInterfaces(const QString& netRoot, const QString& gadgetRoot) {
    const QSet<QString> gadgetNames = configfsNCMNames(gadgetRoot);
    const QDir net(netRoot);
    QList<CableNetwork::USBInterface> interfaces;
    for (const QString& name : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString deviceLink = net.filePath(name + QStringLiteral("/device"));
        if (QFileInfo::exists(deviceLink))
            interfaces.append(describe(name, deviceLink, gadgetNames));
    }
    return interfaces;
}

} // namespace tagsmith::cable
