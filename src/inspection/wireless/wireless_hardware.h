#pragma once

#include "inspection/wireless/bluetooth_central.h"
#include "inspection/wireless/internet_probe.h"
#include "inspection/wireless/wifi_client.h"
#include "inspection/wireless/wifi_path_monitor.h"

#include <chrono>
#include <memory>

namespace tagsmith::inspection::wireless {

struct WiFiHardware {
    std::shared_ptr<WiFiClient> client;
    std::shared_ptr<WiFiPathMonitor> pathMonitor;
    std::shared_ptr<InternetProbe> internet;
};

// Everything the wireless page talks to; the tests and the self-test put
// simulated hardware in its place.
struct WirelessHardware {
    WiFiHardware wifi;
    BluetoothCentralFactory bluetooth;
};

// How long the page waits for the connection test and for the Bluetooth
// controller and scan. Only tests shorten them.
struct WirelessTimings {
    std::chrono::milliseconds connectionTest{15000};
    std::chrono::milliseconds bluetoothScan{15000};
};

// The machine's own Wi-Fi and Bluetooth.
WirelessHardware systemWirelessHardware();

} // namespace tagsmith::inspection::wireless
