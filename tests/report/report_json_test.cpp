#include "report/report_json.h"

#include "report/json_field_reader.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;
using tagsmith::Result;

namespace {

// The eight always-present keys around one more member.
QByteArray withMember(const QByteArray& member) {
    return R"({"schemaVersion":1,"collectedAt":"t","serial":"s","model":"m","name":"n","years":[],"inches":[],)" +
           member + R"(,"modelSources":[]})";
}

} // namespace

// The fixtures hold each layout as the collector, the workstation and the
// relay write it: pretty with empty lists, compact sorted, and field order.
TEST(ReportJson, FixturesAreExactlyTheEncodingOfWhatTheyDecodeTo) {
    for (const QString& path : tagsmith::test::reportFixtures(QStringLiteral("valid"))) {
        const QByteArray bytes = tagsmith::base::readFileUpTo(path, 1 << 20).value();
        const auto layout = bytes.startsWith("{\n")                ? JsonLayout::prettySorted
                            : bytes.startsWith("{\"schemaVersion") ? JsonLayout::compactAnyOrder
                                                                   : JsonLayout::compactSorted;
        EXPECT_EQ(encodeReport(decodeReport(bytes).value(), layout), bytes) << path.toStdString();
    }
}

TEST(ReportJson, AbsentOptionalsAreLeftOutAndTextsEscapeOnlyWhatJsonNeeds) {
    Report report;
    report.name = QStringLiteral("a\"b\\c/d\b\f\n\r\t") + QChar(1) + QChar(0x1f) + QStringLiteral("\x7f 约\u2028😀");
    EXPECT_EQ(encodeReport(report, JsonLayout::compactSorted),
              "{\"collectedAt\":\"\",\"inches\":[],\"model\":\"\",\"modelSources\":[],\"name\":\"a\\\"b\\\\c\\/"
              "d\\b\\f\\n\\r\\t\\u0001\\u001f\x7f 约\u2028😀\",\"schemaVersion\":1,\"serial\":\"\",\"years\":[]}");
    EXPECT_EQ(encodeReport(report, JsonLayout::compactAnyOrder).left(39), R"({"schemaVersion":1,"collectedAt":"","se)");
    for (const auto layout : {JsonLayout::prettySorted, JsonLayout::compactSorted, JsonLayout::compactAnyOrder})
        EXPECT_EQ(decodeReport(encodeReport(report, layout)).value(), report);
}

TEST(ReportJson, DecodingFollowsTheTypeRulesAndNamesKeyAndType) {
    const std::pair<QByteArray, QString> cases[] = {
        {withMember(R"("cpu":null)"), {}},
        {withMember(R"("cpu":-9223372036854775808)"), {}},
        {withMember(R"("unknown":{"x":[1]})"), {}},
        {withMember(R"("cpu":"8")"), QStringLiteral("字段“cpu”应为整数（64 位），实际为文本。")},
        {withMember(R"("cycles":8.5)"), QStringLiteral("字段“cycles”应为整数（64 位），实际为数字 8.5。")},
        {withMember(R"("gpu":9223372036854775808)"),
         QStringLiteral("字段“gpu”应为整数（64 位），实际为数字 9.22337e+18。")},
        {withMember(R"("chip":true)"), QStringLiteral("字段“chip”应为文本，实际为布尔值。")},
        {withMember(R"("market":"\ud800")"), QStringLiteral("数据不是有效的 JSON（第 112 字节附近）。")},
        {withMember("\"x\":0").replace(R"("serial":"s")", R"("serial":null)"),
         QStringLiteral("字段“serial”不能为空值（null）。")},
        {withMember("\"x\":0").replace(R"("years":[])", R"("years":["2020",2021])"),
         QStringLiteral("字段“years[1]”应为文本，实际为数字 2021。")},
        {withMember(R"("serial":"t")"), QStringLiteral("JSON 对象含有重复的成员名。")},
        {withMember("\"x\":0").replace(",\"modelSources\":[]", ""), QStringLiteral("缺少字段“modelSources”。")},
        {"[]", QStringLiteral("JSON 顶层应为对象。")},
    };
    for (const auto& [json, error] : cases) {
        const Result<Report> decoded = decodeReport(json);
        EXPECT_EQ(decoded ? QString() : decoded.error().description, error) << json.toStdString();
    }
    EXPECT_EQ(decodeReport(withMember(R"("cpu":null)"))->cpu, std::nullopt);
    EXPECT_EQ(decodeReport(withMember(R"("cpu":8.0)"))->cpu, 8);
    EXPECT_EQ(decodeReport("{").error().domain, kJsonDecodingDomain);
}
