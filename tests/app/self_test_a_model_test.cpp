#include "support/headless.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QProcess>

TEST(AModelSelfTest, PassesWithTheCollectorBundlesRulesAndPrintsItsLine) {
    QProcess process;
    process.setProcessEnvironment(tagsmith::test::environmentWithoutDisplay());
    process.start(tagsmith::test::buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--a-model-test"),
                   tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"))});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(),
              "PASS: 31 user rules / 14 chip variants; Intel ambiguity, M4 Max size, unknown size, Air missing "
              "metadata, manual override\n");
}
