#include "base/atomic_file.h"
#include "report/model_identification.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
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
    const QString huge = folder.filePath(QStringLiteral("huge.macreport"));
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(huge, QByteArray(kMaxReportBytes + 1, ' ')));
    EXPECT_EQ(errorLine(runCli({QStringLiteral("validate"), huge})), QStringLiteral("报告过大，无法导入。"));
}

// Every line, so that no two values can trade places unnoticed.
TEST(ReportVerbs, SummaryPrintsTheSeventeenLines) {
    const auto run = runCli(
        {QStringLiteral("summary"), reportFixture(QStringLiteral("valid/Q9W3JX6H2K_2026-05-09T01-59-14Z.macreport"))});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(run.standardOutput),
              QStringLiteral("整机序列号：Q9W3JX6H2K\n机型标识：Mac17,6\n机型名称：MacBook Pro\n年份：2026\n"
                             "屏幕尺寸：16 英寸\n芯片：Apple M5 Max\nCPU 核心：18\nGPU 核心：40\n内存：48 GB\n"
                             "电池健康度：100%\n循环次数：3\n硬盘容量：1T\n"
                             "A 型号：需人工检查\n" // no rule ships for the M5 Max
                             "电池状态：正常\n激活锁：已开启\n远程管理：未读取\n硬盘健康：未读取\n"));
}

// Scripts read the report's own names and values; an unread fact is null.
TEST(ReportVerbs, SummaryJsonIsOneObjectOfRawValues) {
    const auto run = runCli({QStringLiteral("summary"), QStringLiteral("--json"),
                             reportFixture(QStringLiteral("valid/Q9W3JX6H2K_2026-05-09T01-59-14Z.macreport"))});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject summary = QJsonDocument::fromJson(run.standardOutput).object();
    EXPECT_EQ(summary.value(QStringLiteral("serial")), QJsonValue(QStringLiteral("Q9W3JX6H2K")));
    EXPECT_EQ(summary.value(QStringLiteral("gpu")), QJsonValue(40));
    EXPECT_EQ(summary.value(QStringLiteral("activationLock")), QJsonValue(QStringLiteral("enabled")));
    EXPECT_EQ(summary.value(QStringLiteral("storageHealth")), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(summary.size(), 18);
}
