#include "platform/linux/network_manager_bus.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace tagsmith::inspection::wireless {

namespace {

constexpr int kCallTimeoutMs = 2000;
constexpr uint kWiFiDeviceType = 2;

} // namespace

QDBusMessage NetworkManagerBus::call(const QString& path, const QString& interface, const QString& method,
                                     const QVariantList& arguments) const {
    QDBusMessage message = QDBusMessage::createMethodCall(kNetworkManagerService, path, interface, method);
    message.setArguments(arguments);
    return m_connection.call(message, QDBus::Block, kCallTimeoutMs);
}

std::optional<QVariant> NetworkManagerBus::property(const QString& path, const QString& interface,
                                                    const QString& name) const {
    const QDBusReply<QDBusVariant> reply =
        call(path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {interface, name});
    if (!reply.isValid())
        return std::nullopt;
    return reply.value().variant();
}

std::optional<QString> NetworkManagerBus::wifiDevicePath() const {
    const QDBusReply<QList<QDBusObjectPath>> devices =
        call(kNetworkManagerPath, kNetworkManagerService, QStringLiteral("GetDevices"));
    if (!devices.isValid())
        return std::nullopt;
    for (const QDBusObjectPath& device : devices.value()) {
        const std::optional<QVariant> type = property(device.path(), kDeviceInterface, QStringLiteral("DeviceType"));
        if (type && type->toUInt() == kWiFiDeviceType)
            return device.path();
    }
    return std::nullopt;
}

} // namespace tagsmith::inspection::wireless
