#include "report/model_identification.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace tagsmith::report;
using tagsmith::test::reportFixture;
using tagsmith::test::runCli;

namespace {

QString errorLine(const tagsmith::test::CliRun& run) {
    return QString::fromUtf8(run.standardError).trimmed();
}

} // namespace

TEST(ReportVerbs, ValidatePrintsEveryValidFixtureEnrichedAndPrettySorted) {
    const auto rules = loadARules(tagsmith::test::sourcePath(QStringLiteral("resources/a-models.json")));
    for (const QString& path : tagsmith::test::reportFixtures(QStringLiteral("valid"))) {
        const auto run = runCli({QStringLiteral("validate"), path});
        EXPECT_EQ(run.exitCode, 0) << path.toStdString() << run.standardError.toStdString();
        const Report expected = validated(readReportFile(path).value(), rules).value();
        EXPECT_EQ(run.standardOutput, encodeReport(expected, JsonLayout::prettySorted) + "\n");
    }
}

TEST(ReportVerbs, ValidateRejectsEachInvalidFixtureWithItsMessage) {
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"报告格式或字段无效。",
         {"schema-version-2", "serial-with-hyphen", "model-imac", "model-with-line-feed", "name-with-line-feed",
          "cpu-1024", "cycles-negative", "activation-lock-maybe"}},
        {"报告字段过长或包含换行。", {"year-with-crlf", "memory-too-long"}},
        {"显卡字段无效。", {"graphics-with-tab"}},
        {"缺少字段“modelSources”。", {"missing-model-sources"}},
        {"字段“cpu”应为整数（64 位），实际为文本。", {"cpu-as-text"}},
        {"数据不是有效的 JSON（第 411 字节附近）。", {"year-with-raw-tab"}},
        {"数据不是有效的 JSON（第 235 字节附近）。", {"market-with-unknown-escape"}},
        {"数据不是有效的 JSON（第 200 字节附近）。", {"truncated"}},
    };
    qsizetype fixtures = 0;
    for (const auto& [message, names] : cases) {
        for (const char* name : names) {
            const auto run = runCli({QStringLiteral("validate"),
                                     reportFixture(QStringLiteral("invalid/%1.macreport").arg(QLatin1String(name)))});
            EXPECT_EQ(run.exitCode, 1) << name;
            EXPECT_EQ(errorLine(run), QString::fromUtf8(message)) << name;
            EXPECT_TRUE(run.standardOutput.isEmpty()) << name;
            ++fixtures;
        }
    }
    EXPECT_EQ(tagsmith::test::reportFixtures(QStringLiteral("invalid")).size(), fixtures) << "every fixture is named";
    QTemporaryDir folder;
    QFile huge(folder.filePath(QStringLiteral("huge.macreport")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(QByteArray(kMaxReportBytes + 1, ' '));
    huge.close();
    EXPECT_EQ(errorLine(runCli({QStringLiteral("validate"), huge.fileName()})), QStringLiteral("报告过大，无法导入。"));
}

TEST(ReportVerbs, SummaryPrintsTheSeventeenLines) {
    const auto run = runCli(
        {QStringLiteral("summary"), reportFixture(QStringLiteral("valid/Q9W3JX6H2K_2026-05-09T01-59-14Z.macreport"))});
    const QStringList lines = QString::fromUtf8(run.standardOutput).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines.at(12), QStringLiteral("A 型号：需人工检查")) << "no rule ships for the M5 Max";
    EXPECT_EQ(lines.at(14), QStringLiteral("激活锁：已开启"));
}
