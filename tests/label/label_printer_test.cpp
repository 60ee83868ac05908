#include "label/label_printer.h"

#include "base/atomic_file.h"
#include "support/cups_server.h"
#include "support/paths.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using tagsmith::label::LabelPrinter;
using tagsmith::label::PrintTools;
using tagsmith::report::Report;
using tagsmith::test::CupsServer;

namespace {

const QString kQueue = QStringLiteral("Deli720W_40x30");

// A report with one year, one size and every value a label needs.
Report printableReport(const QString& serial) {
    Report report = tagsmith::test::fixtureReport(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
    report.serial = serial;
    return report;
}

// Preferences and job files live in the test's own folder.
struct PrintingPlace {
    QTemporaryDir dir;
    QString settingsPath = dir.filePath(QStringLiteral("prefs.ini"));
    QString jobFolder = dir.filePath(QStringLiteral("Tagsmith/PrintJobs"));

    QStringList storedSerials() const {
        return QSettings(settingsPath, QSettings::IniFormat)
            .value(QStringLiteral("automaticallySubmittedSerials"))
            .toStringList();
    }
    QStringList jobFiles() const { return QDir(jobFolder).entryList({QStringLiteral("*.pdf")}, QDir::Files); }
};

} // namespace

TEST(LabelPrinter, LpGetsExactlyThirteenArgumentsWithTheJobFileLast) {
    EXPECT_EQ(LabelPrinter::lpArguments(QStringLiteral("SN1"), QStringLiteral("/j/SN1_X.pdf")),
              (QStringList{"-d", "Deli720W_40x30", "-n", "1", "-t", "MacBook SN1", "-o", "PageSize=Label40x30", "-o",
                           "Resolution=203dpi", "-o", "print-scaling=none", "/j/SN1_X.pdf"}));
}

TEST(LabelPrinter, ReportsThatCannotBePrintedAutomaticallyRecordNothing) {
    PrintingPlace place;
    QSettings settings(place.settingsPath, QSettings::IniFormat);
    LabelPrinter printer(settings, place.jobFolder,
                         PrintTools{QStringLiteral("/nonexistent/lp"), QStringLiteral("/bin/false")});
    EXPECT_TRUE(printer.autoPrint()) << "on when never set";

    Report twoYears = printableReport(QStringLiteral("SN2Y"));
    twoYears.years = {QStringLiteral("2021"), QStringLiteral("2022")};
    Report noBattery = printableReport(QStringLiteral("SNNB"));
    noBattery.batteryHealth.reset();
    for (const Report& report : {twoYears, noBattery})
        EXPECT_EQ(printer.submitAutomatically(report),
                  QStringLiteral("报告已收到，但关键配置缺失或年份/尺寸不唯一，自动打印暂停。请检查报告后手动打印。"));
    EXPECT_EQ(printer.submitAutomatically(printableReport(QStringLiteral("SNQ"))),
              QStringLiteral("未找到得力 Deli720W_40x30 队列，自动打印未执行。"));
    EXPECT_TRUE(place.storedSerials().isEmpty());
    EXPECT_TRUE(place.jobFiles().isEmpty());

    printer.setAutoPrint(false);
    EXPECT_EQ(printer.submitAutomatically(printableReport(QStringLiteral("SNOFF"))), std::nullopt);
    EXPECT_FALSE(LabelPrinter(settings, place.jobFolder).autoPrint()) << "the switch is remembered";
}

TEST(LabelPrinter, FailedSubmissionKeepsTheSerialSoItIsNeverRetried) {
    PrintingPlace place;
    QSettings settings(place.settingsPath, QSettings::IniFormat);
    // A stand-in for lp that fails, as when the scheduler refuses a job.
    const QString lp =
        tagsmith::test::writeExecutable(place.dir.filePath(QStringLiteral("lp-failing")),
                                        "#!/bin/sh\necho 'lp: Error - The printer or class does not exist.'\nexit 1\n");
    LabelPrinter printer(settings, place.jobFolder, PrintTools{lp, QStringLiteral("/bin/true")});
    const auto status = printer.submitAutomatically(printableReport(QStringLiteral("SNFAIL")));
    EXPECT_EQ(status,
              QStringLiteral("打印结果未确认，为防止重复出纸，已停止自动重试。请检查队列，需要补打时点击预览并打印。\n"
                             "lp: Error - The printer or class does not exist."));
    EXPECT_EQ(place.storedSerials(), QStringList{QStringLiteral("SNFAIL")});
    EXPECT_TRUE(printer.submitAutomatically(printableReport(QStringLiteral("SNFAIL")))
                    ->startsWith(QStringLiteral("已收到 SNFAIL。")));
}

TEST(LabelPrinter, SerialThatCouldNotBeStoredIsPrintedOnceTheSettingsAreWritableAgain) {
    PrintingPlace place;
    // A file where the settings' folder should be: no write can succeed, even as root.
    const QString folder = place.dir.filePath(QStringLiteral("prefs"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(folder, ""));
    QSettings settings(folder + QStringLiteral("/prefs.ini"), QSettings::IniFormat);
    LabelPrinter printer(settings, place.jobFolder,
                         PrintTools{QStringLiteral("/bin/true"), QStringLiteral("/bin/true")});
    EXPECT_EQ(printer.submitAutomatically(printableReport(QStringLiteral("SNX"))),
              QStringLiteral("无法保存已打印记录，为防止重复出纸，自动打印未执行。请检查磁盘后手动打印。"));
    EXPECT_FALSE(printer.printed().contains(QStringLiteral("SNX")));

    ASSERT_TRUE(QFile::remove(folder) && QDir().mkdir(folder));
    EXPECT_TRUE(printer.submitAutomatically(printableReport(QStringLiteral("SNX")))
                    ->startsWith(QStringLiteral("已向得力打印队列提交 SNX 的标签。")));
    EXPECT_TRUE(tagsmith::base::readFileUpTo(settings.fileName(), 4096)->contains("automaticallySubmittedSerials=SNX"));
    EXPECT_EQ(place.jobFiles().size(), 1);
}

TEST(LabelPrinter, AutomaticPrintReachesTheRealQueueOncePerSerialAcrossRestarts) {
    CupsServer cups;
    if (!cups.running())
        GTEST_SKIP() << cups.whyNotRunning().toStdString();
    ASSERT_TRUE(cups.addQueue(kQueue));
    PrintingPlace place;
    {
        QSettings settings(place.settingsPath, QSettings::IniFormat);
        LabelPrinter printer(settings, place.jobFolder);
        const auto status = printer.submitAutomatically(printableReport(QStringLiteral("C02XK0ABJGH5")));
        ASSERT_TRUE(status);
        EXPECT_TRUE(status->startsWith(QStringLiteral("已向得力打印队列提交 C02XK0ABJGH5 的标签。")))
            << status->toStdString();
        EXPECT_TRUE(status->contains(QStringLiteral("request id is Deli720W_40x30-1")));
    }
    const QString delivered = cups.outputFolder() + QStringLiteral("/job-1.pdf");
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { return QFile::exists(delivered); }));
    ASSERT_EQ(place.jobFiles().size(), 1);
    QFile job(place.jobFolder + u'/' + place.jobFiles().front());
    QFile arrived(delivered);
    ASSERT_TRUE(job.open(QIODevice::ReadOnly) && arrived.open(QIODevice::ReadOnly));
    EXPECT_EQ(arrived.readAll(), job.readAll()) << "the queue received the job file unchanged";
    EXPECT_TRUE(place.jobFiles().front().startsWith(QStringLiteral("C02XK0ABJGH5_")));

    QSettings reopened(place.settingsPath, QSettings::IniFormat);
    LabelPrinter restarted(reopened, place.jobFolder);
    EXPECT_TRUE(restarted.submitAutomatically(printableReport(QStringLiteral("C02XK0ABJGH5")))
                    ->startsWith(QStringLiteral("已收到 ")));
    EXPECT_EQ(place.jobFiles().size(), 1);
    EXPECT_FALSE(QFile::exists(cups.outputFolder() + QStringLiteral("/job-2.pdf")));
}
