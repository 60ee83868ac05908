#include "inspection/wireless/wireless_hardware.h"

#include "inspection/wireless/qt_bluetooth_adapter.h"
#include "inspection/wireless/qt_bluetooth_central.h"

namespace tagsmith::inspection::wireless {

WirelessHardware systemWirelessHardware() {
    return {{makeSystemWiFiClient(), makeSystemWiFiPathMonitor(), makeSystemInternetProbe()},
            [](BluetoothCentralDelegate delegate) -> std::unique_ptr<BluetoothCentral> {
                return std::make_unique<QtBluetoothCentral>(std::move(delegate),
                                                            std::make_unique<QtBluetoothAdapter>());
            }};
}

} // namespace tagsmith::inspection::wireless
