#include "app/workstation_panel.h"

#include "app/action_line.h"
#include "base/atomic_file.h"
#include "ledger/ledger.h"
#include "report/report_json.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTime>

using tagsmith::app::WorkstationPanel;
using tagsmith::app::WorkstationPlaces;
using tagsmith::report::Report;
using namespace tagsmith;

namespace {

const QString kAirFixture = QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");

// A workstation whose files, preferences and printing tools live in a
// temporary folder; the fake lp records each job it is given.
struct Workstation {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat};
    QString reports = dir.filePath(QStringLiteral("Reports"));
    QString jobLog = dir.filePath(QStringLiteral("lp.log"));
    std::unique_ptr<WorkstationPanel> panel;

    explicit Workstation(bool ledgerBlocked = false) {
        if (ledgerBlocked) // a folder where the ledger file should be: no write can succeed
            QDir().mkpath(dir.filePath(QStringLiteral("ledger.sqlite")));
        const QString lp = test::writeExecutable(
            dir.filePath(QStringLiteral("lp")),
            QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\necho 'request id is Deli720W_40x30-1 (1 file(s))'\n")
                .arg(jobLog)
                .toUtf8());
        panel = std::make_unique<WorkstationPanel>(
            settings,
            WorkstationPlaces{reports, dir.filePath(QStringLiteral("PrintJobs")), {lp, QStringLiteral("/bin/true")}});
    }

    QString status() const { return panel->findChildren<QLabel*>().at(1)->text(); }
    QPushButton* printButton() const {
        for (QPushButton* button : panel->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("预览并打印"))
                return button;
        return nullptr;
    }
    QStringList savedFiles() const { return QDir(reports).entryList(QDir::Files); }
    int printJobs() const {
        QFile log(jobLog);
        return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count('\n')) : 0;
    }
    // Lets the automatic print that the handler queued run.
    void settle() const { QCoreApplication::processEvents(); }
    QList<ledger::IntakeRecord> ledgerRows() const {
        bool written = false;
        panel->ledger().afterWrites([&written] { written = true; });
        EXPECT_TRUE(test::waitUntil([&written] { return written; }));
        return ledger::Ledger::openForReading(panel->ledger().path())->select({}).value();
    }
};

QString writeSized(const QTemporaryDir& dir, const QByteArray& report, qsizetype size) {
    QByteArray padded = report;
    padded.append(QByteArray(size - report.size(), ' ')); // JSON ignores trailing whitespace
    const QString path = dir.filePath(QStringLiteral("sized-%1.macreport").arg(size));
    EXPECT_TRUE(base::writeFileAtomically(path, padded));
    return path;
}

} // namespace

TEST(WorkstationPanel, RepeatedDeliveriesAreAcknowledgedAndNewBytesSavedButEachSerialPrintsOnce) {
    Workstation station;
    const QByteArray bytes = test::reportFixtureBytes(kAirFixture);
    Report report = test::fixtureReport(kAirFixture);
    EXPECT_TRUE(station.panel->acceptReport(report, bytes));
    EXPECT_EQ(station.status(),
              QStringLiteral("已通过数据线接收 FVFDL3Q2Q6L4，并与连接设备的序列号核对。请预览并打印。"));
    station.settle();
    EXPECT_EQ(station.savedFiles(), QStringList{QStringLiteral("FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport")});
    const auto rows = station.ledgerRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.front().fileName, station.savedFiles().front());
    EXPECT_EQ(rows.front().source, QStringLiteral("cable v1"));
    EXPECT_TRUE(rows.front().labelSubmittedAt.has_value());

    QFile::remove(station.reports + u'/' + station.savedFiles().front());
    EXPECT_TRUE(station.panel->acceptReport(report, bytes));
    station.settle();
    EXPECT_TRUE(station.savedFiles().isEmpty()) << "a repeated delivery writes nothing";

    report.collectedAt = QStringLiteral("2025-02-12T08:00:00Z");
    ASSERT_TRUE(station.panel->acceptReport(report, report::encodeReport(report, report::JsonLayout::compactSorted)));
    station.settle();
    EXPECT_EQ(station.savedFiles().size(), 1);
    EXPECT_EQ(station.panel->report()->collectedAt, QStringLiteral("2025-02-12T08:00:00Z"));
    EXPECT_EQ(station.printJobs(), 1);
}

TEST(WorkstationPanel, SaveFailureIsNotAcknowledged) {
    Workstation station;
    ASSERT_TRUE(base::writeFileAtomically(station.reports, "a file where the folder should be"));
    EXPECT_FALSE(station.panel->acceptReport(test::fixtureReport(kAirFixture), test::reportFixtureBytes(kAirFixture)));
    EXPECT_TRUE(station.status().startsWith(QStringLiteral("接收到报告，但保存失败：")));
    EXPECT_FALSE(station.panel->report());
    station.settle();
    EXPECT_EQ(station.printJobs(), 0);
}

TEST(WorkstationPanel, LedgerFailureLeavesTheReportSavedAndAcknowledgedAndIsToldOnce) {
    Workstation station(true);
    const auto told = [&station] { return station.status() == ledger::WorkstationLedger::kFailureText; };
    ASSERT_TRUE(test::waitUntil(told)) << "the ledger cannot even be opened";
    EXPECT_TRUE(station.panel->acceptReport(test::fixtureReport(kAirFixture), test::reportFixtureBytes(kAirFixture)));
    EXPECT_EQ(station.savedFiles().size(), 1);
    bool written = false;
    station.panel->ledger().afterWrites([&written] { written = true; });
    ASSERT_TRUE(test::waitUntil([&written] { return written; }));
    station.settle();
    EXPECT_FALSE(told()) << "told once, not at every report";
    EXPECT_TRUE(QFile::exists(ledger::Ledger::rebuildMarker(station.panel->ledger().path())));
}

TEST(WorkstationPanel, ImportsUpToTheSizeLimitKeepsTheResultBesideTheReceiverAndNeverPrintsOrCopies) {
    Workstation station;
    const QByteArray bytes = test::reportFixtureBytes(kAirFixture);
    const QString imported = QStringLiteral("已导入 sized-1999999.macreport。请核对整机序列号，随后预览打印。");
    station.panel->load(writeSized(station.dir, bytes, 1999999));
    EXPECT_EQ(station.status(), imported);
    ASSERT_TRUE(station.panel->report());
    EXPECT_TRUE(station.printButton()->isEnabled());
    // The receiver rewrites the status line every few seconds; the operator's
    // last result stays readable beside it, with its time.
    station.panel->showStatus(QStringLiteral("等待通过数据线连接被测 MacBook…"));
    const QString line = station.panel->findChild<tagsmith::app::ActionLine*>()->text();
    EXPECT_TRUE(QTime::fromString(line.left(8), QStringLiteral("HH:mm:ss")).isValid()) << line.toStdString();
    EXPECT_EQ(line.mid(10), imported);
    EXPECT_EQ(station.status(), QStringLiteral("等待通过数据线连接被测 MacBook…"));

    station.panel->load(writeSized(station.dir, bytes, 2000000));
    EXPECT_EQ(station.status(), QStringLiteral("导入失败：报告文件过大。"));
    EXPECT_FALSE(station.panel->report()) << "the previous report is cleared first";
    EXPECT_FALSE(station.printButton()->isEnabled());
    station.panel->load(station.dir.filePath(QStringLiteral("missing.macreport")));
    EXPECT_TRUE(station.status().startsWith(QStringLiteral("导入失败：")));
    station.settle();
    EXPECT_TRUE(station.savedFiles().isEmpty());
    EXPECT_EQ(station.printJobs(), 0);
}

TEST(WorkstationPanel, LabelSupplementCountsCharactersAndLineBreaksAndSaysWhyItRefused) {
    Workstation station;
    station.panel->load(test::reportFixture(kAirFixture));
    const QString thumbs = QString(20, u'x').replace(QStringLiteral("x"), QStringLiteral("👍🏽"));
    const struct {
        QString disk;
        QString exterior;
        QString outcome; // the action line after its time
    } cases[] = {
        {QString(33, u'1'), QStringLiteral("A2337"),
         QStringLiteral("标签补充未应用，两项均未改动：硬盘容量超过 20 个字符。")},
        {QStringLiteral("512\nG"), QString(21, u'A'),
         QStringLiteral("标签补充未应用，两项均未改动：硬盘容量含有换行；A 型号超过 20 个字符。")},
        {QStringLiteral("512G"), QStringLiteral("A\u0085B"),
         QStringLiteral("标签补充未应用，两项均未改动：A 型号含有换行。")},
        {QStringLiteral("  1T \n"), thumbs, QStringLiteral("标签补充已应用，下次打印使用新内容。")},
    };
    for (const auto& c : cases) {
        const bool applied = station.panel->applyLabelSupplement(c.disk, c.exterior);
        EXPECT_EQ(applied, c.outcome.startsWith(QStringLiteral("标签补充已应用"))) << c.disk.toStdString();
        EXPECT_EQ(station.panel->findChild<tagsmith::app::ActionLine*>()->text().mid(10), c.outcome);
    }
    EXPECT_EQ(station.panel->report()->disk, QStringLiteral("1T"));
    EXPECT_EQ(station.panel->report()->exterior, thumbs) << "20 characters of two code points each";
    EXPECT_TRUE(station.panel->applyLabelSupplement(QString(), QStringLiteral("A2337")));
    EXPECT_EQ(station.panel->report()->disk, std::nullopt) << "an empty text makes the field absent";
}
