#include "inspection/wireless/qt_bluetooth_central.h"

#include <QBluetoothDeviceInfo>
#include <QTimer>

namespace tagsmith::inspection::wireless {

QtBluetoothCentral::QtBluetoothCentral(BluetoothCentralDelegate delegate)
    : m_delegate(std::move(delegate)), m_adapter(std::make_unique<QBluetoothLocalDevice>()),
      m_agent(std::make_unique<QBluetoothDeviceDiscoveryAgent>()) {
    // Zero: the scan runs until the page stops it, not until Qt's own limit.
    m_agent->setLowEnergyDiscoveryTimeout(0);
    QObject::connect(m_agent.get(), &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, m_agent.get(),
                     [this](const QBluetoothDeviceInfo& device) { heard(device); });
    QObject::connect(m_agent.get(), &QBluetoothDeviceDiscoveryAgent::deviceUpdated, m_agent.get(),
                     [this](const QBluetoothDeviceInfo& device) { heard(device); });
    QObject::connect(m_agent.get(), &QBluetoothDeviceDiscoveryAgent::errorOccurred, m_agent.get(),
                     [this](QBluetoothDeviceDiscoveryAgent::Error error) { discoveryFailed(error); });
    QObject::connect(m_adapter.get(), &QBluetoothLocalDevice::hostModeStateChanged, m_agent.get(),
                     [this] { update(adapterState()); });
    // The first state arrives after construction, as the delegate expects.
    QTimer::singleShot(0, m_agent.get(), [this] { update(adapterState()); });
}

BluetoothState QtBluetoothCentral::adapterState() const {
    if (!m_adapter->isValid())
        return BluetoothState::unsupported;
    return m_adapter->hostMode() == QBluetoothLocalDevice::HostPoweredOff ? BluetoothState::poweredOff
                                                                          : BluetoothState::poweredOn;
}

void QtBluetoothCentral::scan() {
    if (!m_agent->isActive())
        m_agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod);
}

void QtBluetoothCentral::stopScan() {
    if (m_agent->isActive())
        m_agent->stop();
}

void QtBluetoothCentral::update(BluetoothState state) {
    m_state = state;
    if (m_delegate.stateChanged)
        m_delegate.stateChanged(state);
}

void QtBluetoothCentral::discoveryFailed(QBluetoothDeviceDiscoveryAgent::Error error) {
    switch (error) {
    case QBluetoothDeviceDiscoveryAgent::NoError:
        return;
    case QBluetoothDeviceDiscoveryAgent::PoweredOffError:
        return update(BluetoothState::poweredOff);
    case QBluetoothDeviceDiscoveryAgent::InvalidBluetoothAdapterError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedPlatformError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedDiscoveryMethod:
        return update(BluetoothState::unsupported);
    case QBluetoothDeviceDiscoveryAgent::MissingPermissionsError:
    case QBluetoothDeviceDiscoveryAgent::LocationServiceTurnedOffError:
        return update(BluetoothState::unauthorized);
    default:
        return update(BluetoothState::other);
    }
}

void QtBluetoothCentral::heard(const QBluetoothDeviceInfo& device) {
    // Devices remembered from earlier scans come without a signal strength;
    // only one heard now proves the radio receives.
    if (device.rssi() == 0 || !(device.coreConfigurations() & QBluetoothDeviceInfo::LowEnergyCoreConfiguration))
        return;
    const QString identifier =
        device.deviceUuid().isNull() ? device.address().toString() : device.deviceUuid().toString();
    if (m_delegate.discovered)
        m_delegate.discovered(identifier);
}

} // namespace tagsmith::inspection::wireless
