#include "base/read_file.h"
#include "collect/hardware_snapshot.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/fixtures.h"
#include "support/qr_decode.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using tagsmith::test::buildPath;
using tagsmith::test::CliRun;
using tagsmith::test::sourcePath;

namespace {

const QString kCollector = QStringLiteral("Tagsmith Collector.app");

QString validReport() {
    return tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));
}

// This process's environment without any display or session: what a self-test
// meets on a server or in CI, where the default display platform cannot start.
QProcessEnvironment environmentWithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// A self-test mode of a bundle, started as on a server or in CI: without any display.
CliRun runSelfTest(const QString& bundle, const QStringList& arguments,
                   const QProcessEnvironment& environment = environmentWithoutDisplay()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(buildPath(bundle + QStringLiteral("/Contents/MacOS/VOREvo")), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(SelfTestModes, AModelPullAndVerifyPassWithTheBundlesOwnRulesKeyAndLabel) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("label.png"));
    const struct {
        QString bundle;
        QStringList arguments;
        QByteArray line;
    } cases[] = {
        {kCollector,
         {QStringLiteral("--a-model-test"), validReport()},
         "PASS: 31 user rules / 14 chip variants; Intel ambiguity, M4 Max size, unknown size, Air missing "
         "metadata, manual override\n"},
        {QStringLiteral("Tagsmith.app"),
         {QStringLiteral("--pull-test"), validReport()},
         "PASS: pull protocol authenticates both peers, transfers encrypted report, acknowledges, rejects "
         "incorrect client key; no printing\n"},
        {kCollector,
         {QStringLiteral("--verify"), validReport(), png},
         "PASS: schema rejection, encrypted payload round-trip, tamper rejection, bounded socket framing, label "
         "rendered (local test machine only)\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runSelfTest(c.bundle, c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
        EXPECT_EQ(run.standardOutput, c.line);
        EXPECT_EQ(run.standardError, QByteArray()) << "only the program's own text";
    }
    EXPECT_EQ(tagsmith::test::decodeQrFile(png), QStringLiteral("K7Q2XW9FJ4"));
}

// A self-test runs in place: a relaunch from a temporary copy would lose its exit code.
TEST(SelfTestModes, VerifyOfAnInvalidReportFailsWithItsMessageWritesNothingAndRunsInPlace) {
    QTemporaryDir dir;
    const QStringList invalid = tagsmith::test::reportFixtures(QStringLiteral("invalid"));
    ASSERT_FALSE(invalid.isEmpty());
    const QString png = dir.filePath(QStringLiteral("label.png"));
    QProcessEnvironment environment = environmentWithoutDisplay();
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    const CliRun run = runSelfTest(kCollector, {QStringLiteral("--verify"), invalid.front(), png}, environment);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardOutput.isEmpty());
    EXPECT_FALSE(run.standardError.isEmpty());
    EXPECT_FALSE(run.standardError.endsWith('\n')) << "the description is written as it is";
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("TagsmithRuntime-*")}, QDir::Dirs).isEmpty());
}

TEST(SelfTestModes, CollectionWritesAValidReportWithTheLiveSnapshotOrFailsWithTheDescription) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("report.json"));
    const auto collect = [&out](const QString& profile) {
        return runSelfTest(kCollector, {QStringLiteral("--test"),
                                        tagsmith::test::fixturePath(QStringLiteral("system_profiler/") + profile),
                                        sourcePath(QStringLiteral("resources/models.json")), out});
    };
    const CliRun failed = collect(QStringLiteral("iMac20,1.json"));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.standardError, "没有读到 MacBook 的整机序列号与机型，未生成报告。");
    EXPECT_FALSE(QFile::exists(out));

    const CliRun run = collect(QStringLiteral("MacBookPro18,3.json"));
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    const auto cores = tagsmith::collect::HardwareSnapshot::current().physicalCores;
    EXPECT_EQ(run.standardOutput,
              QStringLiteral("PASS: parsed report; CPU=%1, GPU=14, battery=89%\n").arg(cores.value_or(-1)).toUtf8());
    const auto report = tagsmith::report::validated(tagsmith::base::readFileUpTo(out, 1 << 20).value());
    EXPECT_EQ(report.value().serial, QStringLiteral("K9W4TQ7X2L"));
}

// Renders the dashboard and every page with the bundle's own catalogue, and
// keeps the pictures under the build tree for a person to look at.
TEST(SelfTestModes, InspectionSelfTestRendersTheDashboardAndPages) {
    const QString folder = buildPath(QStringLiteral("test-artifacts/inspection"));
    QDir(folder).removeRecursively();
    QTemporaryDir home;
    QProcessEnvironment environment = environmentWithoutDisplay();
    environment.insert(QStringLiteral("HOME"), home.path());
    const CliRun run = runSelfTest(kCollector, {QStringLiteral("--inspection-self-test"), folder}, environment);
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_TRUE(run.standardOutput.startsWith("PASS: 9 inspection items on 6 tabs"));
    EXPECT_EQ(run.standardError, QByteArray()) << "only the program's own text";

    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/media.log")).size() > 0);
    EXPECT_FALSE(QDir(home.path()).exists(QStringLiteral("Library"))) << "the user's media log is left alone";
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files).size(), 8)
        << "the dashboard twice, six pages";
}
