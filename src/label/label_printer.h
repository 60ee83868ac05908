#pragma once

#include "report/report.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class QSettings;
class QWidget;

namespace tagsmith::label {

struct PrintTools {
    QString lp = QStringLiteral("/usr/bin/lp");
    QString lpstat = QStringLiteral("/usr/bin/lpstat");
};

// Prints labels on the workstation: manually through the print dialog, and
// automatically through lp at most once per serial, ever. A serial is recorded
// (and flushed to disk) before its job is submitted, so neither a failed job
// nor a crash between the two can lead to a second automatic label.
class LabelPrinter {
public:
    LabelPrinter(QSettings& settings, QString jobFolder, PrintTools tools = {});

    static QString defaultJobFolder(); // Tagsmith/PrintJobs under the user's application data

    bool autoPrint() const { return m_autoPrint; }
    void setAutoPrint(bool on);
    const QSet<QString>& printed() const { return m_printed; }
    const QString& lastPrintResult() const { return m_lastPrintResult; }

    // The automatic policy for an accepted report: the status text to show,
    // or nothing when automatic printing is off.
    std::optional<QString> submitAutomatically(const report::Report& report);

    bool printAutomatically(const report::Report& report);
    bool printManually(const report::Report& report, QWidget* parent);

    // The first printer whose lower-cased name contains "720", else empty (the default printer).
    static QString preferredPrinter(const QStringList& printerNames);
    static QStringList lpArguments(const QString& serial, const QString& jobFile);

private:
    static bool hasKeyConfiguration(const report::Report& report);
    bool queueExists() const;
    bool record(const QString& serial);
    std::optional<QString> writeJobFile(const report::Report& report);

    QSettings& m_settings;
    QString m_jobFolder;
    PrintTools m_tools;
    bool m_autoPrint;
    QSet<QString> m_printed;
    QString m_lastPrintResult;
};

} // namespace tagsmith::label
