#include "platform/linux/wifi_client_linux.h"

#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDeadlineTimer>

#include <algorithm>
#include <thread>

namespace tagsmith::inspection::wireless {

namespace {

constexpr auto kScanPollInterval = std::chrono::milliseconds(200);

// NetworkManager shows strength as a percentage that it maps linearly from
// -90…-20 dBm onto 30…100 %; this undoes that mapping.
std::optional<int> decibelsFromStrength(uint strength) {
    if (strength == 0)
        return std::nullopt;
    return std::clamp(int(strength), 30, 100) - 120;
}

Error unreadableCard() {
    return {kWiFiErrorDomain, kCardUnreadable, QStringLiteral("网卡不可读")};
}

} // namespace

NetworkManagerWiFiClient::NetworkManagerWiFiClient(QDBusConnection connection, std::chrono::milliseconds scanWait)
    : m_bus(std::move(connection)), m_scanWait(scanWait) {}

std::optional<WiFiInterface> NetworkManagerWiFiClient::defaultInterface() {
    const std::optional<QString> device = m_bus.wifiDevicePath();
    if (!device)
        return std::nullopt;
    const std::optional<QVariant> name = m_bus.property(*device, kDeviceInterface, QStringLiteral("Interface"));
    if (!name || name->toString().isEmpty())
        return std::nullopt;
    WiFiInterface interface;
    interface.name = name->toString();
    const std::optional<QVariant> enabled =
        m_bus.property(kNetworkManagerPath, kNetworkManagerService, QStringLiteral("WirelessEnabled"));
    interface.powerOn = enabled && enabled->toBool();
    readActiveAccessPoint(*device, interface);
    return interface;
}

void NetworkManagerWiFiClient::readActiveAccessPoint(const QString& device, WiFiInterface& interface) const {
    const std::optional<QVariant> active =
        m_bus.property(device, kWirelessInterface, QStringLiteral("ActiveAccessPoint"));
    const QString path = active ? active->value<QDBusObjectPath>().path() : QString();
    if (path.isEmpty() || path == QStringLiteral("/"))
        return;
    if (const std::optional<QVariant> ssid = m_bus.property(path, kAccessPointInterface, QStringLiteral("Ssid")))
        interface.ssid = QString::fromUtf8(ssid->toByteArray());
    if (const std::optional<QVariant> strength =
            m_bus.property(path, kAccessPointInterface, QStringLiteral("Strength")))
        interface.rssi = decibelsFromStrength(strength->toUInt());
}

Result<int> NetworkManagerWiFiClient::scanNetworkCount() {
    const std::optional<QString> device = m_bus.wifiDevicePath();
    if (!device)
        return unreadableCard();
    const std::optional<qlonglong> before = lastScan(*device);
    // A refused request (NetworkManager limits how often it scans) still
    // leaves the list of its most recent scan to count.
    const QDBusMessage request =
        m_bus.call(*device, kWirelessInterface, QStringLiteral("RequestScan"), {QVariantMap()});
    if (request.type() == QDBusMessage::ReplyMessage)
        waitForScan(*device, before);
    const QDBusReply<QList<QDBusObjectPath>> points =
        m_bus.call(*device, kWirelessInterface, QStringLiteral("GetAllAccessPoints"));
    if (!points.isValid())
        return Error{kWiFiErrorDomain, kScanFailed, QStringLiteral("无法读取附近网络列表")};
    return int(points.value().size());
}

std::optional<qlonglong> NetworkManagerWiFiClient::lastScan(const QString& device) const {
    const std::optional<QVariant> value = m_bus.property(device, kWirelessInterface, QStringLiteral("LastScan"));
    return value ? std::optional<qlonglong>(value->toLongLong()) : std::nullopt;
}

void NetworkManagerWiFiClient::waitForScan(const QString& device, std::optional<qlonglong> before) const {
    // Called on a worker thread; the scan ends when its time stamp moves.
    const QDeadlineTimer deadline(m_scanWait);
    while (!deadline.hasExpired() && lastScan(device) == before)
        std::this_thread::sleep_for(kScanPollInterval);
}

std::shared_ptr<WiFiClient> makeSystemWiFiClient() {
    return std::make_shared<NetworkManagerWiFiClient>(QDBusConnection::systemBus());
}

} // namespace tagsmith::inspection::wireless
