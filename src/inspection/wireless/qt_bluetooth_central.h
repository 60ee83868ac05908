#pragma once

#include "inspection/wireless/bluetooth_adapter.h"
#include "inspection/wireless/bluetooth_central.h"

#include <memory>

class QBluetoothDeviceInfo;

namespace tagsmith::inspection::wireless {

// The low-energy central on top of a Bluetooth adapter. The power state comes
// from the adapter, and discovery starts only once it is on, so no system
// prompt to switch Bluetooth on ever appears. A failed discovery ends that
// scan only: the state asked for afterwards is the adapter's again. Main thread only.
class QtBluetoothCentral final : public BluetoothCentral {
public:
    QtBluetoothCentral(BluetoothCentralDelegate delegate, std::unique_ptr<BluetoothAdapter> adapter);

    BluetoothState state() const override;
    void scan() override;
    void stopScan() override;

private:
    void report(BluetoothState state);
    void discoveryFailed(QBluetoothDeviceDiscoveryAgent::Error error);
    void heard(const QBluetoothDeviceInfo& device);

    BluetoothCentralDelegate m_delegate;
    std::unique_ptr<BluetoothAdapter> m_adapter;
};

} // namespace tagsmith::inspection::wireless
