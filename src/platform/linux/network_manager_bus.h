#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <optional>

namespace tagsmith::inspection::wireless {

inline const QString kNetworkManagerService = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kNetworkManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
inline const QString kWirelessInterface = QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless");
inline const QString kAccessPointInterface = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");

// NetworkManager's objects on a bus (the system bus, or a test's private
// one). Every call waits a bounded time, so a hung service cannot freeze
// the page. Safe to use from any thread.
class NetworkManagerBus {
public:
    explicit NetworkManagerBus(QDBusConnection connection) : m_connection(std::move(connection)) {}

    QDBusConnection connection() const { return m_connection; }
    // The reply, or an error message when the service does not answer in time.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) const;
    std::optional<QVariant> property(const QString& path, const QString& interface, const QString& name) const;
    // The first device that is a Wi-Fi card.
    std::optional<QString> wifiDevicePath() const;

private:
    QDBusConnection m_connection;
};

} // namespace tagsmith::inspection::wireless
