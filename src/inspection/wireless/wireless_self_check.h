#pragma once

#include "inspection/wireless/simulated_bluetooth.h"
#include "inspection/wireless/simulated_internet_probe.h"
#include "inspection/wireless/simulated_path_monitor.h"
#include "inspection/wireless/simulated_wifi_client.h"
#include "inspection/wireless/wireless_inspection.h"

#include <QString>

#include <memory>
#include <optional>

namespace tagsmith::inspection {
class InspectionResults;
}

namespace tagsmith::inspection::wireless {

// The part of the inspection self-test that needs no person: the wireless
// page on simulated hardware, driven through its main paths with short
// waits. It leaves the page as a joined, heard machine would, for the
// screenshot. Main thread; spins the event loop while it waits.
class WirelessSelfCheck {
public:
    WirelessSelfCheck();

    // The page to put into the suite in place of the one with system hardware.
    std::shared_ptr<WirelessInspection> page() const { return m_page; }
    // Runs once the suite has given the page its store. The first failure, if any.
    std::optional<QString> run(const InspectionResults& results);

    static QString summary();

private:
    std::optional<QString> checkBluetoothOff(const InspectionResults& results);
    std::optional<QString> checkBluetoothHeard(const InspectionResults& results);
    std::optional<QString> checkConnectionTimeout(const InspectionResults& results);
    std::optional<QString> checkJoinedWiFi(const InspectionResults& results);

    std::shared_ptr<SimulatedWiFiClient> m_client = std::make_shared<SimulatedWiFiClient>();
    std::shared_ptr<SimulatedPathMonitor> m_path = std::make_shared<SimulatedPathMonitor>();
    std::shared_ptr<SimulatedInternetProbe> m_probe = std::make_shared<SimulatedInternetProbe>();
    SimulatedBluetooth m_bluetooth;
    std::shared_ptr<WirelessInspection> m_page;
};

} // namespace tagsmith::inspection::wireless
