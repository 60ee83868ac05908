#pragma once

#include "app/relay_controls.h"
#include "app/sleep_assertion.h"
#include "base/result.h"
#include "cable/cable_receiver.h"
#include "cable/collector_v2.h"
#include "collect/report_collection.h"
#include "inspection/inspection_pages.h"
#include "relay/relay_configuration.h"
#include "report/report.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;

namespace tagsmith::collect {
class ConfigurationView;
class ResaleWarningWidget;
} // namespace tagsmith::collect
namespace tagsmith::inspection {
class InspectionSuite;
}

namespace tagsmith::app {

// What the collector window works with; tests replace the hardware-bound parts.
struct CollectorServices {
    std::function<Result<collect::CollectedReport>()> collect; // blocking: runs on a worker thread
    std::shared_ptr<cable::CollectorV2> server = cable::CollectorV2::create();
    cable::CableReceiver::LinkSource cableLinks; // empty: real discovery
    std::uint16_t cablePort = cable::kV2Port;
    Result<relay::RelayConfiguration> relayConfiguration = Error{};
    inspection::InspectionPages pages = inspection::standardInspectionPages();
    std::function<std::unique_ptr<SleepAssertion>()> keepAwake;

    static CollectorServices forBundle(); // the real machine, tools and bundle resources
};

// The collector window's content: the overview tab with the configuration
// column and the inspection dashboard, the inspection tabs, the collection of
// this MacBook's report, its service on the cable and the relay hand-over.
class CollectorPanel : public QWidget {
    Q_OBJECT
public:
    CollectorPanel(CollectorServices services, bool preview, QWidget* parent = nullptr);
    ~CollectorPanel() override;

    void collect();
    // Shows a report file given at start; it is neither saved again nor served.
    void load(const QString& path);
    // Stops the inspections and lets the media queues finish, at most 3 s;
    // then calls quit once. Further requests while waiting are ignored.
    void prepareToQuit(std::function<void()> quit);
    // The last step before the process ends: nothing runs afterwards.
    void shutdown();

    QString status() const;
    const std::optional<report::Report>& report() const { return m_report; }
    bool collecting() const { return m_collecting; }
    bool transferred() const { return m_transferred; }
    QTabWidget* tabs() const { return m_tabs; }
    RelayControls* relay() const { return m_relay; }
    inspection::InspectionSuite* inspection() const { return m_inspection.get(); }

    static report::Report sampleReport(); // what preview mode shows

private:
    QWidget* buildOverview();
    void buildColumn(QWidget* overview);
    void startPreview();
    void startService();
    void finish(const collect::CollectedReport& collected);
    void failed(const Error& error);
    void show(const report::Report& report);
    void setStatus(const QString& text);

    CollectorServices m_services;
    bool m_preview;
    QTabWidget* m_tabs = nullptr;
    QLabel* m_status = nullptr;
    collect::ConfigurationView* m_body = nullptr;
    collect::ResaleWarningWidget* m_warning = nullptr;
    QPushButton* m_action = nullptr;
    RelayControls* m_relay = nullptr;
    std::unique_ptr<inspection::InspectionSuite> m_inspection;
    std::unique_ptr<cable::CableReceiver> m_cableReceiver; // created on first use
    std::unique_ptr<SleepAssertion> m_sleepAssertion;
    std::optional<report::Report> m_report;
    std::optional<QString> m_saved;
    bool m_collecting = false;
    bool m_transferred = false;
    bool m_awaitingMediaShutdown = false;
    bool m_shutDown = false;
};

} // namespace tagsmith::app
