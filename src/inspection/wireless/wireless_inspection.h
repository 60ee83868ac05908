#pragma once

#include "inspection/inspection_page.h"
#include "inspection/wireless/wireless_hardware.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <memory>

namespace tagsmith::inspection::wireless {

class BluetoothInspection;
class WiFiInspection;

// The "无线检测" tab: a Wi-Fi section and a Bluetooth section, each with its
// start button and status text; the suite adds the two verdict strips.
// Tests run only when the operator presses a start button, and nothing here
// ever fails an item. Main thread only.
class WirelessInspection final : public InspectionPage {
public:
    explicit WirelessInspection(WirelessHardware hardware, WirelessTimings timings = {});
    ~WirelessInspection() override;

    QWidget* view() override { return m_view; }
    void setResults(std::shared_ptr<InspectionResults> results) override;
    // Drops every answer still under way; results stay.
    void stop() override;

    void startWiFi();
    void startBluetooth();

    QLabel* wifiStatus() const { return m_wifiStatus; }
    QLabel* bluetoothStatus() const { return m_bluetoothStatus; }
    QPushButton* wifiButton() const { return m_wifiButton; }
    QPushButton* bluetoothButton() const { return m_bluetoothButton; }

private:
    void build();

    QPointer<QWidget> m_view;
    QPointer<QLabel> m_wifiStatus;
    QPointer<QLabel> m_bluetoothStatus;
    QPointer<QPushButton> m_wifiButton;
    QPointer<QPushButton> m_bluetoothButton;
    std::unique_ptr<WiFiInspection> m_wifi;
    std::unique_ptr<BluetoothInspection> m_bluetooth;
};

// The page with the machine's own hardware.
std::shared_ptr<InspectionPage> makeWirelessInspection();

} // namespace tagsmith::inspection::wireless
