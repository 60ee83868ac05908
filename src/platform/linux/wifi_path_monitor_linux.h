#pragma once

#include "inspection/wireless/wifi_path_monitor.h"
#include "platform/linux/network_manager_bus.h"

#include <QObject>

namespace tagsmith::inspection::wireless {

// A Wi-Fi path exists while NetworkManager has the Wi-Fi card's connection
// fully activated; Ethernet and cable devices are never looked at.
class NetworkManagerPathMonitor final : public QObject, public WiFiPathMonitor {
    Q_OBJECT
public:
    explicit NetworkManagerPathMonitor(QDBusConnection connection);
    ~NetworkManagerPathMonitor() override;

    void start(std::function<void(bool satisfiedOverWiFi)> onUpdate) override;
    void cancel() override;

private Q_SLOTS:
    void deviceStateChanged(uint newState, uint oldState, uint reason);

private:
    void reportCurrentState(int watch);
    void report(uint state);

    NetworkManagerBus m_bus;
    QString m_device; // the watched device's object path; empty while nothing is watched
    std::function<void(bool)> m_onUpdate;
    int m_watch = 0; // raised by every start and cancel, to drop a first report that was queued earlier
};

} // namespace tagsmith::inspection::wireless
