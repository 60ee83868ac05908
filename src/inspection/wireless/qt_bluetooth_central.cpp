#include "inspection/wireless/qt_bluetooth_central.h"

#include <QBluetoothDeviceInfo>
#include <QTimer>

namespace tagsmith::inspection::wireless {

namespace {

BluetoothState stateAfter(QBluetoothDeviceDiscoveryAgent::Error error) {
    switch (error) {
    case QBluetoothDeviceDiscoveryAgent::PoweredOffError:
        return BluetoothState::poweredOff;
    case QBluetoothDeviceDiscoveryAgent::InvalidBluetoothAdapterError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedPlatformError:
    case QBluetoothDeviceDiscoveryAgent::UnsupportedDiscoveryMethod:
        return BluetoothState::unsupported;
    case QBluetoothDeviceDiscoveryAgent::MissingPermissionsError:
    case QBluetoothDeviceDiscoveryAgent::LocationServiceTurnedOffError:
        return BluetoothState::unauthorized;
    default:
        return BluetoothState::other;
    }
}

} // namespace

QtBluetoothCentral::QtBluetoothCentral(BluetoothCentralDelegate delegate, std::unique_ptr<BluetoothAdapter> adapter)
    : m_delegate(std::move(delegate)), m_adapter(std::move(adapter)) {
    BluetoothAdapter* events = m_adapter.get();
    QObject::connect(events, &BluetoothAdapter::deviceHeard, events,
                     [this](const QBluetoothDeviceInfo& device) { heard(device); });
    QObject::connect(events, &BluetoothAdapter::discoveryFailed, events,
                     [this](QBluetoothDeviceDiscoveryAgent::Error error) { discoveryFailed(error); });
    QObject::connect(events, &BluetoothAdapter::powerChanged, events, [this] { report(state()); });
    // The first state arrives after construction, as the delegate expects.
    QTimer::singleShot(0, events, [this] { report(state()); });
}

BluetoothState QtBluetoothCentral::state() const {
    if (!m_adapter->isValid())
        return BluetoothState::unsupported;
    return m_adapter->isPoweredOff() ? BluetoothState::poweredOff : BluetoothState::poweredOn;
}

void QtBluetoothCentral::scan() {
    if (!m_adapter->isDiscovering())
        m_adapter->startDiscovery();
}

void QtBluetoothCentral::stopScan() {
    if (m_adapter->isDiscovering())
        m_adapter->stopDiscovery();
}

void QtBluetoothCentral::report(BluetoothState state) {
    if (m_delegate.stateChanged)
        m_delegate.stateChanged(state);
}

void QtBluetoothCentral::discoveryFailed(QBluetoothDeviceDiscoveryAgent::Error error) {
    if (error != QBluetoothDeviceDiscoveryAgent::NoError)
        report(stateAfter(error));
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
