#pragma once

#include <QBluetoothDeviceDiscoveryAgent>
#include <QObject>

class QBluetoothDeviceInfo;

namespace tagsmith::inspection::wireless {

// The local Bluetooth controller and its low-energy discovery, as the Qt
// central uses them. The tests script one in place of the system's. Main thread only.
class BluetoothAdapter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool isValid() const = 0;
    virtual bool isPoweredOff() const = 0;
    virtual bool isDiscovering() const = 0;
    // Until stopped: the page decides how long a scan lasts.
    virtual void startDiscovery() = 0;
    virtual void stopDiscovery() = 0;

Q_SIGNALS:
    void powerChanged();
    void discoveryFailed(QBluetoothDeviceDiscoveryAgent::Error error);
    void deviceHeard(const QBluetoothDeviceInfo& device);
};

} // namespace tagsmith::inspection::wireless
