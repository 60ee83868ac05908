#include "label/printer_command.h"

#include "support/cups_server.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::label::printerCommand;
using tagsmith::test::CupsServer;

TEST(PrinterCommand, MergesBothStreamsInTheCLocaleAndReportsTheStatus) {
    const auto result = printerCommand(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo \"$LC_ALL\" >&2; exit 3")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.output, QStringLiteral("out\nC\n"));
}

TEST(PrinterCommand, ToolThatCannotStartGivesMinusOneAndTheReason) {
    const auto result = printerCommand(QStringLiteral("/nonexistent/lp"), {});
    EXPECT_EQ(result.status, -1);
    EXPECT_FALSE(result.output.isEmpty());
}

TEST(PrinterCommand, TalksToARealSchedulerThroughLpstatAndLp) {
    CupsServer cups;
    if (!cups.running())
        GTEST_SKIP() << cups.whyNotRunning().toStdString();
    EXPECT_NE(
        printerCommand(QStringLiteral("/usr/bin/lpstat"), {QStringLiteral("-p"), QStringLiteral("Deli720W_40x30")})
            .status,
        0);
    ASSERT_TRUE(cups.addQueue(QStringLiteral("Deli720W_40x30")));
    EXPECT_EQ(
        printerCommand(QStringLiteral("/usr/bin/lpstat"), {QStringLiteral("-p"), QStringLiteral("Deli720W_40x30")})
            .status,
        0);

    QTemporaryDir dir;
    const QString job = dir.filePath(QStringLiteral("job.pdf"));
    QFile file(job);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n%test job\n");
    file.close();
    const auto printed =
        printerCommand(QStringLiteral("/usr/bin/lp"), {QStringLiteral("-d"), QStringLiteral("Deli720W_40x30"), job});
    EXPECT_EQ(printed.status, 0) << printed.output.toStdString();
    EXPECT_TRUE(printed.output.startsWith(QStringLiteral("request id is Deli720W_40x30-")));
    ASSERT_TRUE(
        tagsmith::test::waitUntil([&] { return QFile::exists(cups.outputFolder() + QStringLiteral("/job-1.pdf")); }));
}
