#include "base/read_file.h"
#include "collect/hardware_snapshot.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using tagsmith::test::sourcePath;

namespace {

tagsmith::test::CliRun collectorTest(const QString& profile, const QString& out) {
    QProcess process;
    process.setProcessEnvironment(tagsmith::test::environmentWithoutDisplay());
    process.start(tagsmith::test::buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--test"), sourcePath(QStringLiteral("tests/fixtures/system_profiler/") + profile),
                   sourcePath(QStringLiteral("resources/models.json")), out});
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(CollectionSelfTest, WritesAValidReportWithTheLiveSnapshotOrFailsWithTheDescription) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("report.json"));
    const auto failed = collectorTest(QStringLiteral("iMac20,1.json"), out);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.standardError, "没有读到 MacBook 的整机序列号与机型，未生成报告。");
    EXPECT_FALSE(QFile::exists(out));

    const auto run = collectorTest(QStringLiteral("MacBookPro18,3.json"), out);
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    const auto cores = tagsmith::collect::HardwareSnapshot::current().physicalCores;
    EXPECT_EQ(run.standardOutput,
              QStringLiteral("PASS: parsed report; CPU=%1, GPU=14, battery=89%\n").arg(cores.value_or(-1)).toUtf8());
    const auto report = tagsmith::report::validated(tagsmith::base::readFileUpTo(out, 1 << 20).value());
    EXPECT_EQ(report.value().serial, QStringLiteral("K9W4TQ7X2L"));
}
