#pragma once

#include "inspection/wireless/wifi_client.h"
#include "platform/linux/network_manager_bus.h"

#include <chrono>

namespace tagsmith::inspection::wireless {

// The Wi-Fi card as NetworkManager reports it. Linux needs no permission to
// scan, so scanning is always authorized.
class NetworkManagerWiFiClient final : public WiFiClient {
public:
    explicit NetworkManagerWiFiClient(QDBusConnection connection,
                                      std::chrono::milliseconds scanWait = std::chrono::seconds(10));

    std::optional<WiFiInterface> defaultInterface() override;
    LocationAuthorization locationAuthorization() override { return LocationAuthorization::authorized; }
    Result<int> scanNetworkCount() override;

private:
    void readActiveAccessPoint(const QString& device, WiFiInterface& interface) const;
    std::optional<qlonglong> lastScan(const QString& device) const;
    void waitForScan(const QString& device, std::optional<qlonglong> before) const;

    NetworkManagerBus m_bus;
    std::chrono::milliseconds m_scanWait;
};

} // namespace tagsmith::inspection::wireless
