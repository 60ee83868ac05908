#include "report/report_file.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;

TEST(ReportFile, NameIsSerialAndMomentAndNeverLeavesTheFolder) {
    const struct {
        QString collectedAt;
        QString name;
    } cases[] = {
        {QStringLiteral("2025-03-01T09:15:00Z"), QStringLiteral("C02CQ4XYML7H_2025-03-01T09-15-00Z.macreport")},
        {QStringLiteral("../../etc/x"), QStringLiteral("C02CQ4XYML7H_..-..-etc-x.macreport")},
        {QStringLiteral("a\\b\nc\u2028d"), QStringLiteral("C02CQ4XYML7H_a-b-c-d.macreport")},
        {QString(100, u'9'), QStringLiteral("C02CQ4XYML7H_") + QString(64, u'9') + QStringLiteral(".macreport")},
        {QString(63, u'x') + QStringLiteral("😀"),
         QStringLiteral("C02CQ4XYML7H_") + QString(63, u'x') + u'-' + QStringLiteral(".macreport")},
    };
    for (const auto& c : cases) {
        Report report;
        report.serial = QStringLiteral("C02CQ4XYML7H");
        report.collectedAt = c.collectedAt;
        EXPECT_EQ(reportFileName(report), c.name);
    }
}
