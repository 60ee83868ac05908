#include "base/read_file.h"
#include "ledger/ledger.h"
#include "support/cli.h"
#include "support/generated_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagsmith;
using test::runCli;

namespace {

// The rows of a CSV file as Python's csv module reads them.
QJsonArray pythonCsvRows(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f))))"),
                  path});
    EXPECT_TRUE(python.waitForFinished(30000));
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

QStringList lines(const test::CliRun& run) {
    return QString::fromUtf8(run.standardOutput).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(HistoryVerbs, RebuildListFindAndExportAgreeWithTheFolder) {
    QTemporaryDir data;
    const QString reports = ledger::Ledger::reportsFolderIn(data.path());
    test::writeGeneratedReports(reports, 7);
    ASSERT_TRUE(base::writeFileAtomically(QDir(reports).filePath(QStringLiteral("bad.macreport")), "[]"));
    const auto history = [&](const QStringList& words) {
        return runCli(QStringList{"history", "--data", data.path()} + words);
    };

    const auto rebuilt = history({"rebuild"});
    EXPECT_EQ(rebuilt.exitCode, 0) << rebuilt.standardError.toStdString();
    EXPECT_EQ(QString::fromUtf8(rebuilt.standardOutput), QStringLiteral("已重建：7 份报告，跳过 1 份无效报告。\n"));
    EXPECT_EQ(lines(history({"list"})).size(), 7);
    EXPECT_EQ(lines(history({"list", "--limit", "3"})).size(), 3);
    const QStringList found = lines(history({"find", "n000004"}));
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found.front().contains(QStringLiteral("\tGEN000004\t")));

    const QString csv = data.filePath(QStringLiteral("intake.csv"));
    EXPECT_EQ(history({"export", csv}).exitCode, 0);
    EXPECT_TRUE(base::readFileUpTo(csv, 3).value() == "\xEF\xBB\xBF");
    const QJsonArray rows = pythonCsvRows(csv);
    const auto records = ledger::Ledger::open(ledger::Ledger::pathIn(data.path()))->select({}).value();
    ASSERT_EQ(rows.size(), records.size() + 1);
    const QJsonArray header = rows.at(0).toArray();
    ASSERT_EQ(header.size(), 20);
    for (qsizetype row = 0; row < records.size(); ++row) {
        const QJsonArray fields = rows.at(row + 1).toArray();
        const auto field = [&](const char* title) {
            return fields.at(header.toVariantList().indexOf(QString::fromUtf8(title))).toString();
        };
        EXPECT_EQ(field("序列号"), records.at(row).serial);
        EXPECT_EQ(field("机型名称"), records.at(row).name) << "commas and quotes survive";
        EXPECT_EQ(field("SHA-256"), records.at(row).sha256);
        EXPECT_EQ(field("接收时间"), records.at(row).receivedAt);
    }
}
