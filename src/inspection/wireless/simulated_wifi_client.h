#pragma once

#include "inspection/wireless/wifi_client.h"

#include <atomic>
#include <mutex>

namespace tagsmith::inspection::wireless {

// A Wi-Fi card whose answers the caller sets, for the self-test and the unit
// tests. The interface and the authorization are read on the main thread;
// the scan result may be read by a scan worker at any time.
class SimulatedWiFiClient final : public WiFiClient {
public:
    std::optional<WiFiInterface> interface;
    LocationAuthorization authorization = LocationAuthorization::authorized;

    void setScanResult(Result<int> result) {
        const std::lock_guard lock(m_mutex);
        m_scanResult = std::move(result);
    }

    std::optional<WiFiInterface> defaultInterface() override { return interface; }
    LocationAuthorization locationAuthorization() override { return authorization; }
    Result<int> scanNetworkCount() override {
        const std::lock_guard lock(m_mutex);
        ++m_scansAnswered;
        return m_scanResult;
    }
    // Scans answered so far; the page hears of each one right after.
    int scansAnswered() const { return m_scansAnswered; }

private:
    std::atomic<int> m_scansAnswered = 0;
    std::mutex m_mutex;
    Result<int> m_scanResult = 0;
};

} // namespace tagsmith::inspection::wireless
