#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace tagsmith::inspection::wireless {

// The Bluetooth controller as a low-energy central sees it. other stands for
// anything the system reports that none of the rest describes.
enum class BluetoothState { unknown, resetting, unsupported, unauthorized, poweredOff, poweredOn, other };

// Where a central reports, on the main thread and never from inside its
// construction or after its destruction.
struct BluetoothCentralDelegate {
    std::function<void(BluetoothState)> stateChanged;
    // One peripheral heard advertising, by an identifier stable for this scan.
    std::function<void(const QString& identifier)> discovered;
};

// A low-energy central. It reports its first state soon after it is made,
// and then every change. Main thread only.
class BluetoothCentral {
public:
    virtual ~BluetoothCentral() = default;

    virtual BluetoothState state() const = 0;
    // Listens for every advertiser, each reported once per scan.
    virtual void scan() = 0;
    virtual void stopScan() = 0;
};

using BluetoothCentralFactory = std::function<std::unique_ptr<BluetoothCentral>(BluetoothCentralDelegate)>;

} // namespace tagsmith::inspection::wireless
