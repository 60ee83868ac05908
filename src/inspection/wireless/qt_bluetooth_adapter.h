#pragma once

#include "inspection/wireless/bluetooth_adapter.h"

#include <QBluetoothLocalDevice>

namespace tagsmith::inspection::wireless {

// The machine's own controller through Qt Bluetooth.
class QtBluetoothAdapter final : public BluetoothAdapter {
    Q_OBJECT
public:
    QtBluetoothAdapter();

    bool isValid() const override { return m_device.isValid(); }
    bool isPoweredOff() const override { return m_device.hostMode() == QBluetoothLocalDevice::HostPoweredOff; }
    bool isDiscovering() const override { return m_agent.isActive(); }
    void startDiscovery() override { m_agent.start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod); }
    void stopDiscovery() override { m_agent.stop(); }

private:
    QBluetoothLocalDevice m_device;
    QBluetoothDeviceDiscoveryAgent m_agent;
};

} // namespace tagsmith::inspection::wireless
