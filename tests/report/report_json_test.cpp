#include "report/report_json.h"

#include "base/read_file.h"
#include "report/json_field_reader.h"
#include "report/sample_reports.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;
using tagsmith::Result;
using tagsmith::test::fullReport;

namespace {

Report minimalReport() {
    Report report;
    report.collectedAt = QStringLiteral("2025-03-01T09:15:00Z");
    report.serial = QStringLiteral("K7Q2XW9FJ4");
    report.model = QStringLiteral("Mac15,7");
    report.name = QStringLiteral("MacBook Pro");
    return report;
}

// Eight always-present keys around one optional text, for decoding cases.
QByteArray withMember(const QByteArray& member) {
    return R"({"schemaVersion":1,"collectedAt":"t","serial":"s","model":"m","name":"n","years":[],"inches":[],)" +
           member + R"(,"modelSources":[]})";
}

} // namespace

TEST(ReportJson, CollectorFormIsPrettySortedWithSpacedColonsAndEscapedSolidus) {
    const QByteArray expected = R"({
  "batteryCondition" : "Good",
  "batteryHealth" : "约87%",
  "chip" : "Intel Core i5-1038NG7 CPU @ 2.00GHz",
  "collectedAt" : "2025-03-01T09:15:00Z",
  "cpu" : 4,
  "cycles" : 0,
  "disk" : "512G",
  "exterior" : "A2251",
  "gpu" : 1023,
  "graphics" : "Intel Iris Plus Graphics \/ AMD Radeon Pro 5300M",
  "inches" : [
    "13",
    "13.3"
  ],
  "market" : "国行",
  "memory" : "16 GB",
  "model" : "MacBookPro16,2",
  "modelSources" : [

  ],
  "name" : "MacBook Pro",
  "schemaVersion" : 1,
  "serial" : "C02CQ4XYML7H",
  "years" : [
    "2020"
  ]
})";
    EXPECT_EQ(encodeReport(fullReport(), JsonLayout::prettySorted), expected);
}

TEST(ReportJson, AbsentOptionalsAreLeftOutAndEmptyListsWrittenInEveryLayout) {
    const Report report = minimalReport();
    EXPECT_EQ(encodeReport(report, JsonLayout::compactSorted),
              R"({"collectedAt":"2025-03-01T09:15:00Z","inches":[],"model":"Mac15,7","modelSources":[],)"
              R"("name":"MacBook Pro","schemaVersion":1,"serial":"K7Q2XW9FJ4","years":[]})");
    EXPECT_EQ(encodeReport(report, JsonLayout::compactAnyOrder),
              R"({"schemaVersion":1,"collectedAt":"2025-03-01T09:15:00Z","serial":"K7Q2XW9FJ4","model":"Mac15,7",)"
              R"("name":"MacBook Pro","years":[],"inches":[],"modelSources":[]})");
    for (const auto layout : {JsonLayout::prettySorted, JsonLayout::compactSorted, JsonLayout::compactAnyOrder})
        EXPECT_EQ(decodeReport(encodeReport(report, layout)).value(), report);
}

TEST(ReportJson, TextsEscapeQuotesBackslashesSolidiAndControlsButKeepOtherCharactersRaw) {
    const struct {
        QString text;
        QByteArray json;
    } cases[] = {
        {QStringLiteral("a\"b\\c/d"), R"("a\"b\\c\/d")"},
        {QStringLiteral("\b\f\n\r\t"), R"("\b\f\n\r\t")"},
        {QString(QChar(1)) + QChar(0x1f) + QChar(0x7f), "\"\\u0001\\u001f\x7f\""},
        {QStringLiteral("约 \u2028 😀"), "\"约 \u2028 😀\""},
    };
    for (const auto& c : cases) {
        Report report = minimalReport();
        report.market = c.text;
        const QByteArray encoded = encodeReport(report, JsonLayout::compactSorted);
        EXPECT_TRUE(encoded.contains("\"market\":" + c.json + ",")) << encoded.toStdString();
        EXPECT_EQ(decodeReport(encoded).value().market, c.text);
    }
}

TEST(ReportJson, FixturesAreExactlyTheEncodingOfWhatTheyDecodeTo) {
    for (const QString& path : tagsmith::test::reportFixtures(QStringLiteral("valid"))) {
        const QByteArray bytes = tagsmith::base::readFileUpTo(path, 1 << 20).value();
        const Result<Report> decoded = decodeReport(bytes);
        ASSERT_TRUE(decoded) << path.toStdString() << decoded.error().description.toStdString();
        const auto layout = bytes.startsWith("{\n")                ? JsonLayout::prettySorted
                            : bytes.startsWith("{\"schemaVersion") ? JsonLayout::compactAnyOrder
                                                                   : JsonLayout::compactSorted;
        EXPECT_EQ(encodeReport(*decoded, layout), bytes) << path.toStdString();
    }
}

TEST(ReportJson, DecodingFollowsTheTypeRulesAndNamesKeyAndType) {
    const struct {
        QByteArray json;
        QString error; // empty: decodes
    } cases[] = {
        {withMember(R"("cpu":null)"), {}},
        {withMember(R"("cpu":8.0)"), {}},
        {withMember(R"("cpu":-9223372036854775808)"), {}},
        {withMember(R"("unknown":{"x":[1]})"), {}},
        {withMember(R"("cpu":"8")"), QStringLiteral("字段“cpu”应为整数（64 位），实际为文本。")},
        {withMember(R"("cycles":8.5)"), QStringLiteral("字段“cycles”应为整数（64 位），实际为数字 8.5。")},
        {withMember(R"("gpu":9223372036854775808)"),
         QStringLiteral("字段“gpu”应为整数（64 位），实际为数字 9.22337e+18。")},
        {withMember(R"("chip":true)"), QStringLiteral("字段“chip”应为文本，实际为布尔值。")},
        {withMember(R"("market":"\ud800")"), QStringLiteral("字段“market”含有无效的 Unicode 字符。")},
        {withMember(R"("serial":null)"), QStringLiteral("字段“serial”不能为空值（null）。")},
        {QByteArray(withMember(R"("x":0)")).replace(R"("years":[])", R"("years":["2020",2021])"),
         QStringLiteral("字段“years[1]”应为文本，实际为数字 2021。")},
        {QByteArray(withMember(R"("x":0)")).replace(R"(,"modelSources":[])", ""),
         QStringLiteral("缺少字段“modelSources”。")},
        {"[]", QStringLiteral("JSON 顶层应为对象。")},
        {R"({"schemaVersion":1,)", QStringLiteral("数据不是有效的 JSON（第 19 字节附近）。")},
    };
    for (const auto& c : cases) {
        const Result<Report> decoded = decodeReport(c.json);
        EXPECT_EQ(decoded ? QString() : decoded.error().description, c.error) << c.json.toStdString();
        if (!decoded)
            EXPECT_EQ(decoded.error().domain, kJsonDecodingDomain);
    }
    EXPECT_EQ(decodeReport(withMember(R"("cpu":null)"))->cpu, std::nullopt);
    EXPECT_EQ(decodeReport(withMember(R"("cpu":8.0)"))->cpu, 8);
}
