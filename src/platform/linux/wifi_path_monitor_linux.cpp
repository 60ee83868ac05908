#include "platform/linux/wifi_path_monitor_linux.h"

#include <QTimer>

namespace tagsmith::inspection::wireless {

namespace {

constexpr uint kDeviceActivated = 100;

} // namespace

NetworkManagerPathMonitor::NetworkManagerPathMonitor(QDBusConnection connection) : m_bus(std::move(connection)) {}

NetworkManagerPathMonitor::~NetworkManagerPathMonitor() {
    cancel();
}

void NetworkManagerPathMonitor::start(std::function<void(bool)> onUpdate) {
    cancel();
    m_onUpdate = std::move(onUpdate);
    m_device = m_bus.wifiDevicePath().value_or(QString());
    if (!m_device.isEmpty())
        m_bus.connection().connect(kNetworkManagerService, m_device, kDeviceInterface, QStringLiteral("StateChanged"),
                                   this, SLOT(deviceStateChanged(uint, uint, uint)));
    QTimer::singleShot(0, this, [this, watch = m_watch] { reportCurrentState(watch); });
}

void NetworkManagerPathMonitor::cancel() {
    ++m_watch;
    m_onUpdate = nullptr;
    if (m_device.isEmpty())
        return;
    m_bus.connection().disconnect(kNetworkManagerService, m_device, kDeviceInterface, QStringLiteral("StateChanged"),
                                  this, SLOT(deviceStateChanged(uint, uint, uint)));
    m_device.clear();
}

void NetworkManagerPathMonitor::reportCurrentState(int watch) {
    if (watch != m_watch)
        return;
    const std::optional<QVariant> state =
        m_device.isEmpty() ? std::nullopt : m_bus.property(m_device, kDeviceInterface, QStringLiteral("State"));
    report(state ? state->toUInt() : 0);
}

void NetworkManagerPathMonitor::deviceStateChanged(uint newState, uint /*oldState*/, uint /*reason*/) {
    report(newState);
}

void NetworkManagerPathMonitor::report(uint state) {
    // A copy: the handler may start or cancel this monitor.
    if (const std::function<void(bool)> onUpdate = m_onUpdate)
        onUpdate(state == kDeviceActivated);
}

std::shared_ptr<WiFiPathMonitor> makeSystemWiFiPathMonitor() {
    return std::make_shared<NetworkManagerPathMonitor>(QDBusConnection::systemBus());
}

} // namespace tagsmith::inspection::wireless
