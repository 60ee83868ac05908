#pragma once

#include "inspection/media/watchdog.h"
#include "inspection/wireless/wireless_hardware.h"

#include <QPointer>
#include <QString>

#include <chrono>
#include <memory>

class QLabel;
class QPushButton;

namespace tagsmith::inspection {
class InspectionResults;
}

namespace tagsmith::inspection::wireless {

// The Wi-Fi half of the wireless page. Joining a wireless network passes the
// item at once; the scan of nearby networks and the secure connection test
// are shown for information only. Every test raises the generation, so
// answers that belong to an earlier test or arrive after stop() are dropped.
// Main thread only.
class WiFiInspection {
public:
    WiFiInspection(WiFiHardware hardware, std::chrono::milliseconds connectionTimeout, QLabel* status,
                   QPushButton* button);
    ~WiFiInspection();
    WiFiInspection(const WiFiInspection&) = delete;
    WiFiInspection& operator=(const WiFiInspection&) = delete;

    void setResults(std::shared_ptr<InspectionResults> results) { m_results = std::move(results); }
    // Ignored while a connection test runs.
    void startWiFi();
    void stop();

private:
    void beginTest();
    void endWithoutRadio(const QString& hardwareLine);
    void describe(const WiFiInterface& interface);
    void readLocationAndScan(int generation);
    void renderWiFi();

    void checkInternet(int generation, const QString& interfaceName);
    void pathUpdated(bool satisfiedOverWiFi, int generation);
    void connectionEnded(const ProbeOutcome& outcome, int generation);
    void completeInternet(const QString& message, int generation);

    void scanWiFi(int generation);
    void scanEnded(const Result<int>& found, int generation);
    void setButtonEnabled(bool enabled);

    WiFiHardware m_hardware;
    std::chrono::milliseconds m_connectionTimeout;
    QPointer<QLabel> m_status;
    QPointer<QPushButton> m_button;
    std::shared_ptr<InspectionResults> m_results;

    bool m_internetPassed = false;
    bool m_associated = false;
    bool m_scanInProgress = false;
    bool m_busy = false;
    int m_generation = 0;
    std::unique_ptr<ProbeConnection> m_connection;
    media::Watchdog m_timeout;
    QString m_hardwareLine;
    QString m_scanLine;
    QString m_internetLine;
    // Scan workers hold it weakly, to learn on the main thread whether this section still exists.
    std::shared_ptr<int> m_lifetime = std::make_shared<int>();
};

} // namespace tagsmith::inspection::wireless
