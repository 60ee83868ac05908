#include "inspection/wireless/qt_bluetooth_adapter.h"

namespace tagsmith::inspection::wireless {

QtBluetoothAdapter::QtBluetoothAdapter() {
    // Zero: the scan runs until the page stops it, not until Qt's own limit.
    m_agent.setLowEnergyDiscoveryTimeout(0);
    connect(&m_agent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this, &BluetoothAdapter::deviceHeard);
    connect(&m_agent, &QBluetoothDeviceDiscoveryAgent::deviceUpdated, this,
            [this](const QBluetoothDeviceInfo& device) { Q_EMIT deviceHeard(device); });
    connect(&m_agent, &QBluetoothDeviceDiscoveryAgent::errorOccurred, this, &BluetoothAdapter::discoveryFailed);
    connect(&m_device, &QBluetoothLocalDevice::hostModeStateChanged, this, &BluetoothAdapter::powerChanged);
}

} // namespace tagsmith::inspection::wireless
