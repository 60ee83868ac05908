#include "inspection/wireless/wireless_hardware.h"

#include "inspection/wireless/qt_bluetooth_central.h"

namespace tagsmith::inspection::wireless {

WirelessHardware systemWirelessHardware() {
    return {{makeSystemWiFiClient(), makeSystemWiFiPathMonitor(), makeSystemInternetProbe()},
            [](BluetoothCentralDelegate delegate) -> std::unique_ptr<BluetoothCentral> {
                return std::make_unique<QtBluetoothCentral>(std::move(delegate));
            }};
}

} // namespace tagsmith::inspection::wireless
