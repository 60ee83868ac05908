#pragma once

#include "inspection/wireless/bluetooth_central.h"

#include <memory>

namespace tagsmith::inspection::wireless {

// Makes low-energy centrals that report what the caller tells them to, for
// the self-test and the unit tests. Main thread only.
class SimulatedBluetooth {
public:
    // What this object and the centrals it made share.
    struct Radio;

    SimulatedBluetooth();

    // Centrals take the radio's current state (unknown at first) and report
    // nothing until told.
    BluetoothCentralFactory factory();

    int centralsMade() const;
    bool isScanning() const;
    // The latest central takes the state and reports it.
    void setState(BluetoothState state);
    // The latest central reports an advertiser, scanning or not: the system
    // may still deliver one that it queued before the scan stopped.
    void advertise(const QString& identifier);

private:
    std::shared_ptr<Radio> m_radio;
};

} // namespace tagsmith::inspection::wireless
