#pragma once

#include "label/label_printer.h"
#include "ledger/workstation_ledger.h"
#include "report/report.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSettings;

namespace tagsmith::app {
class ActionLine;
}

namespace tagsmith::collect {
class ConfigurationView;
class ResaleWarningWidget;
} // namespace tagsmith::collect

namespace tagsmith::app {

class ReceiveCodeView;
class HistoryView;

// Where the workstation keeps its files and which printing tools it runs.
struct WorkstationPlaces {
    QString reportsFolder = defaultReportsFolder();
    QString printJobsFolder = label::LabelPrinter::defaultJobFolder();
    label::PrintTools printTools;

    static QString defaultReportsFolder(); // Tagsmith/Reports under the user's application data
};

// The workstation window's content: waits for reports from the cable, saves
// and shows each accepted one, prints its label (automatically at most once
// per serial), imports report files and takes label corrections.
class WorkstationPanel : public QWidget {
    Q_OBJECT
public:
    WorkstationPanel(QSettings& settings, WorkstationPlaces places, QWidget* parent = nullptr);
    ~WorkstationPanel() override;

    // The receiver's report handler, on the main thread: true when the report
    // is accepted, so the collector may be acknowledged. The v1 receiver does
    // not tell a push from a pull.
    bool acceptReport(const report::Report& report, const QByteArray& bytes,
                      ledger::IntakeSource source = ledger::IntakeSource::cableV1);
    void showStatus(const QString& text);
    // An outcome of the operator's action: in the status line and, kept with
    // its time, in the action line.
    void showOutcome(const QString& text);

    void load(const QString& path);
    void importFile();
    void editLabel();
    void printReport();
    // Applies the label supplement dialog's texts; false when they were refused.
    bool applyLabelSupplement(const QString& disk, const QString& exterior);

    const std::optional<report::Report>& report() const { return m_report; }
    const std::optional<QString>& saved() const { return m_saved; }
    label::LabelPrinter& printer() { return m_printer; }
    ReceiveCodeView* receiveCode() const { return m_receiveCode; } // hidden until the relay is in use
    ledger::WorkstationLedger& ledger() { return m_ledger; }
    HistoryView* showHistory();

private:
    void buildControls();
    void show(const report::Report& report);
    void clearReport();
    std::optional<QString> save(const report::Report& report, const QByteArray& bytes);
    void submitAutomatically(const report::Report& report, const QString& fileName);
    void reprintFromHistory();

    label::LabelPrinter m_printer;
    WorkstationPlaces m_places;
    std::optional<report::Report> m_report;
    std::optional<QString> m_saved;
    QString m_lastAccepted; // SHA-256 of the last accepted report's bytes, lower-case hex
    QLabel* m_status = nullptr;
    ActionLine* m_actionLine = nullptr;
    QCheckBox* m_autoPrint = nullptr;
    collect::ConfigurationView* m_body = nullptr;
    collect::ResaleWarningWidget* m_warning = nullptr;
    QPushButton* m_action = nullptr;
    QPushButton* m_extra = nullptr;
    QPushButton* m_supplement = nullptr;
    ReceiveCodeView* m_receiveCode = nullptr;
    ledger::WorkstationLedger m_ledger;
    HistoryView* m_history = nullptr; // built when first asked for
};

} // namespace tagsmith::app
