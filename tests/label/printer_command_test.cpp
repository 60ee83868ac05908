#include "label/printer_command.h"

#include "base/atomic_file.h"
#include "support/cups_server.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::label::printerCommand;
using tagsmith::test::CupsServer;

TEST(PrinterCommand, MergesBothStreamsInTheCLocaleAndReportsTheStatusOrWhyItCouldNotStart) {
    const auto result = printerCommand(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo out; echo \"$LC_ALL\" >&2; exit 3")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.output, QStringLiteral("out\nC\n"));
    const auto missing = printerCommand(QStringLiteral("/nonexistent/lp"), {});
    EXPECT_EQ(missing.status, -1);
    EXPECT_FALSE(missing.output.isEmpty());
}

TEST(PrinterCommand, TalksToARealSchedulerThroughLpstatAndLp) {
    CupsServer cups;
    if (!cups.running())
        GTEST_SKIP() << cups.whyNotRunning().toStdString();
    const auto queueStatus = [] {
        return printerCommand(QStringLiteral("/usr/bin/lpstat"),
                              {QStringLiteral("-p"), QStringLiteral("Deli720W_40x30")})
            .status;
    };
    EXPECT_NE(queueStatus(), 0);
    ASSERT_TRUE(cups.addQueue(QStringLiteral("Deli720W_40x30")));
    EXPECT_EQ(queueStatus(), 0);

    QTemporaryDir dir;
    const QString job = dir.filePath(QStringLiteral("job.pdf"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(job, "%PDF-1.4\n%test job\n"));
    const auto printed =
        printerCommand(QStringLiteral("/usr/bin/lp"), {QStringLiteral("-d"), QStringLiteral("Deli720W_40x30"), job});
    EXPECT_EQ(printed.status, 0) << printed.output.toStdString();
    EXPECT_TRUE(printed.output.startsWith(QStringLiteral("request id is Deli720W_40x30-")));
    ASSERT_TRUE(
        tagsmith::test::waitUntil([&] { return QFile::exists(cups.outputFolder() + QStringLiteral("/job-1.pdf")); }));
}
