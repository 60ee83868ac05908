#include "support/headless.h"
#include "support/qr_decode.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct VerifyRun {
    int exitCode;
    QByteArray standardOutput;
    QByteArray standardError;
};

VerifyRun verify(const QString& report, const QString& png) {
    QProcess process;
    process.setProcessEnvironment(tagsmith::test::environmentWithoutDisplay());
    process.start(tagsmith::test::buildPath(QStringLiteral("Tagsmith Collector.app/Contents/MacOS/VOREvo")),
                  {QStringLiteral("--verify"), report, png});
    EXPECT_TRUE(process.waitForFinished(20000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

TEST(VerifySelfTest, ChecksTheReportCryptoFramingAndWritesTheLabel) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("label.png"));
    const VerifyRun run =
        verify(tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")), png);
    EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(run.standardOutput,
              "PASS: schema rejection, encrypted payload round-trip, tamper rejection, bounded socket "
              "framing, label rendered (local test machine only)\n");
    EXPECT_EQ(QImage(png).size(), QSize(320, 240));
    EXPECT_EQ(tagsmith::test::decodeQrFile(png), QStringLiteral("K7Q2XW9FJ4"));
}

TEST(VerifySelfTest, InvalidReportFailsWithItsMessageAndWritesNothing) {
    QTemporaryDir dir;
    const QStringList invalid = tagsmith::test::reportFixtures(QStringLiteral("invalid"));
    ASSERT_FALSE(invalid.isEmpty());
    const QString png = dir.filePath(QStringLiteral("label.png"));
    const VerifyRun run = verify(invalid.front(), png);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardOutput.isEmpty());
    EXPECT_FALSE(run.standardError.isEmpty());
    EXPECT_FALSE(run.standardError.endsWith('\n')) << "the description is written as it is";
    EXPECT_FALSE(QFile::exists(png));
}
