#pragma once

#include "inspection/wireless/bluetooth_central.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothLocalDevice>

#include <memory>

class QBluetoothDeviceInfo;

namespace tagsmith::inspection::wireless {

// The low-energy central on top of Qt Bluetooth. The power state comes from
// the local adapter, and discovery starts only once it is on, so no system
// prompt to switch Bluetooth on ever appears. Main thread only.
class QtBluetoothCentral final : public BluetoothCentral {
public:
    explicit QtBluetoothCentral(BluetoothCentralDelegate delegate);

    BluetoothState state() const override { return m_state; }
    void scan() override;
    void stopScan() override;

private:
    BluetoothState adapterState() const;
    void update(BluetoothState state);
    void discoveryFailed(QBluetoothDeviceDiscoveryAgent::Error error);
    void heard(const QBluetoothDeviceInfo& device);

    BluetoothCentralDelegate m_delegate;
    std::unique_ptr<QBluetoothLocalDevice> m_adapter;
    std::unique_ptr<QBluetoothDeviceDiscoveryAgent> m_agent;
    BluetoothState m_state = BluetoothState::unknown;
};

} // namespace tagsmith::inspection::wireless
