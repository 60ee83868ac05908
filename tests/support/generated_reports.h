#pragma once

#include "base/atomic_file.h"
#include "report/report.h"
#include "report/report_file.h"
#include "report/report_json.h"

#include <QDateTime>
#include <QDir>

namespace tagsmith::test {

// A distinct valid report per index: serial "GEN" + six digits, collected a
// minute apart; every fifth is a 16-inch Intel machine with a name that needs
// CSV quoting.
inline report::Report generatedReport(int index) {
    report::Report report;
    report.collectedAt = QDateTime(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC).addSecs(60LL * index).toString(Qt::ISODate);
    report.serial = QStringLiteral("GEN%1").arg(index, 6, 10, QLatin1Char('0'));
    const bool intel = index % 5 == 0;
    report.model = intel ? QStringLiteral("MacBookPro16,1") : QStringLiteral("MacBookAir10,1");
    report.name = intel ? QStringLiteral("MacBook Pro \"16\", 英特尔") : QStringLiteral("MacBook Air");
    report.years = {intel ? QStringLiteral("2019") : QStringLiteral("2020")};
    report.inches = {intel ? QStringLiteral("16") : QStringLiteral("13")};
    report.chip = intel ? QStringLiteral("Intel Core i7") : QStringLiteral("Apple M1");
    report.cpu = 8;
    report.memory = QStringLiteral("16 GB");
    report.batteryHealth = QStringLiteral("%1%").arg(70 + index % 30);
    report.cycles = index % 1000;
    report.disk = QStringLiteral("512G");
    return report;
}

// Saves reports first..first+count-1 in the folder as the workstation names them.
inline void writeGeneratedReports(const QString& folder, int count, int first = 0) {
    for (int index = first; index < first + count; ++index) {
        const report::Report report = generatedReport(index);
        (void)base::writeFileAtomically(QDir(folder).filePath(report::reportFileName(report)),
                                        report::encodeReport(report, report::JsonLayout::prettySorted));
    }
}

} // namespace tagsmith::test
