#include "support/cli.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using tagsmith::test::reportFixture;
using tagsmith::test::runCli;

namespace {
const QString kAir = reportFixture(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
const QString kPro = reportFixture(QStringLiteral("valid/C02CQ4XYML7H_2025-01-20T07-31-05Z.macreport"));
} // namespace

// A serial seen twice gets a second file, never the first one's name.
TEST(LabelVerbs, ManyReportsFillAFolderAndABadOneFailsWithoutStoppingTheOthers) {
    QTemporaryDir dir;
    const QString bad = tagsmith::test::reportFixtures(QStringLiteral("invalid")).front();
    const auto run = runCli({QStringLiteral("label"), kAir, bad, kPro, kAir, QStringLiteral("--png"), dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("C02CQ4XYML7H.png"), QStringLiteral("FVFDL3Q2Q6L4-2.png"),
                           QStringLiteral("FVFDL3Q2Q6L4.png")}));
}
