#include "support/headless.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QProcess>

TEST(PullSelfTest, RunsTheExchangeWithTheBundleKeyAndPrintsItsLine) {
    QProcess process;
    process.setProcessEnvironment(tagsmith::test::environmentWithoutDisplay());
    process.start(tagsmith::test::buildPath(QStringLiteral("Tagsmith.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--pull-test"),
                   tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"))});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(),
              "PASS: pull protocol authenticates both peers, transfers encrypted report, acknowledges, rejects "
              "incorrect client key; no printing\n");
}
