#pragma once

#include "base/result.h"
#include "relay/cloud_relay.h"
#include "report/report.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tagsmith::app {

// The collector's receive-code entry, send button and relay status line: they
// hand the current report to the relay client and show its progress.
class RelayControls : public QObject {
    Q_OBJECT
public:
    // Without a configuration the status line shows why and sending does nothing.
    RelayControls(QWidget* overview, const Result<relay::RelayConfiguration>& configuration);
    ~RelayControls() override;

    // Returns the report to send, or nothing while none is ready to be sent.
    void setReportSource(std::function<std::optional<report::Report>()> source) { m_reportSource = std::move(source); }

    void sendCloud();
    // Cancels a send in flight and closes the client; waits briefly for its
    // worker to leave the network library.
    void shutdown();

    QLineEdit* receiveCode() const { return m_receiveCode; }
    QLabel* relayStatus() const { return m_relayStatus; }
    bool sending() const { return m_task != nullptr; }

private:
    void setSending(bool sending);
    void finished(const Result<void>& outcome);

    QLineEdit* m_receiveCode;
    QPushButton* m_relaySend;
    QLabel* m_relayStatus;
    std::unique_ptr<relay::CloudRelay> m_cloudRelay;
    std::shared_ptr<relay::RelayTask> m_task; // present while a send runs
    std::function<std::optional<report::Report>()> m_reportSource;
};

} // namespace tagsmith::app
