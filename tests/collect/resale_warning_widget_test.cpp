#include "collect/resale_warning_widget.h"

#include "app/controller.h"
#include "app/workstation_panel.h"
#include "base/atomic_file.h"
#include "report/report_json.h"
#include "report/resale_facts.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>

using tagsmith::collect::ResaleWarningWidget;
using tagsmith::report::Report;
namespace resale = tagsmith::report::resale;

namespace {

Report cleanReport() {
    Report report = tagsmith::test::fixtureReport(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
    report.activationLock = resale::kDisabled;
    report.remoteManagement = resale::kNone;
    report.storageHealth = resale::kVerified;
    return report;
}

} // namespace

TEST(ResaleWarningWidget, ShowsARedLineForEachBadFactAndNothingForACleanMac) {
    ResaleWarningWidget warning;
    const struct {
        std::optional<QString> Report::*fact;
        QString word;
        QString expected;
    } cases[] = {
        {&Report::activationLock, resale::kEnabled, QStringLiteral("激活锁已开启")},
        {&Report::remoteManagement, resale::kDep, QStringLiteral("远程管理")},
        {&Report::storageHealth, resale::kFailing, QStringLiteral("硬盘")},
    };
    for (const auto& [fact, word, expected] : cases) {
        Report report = cleanReport();
        report.*fact = word;
        warning.showFor(&report);
        EXPECT_FALSE(warning.isHidden()) << word.toStdString();
        EXPECT_TRUE(warning.text().contains(expected)) << warning.text().toStdString();
        EXPECT_EQ(warning.textFormat(), Qt::PlainText);
    }
    const Report clean = cleanReport();
    warning.showFor(&clean);
    EXPECT_TRUE(warning.isHidden());
    EXPECT_TRUE(warning.text().isEmpty());
}

TEST(ResaleWarningWidget, TheWorkstationShowsALockedReportAndRepeatsTheWarningInItsStatus) {
    Report locked = cleanReport();
    locked.activationLock = resale::kEnabled;
    const QByteArray bytes = tagsmith::report::encodeReport(locked, tagsmith::report::JsonLayout::prettySorted);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("locked.macreport"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(file, bytes));

    tagsmith::app::Controller importing(false, {QStringLiteral("VOREvo"), QStringLiteral("--import"), file});
    const auto* shown = importing.workstation()->findChild<ResaleWarningWidget*>();
    ASSERT_TRUE(shown);
    EXPECT_FALSE(shown->isHidden());
    QDir().mkpath(tagsmith::test::buildPath(QStringLiteral("test-artifacts")));
    importing.window()->grab().save(tagsmith::test::buildPath(QStringLiteral("test-artifacts/workstation-locked.png")));

    QSettings settings(dir.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat);
    tagsmith::app::WorkstationPanel panel(settings, {dir.filePath(QStringLiteral("Reports")),
                                                     dir.filePath(QStringLiteral("Jobs")),
                                                     {QStringLiteral("/bin/true"), QStringLiteral("/bin/true")}});
    ASSERT_TRUE(panel.acceptReport(locked, bytes));
    EXPECT_TRUE(panel.findChildren<QLabel*>().at(1)->text().endsWith(shown->text()));
}
