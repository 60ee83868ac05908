#pragma once

#include "report/report.h"
#include "support/paths.h"

#include <QDir>

namespace tagsmith::test {

// A report with every field set, as an Intel collector would send it.
inline report::Report fullReport() {
    report::Report report;
    report.collectedAt = QStringLiteral("2025-03-01T09:15:00Z");
    report.serial = QStringLiteral("C02CQ4XYML7H");
    report.model = QStringLiteral("MacBookPro16,2");
    report.name = QStringLiteral("MacBook Pro");
    report.years = {QStringLiteral("2020")};
    report.inches = {QStringLiteral("13"), QStringLiteral("13.3")};
    report.chip = QStringLiteral("Intel Core i5-1038NG7 CPU @ 2.00GHz");
    report.cpu = 4;
    report.gpu = 1023;
    report.memory = QStringLiteral("16 GB");
    report.batteryHealth = QStringLiteral("约87%");
    report.cycles = 0;
    report.batteryCondition = QStringLiteral("Good");
    report.disk = QStringLiteral("512G");
    report.exterior = QStringLiteral("A2251");
    report.market = QStringLiteral("国行");
    report.graphics = QStringLiteral("Intel Iris Plus Graphics / AMD Radeon Pro 5300M");
    return report;
}

inline QString reportFixture(const QString& relative) {
    return sourcePath(QStringLiteral("tests/fixtures/reports/") + relative);
}

inline QStringList reportFixtures(const QString& folder) {
    QStringList paths;
    for (const QString& name : QDir(reportFixture(folder)).entryList({QStringLiteral("*.macreport")}, QDir::Files))
        paths.append(reportFixture(folder + u'/' + name));
    return paths;
}

} // namespace tagsmith::test
