#pragma once

#include "report/report_json.h"
#include "support/fixtures.h"

#include <QDir>

namespace tagsmith::test {

inline QString reportFixture(const QString& relative) {
    return fixturePath(QStringLiteral("reports/") + relative);
}

inline QByteArray reportFixtureBytes(const QString& relative) {
    return fixtureBytes(QStringLiteral("reports/") + relative);
}

inline QStringList reportFixtures(const QString& folder) {
    QStringList paths;
    for (const QString& name : QDir(reportFixture(folder)).entryList({QStringLiteral("*.macreport")}, QDir::Files))
        paths.append(reportFixture(folder + u'/' + name));
    return paths;
}

inline report::Report fixtureReport(const QString& relative) {
    return report::decodeReport(reportFixtureBytes(relative)).value();
}

// The Intel 16-inch fixture with every field set.
inline report::Report fullReport() {
    report::Report report = fixtureReport(QStringLiteral("valid/C02ZK1HVMD6N_2024-12-03T10-48-33Z.macreport"));
    report.market = QStringLiteral("国行");
    report.gpu = 1023;
    return report;
}

} // namespace tagsmith::test
