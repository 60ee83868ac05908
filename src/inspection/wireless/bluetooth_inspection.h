#pragma once

#include "inspection/media/watchdog.h"
#include "inspection/wireless/bluetooth_central.h"

#include <QPointer>
#include <QSet>
#include <QString>

#include <chrono>
#include <memory>

class QLabel;
class QPushButton;

namespace tagsmith::inspection {
class InspectionResults;
}

namespace tagsmith::inspection::wireless {

// The Bluetooth half of the wireless page: one low-energy advertisement heard
// during a timed scan passes the item; a switched-off radio, a missing
// permission or silence leave it for the operator. Callbacks that arrive
// while no test is requested are dropped. Main thread only.
class BluetoothInspection {
public:
    BluetoothInspection(BluetoothCentralFactory makeCentral, std::chrono::milliseconds scanTime, QLabel* status,
                        QPushButton* button);
    ~BluetoothInspection();
    BluetoothInspection(const BluetoothInspection&) = delete;
    BluetoothInspection& operator=(const BluetoothInspection&) = delete;

    void setResults(std::shared_ptr<InspectionResults> results) { m_results = std::move(results); }
    void startBluetooth();
    void stop();

private:
    void handleState(BluetoothState state);
    void waitForController();
    void scan();
    void discovered(const QString& identifier);
    void finishBluetooth();
    void stopBluetooth(const QString& message);
    void passWithDevicesHeard();
    void setStatus(const QString& text);
    void setButtonEnabled(bool enabled);

    BluetoothCentralFactory m_makeCentral;
    std::chrono::milliseconds m_scanTime;
    QPointer<QLabel> m_status;
    QPointer<QPushButton> m_button;
    std::shared_ptr<InspectionResults> m_results;

    std::unique_ptr<BluetoothCentral> m_central;
    media::Watchdog m_timeout;
    bool m_requested = false;
    QSet<QString> m_seen;
};

} // namespace tagsmith::inspection::wireless
