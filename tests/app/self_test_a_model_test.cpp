#include "report/sample_reports.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace {

QProcess* startCollector(QProcess& process, const QString& reportPath) {
    process.start(tagsmith::test::buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--a-model-test"), reportPath});
    EXPECT_TRUE(process.waitForFinished(20000));
    return &process;
}

} // namespace

TEST(AModelSelfTest, PassesWithTheCollectorBundlesRulesAndPrintsItsLine) {
    QProcess process;
    startCollector(process,
                   tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(),
              "PASS: 31 user rules / 14 chip variants; Intel ambiguity, M4 Max size, unknown size, Air missing "
              "metadata, manual override\n");
}

TEST(AModelSelfTest, AnUndecodableReportFailsOnStandardError) {
    QProcess process;
    startCollector(process, tagsmith::test::reportFixture(QStringLiteral("invalid/cpu-as-text.macreport")));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
              QStringLiteral("字段“cpu”应为整数（64 位），实际为文本。"));
}
