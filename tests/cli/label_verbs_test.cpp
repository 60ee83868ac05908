#include "support/cli.h"
#include "support/qr_decode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

using tagsmith::test::runCli;
using tagsmith::test::sourcePath;

namespace {
const QString kValid = sourcePath(QStringLiteral("tests/fixtures/reports/valid/"));
const QString kAir = kValid + QStringLiteral("FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");
const QString kPro = kValid + QStringLiteral("C02CQ4XYML7H_2025-01-20T07-31-05Z.macreport");
} // namespace

TEST(LabelVerbs, OneReportGivesAPngWhoseCodeIsTheSerialOrAPdf) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("air.png"));
    const auto run = runCli({QStringLiteral("label"), kAir, QStringLiteral("--png"), png});
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(320, 240));
    EXPECT_EQ(tagsmith::test::decodeQrFile(png), QStringLiteral("FVFDL3Q2Q6L4"));

    const QString pdf = dir.filePath(QStringLiteral("air.pdf"));
    ASSERT_EQ(runCli({QStringLiteral("label"), QStringLiteral("--pdf"), pdf, kAir}).exitCode, 0);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
}

TEST(LabelVerbs, ManyReportsFillAFolderAndABadOneFailsWithoutStoppingTheOthers) {
    QTemporaryDir dir;
    const QString invalid = sourcePath(QStringLiteral("tests/fixtures/reports/invalid"));
    const QString bad = QDir(invalid).filePath(QDir(invalid).entryList(QDir::Files).front());
    const auto run = runCli({QStringLiteral("label"), kAir, bad, kPro, QStringLiteral("--png"), dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("C02CQ4XYML7H.png"), QStringLiteral("FVFDL3Q2Q6L4.png")}));
}
