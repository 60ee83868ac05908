#include "report/records_json.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;

TEST(RecordsJson, TablesDecodeWithTheRecordRulesAndNameTheFailingMember) {
    const auto table = decodeModelTable(
        R"({"MacBookPro15,2":[{"name":"MacBook Pro","year":"2019","inches":"13","source":"","extra":1}]})");
    EXPECT_EQ(table.value().value(QStringLiteral("MacBookPro15,2")),
              (QList<ModelEntry>{{QStringLiteral("MacBook Pro"), QStringLiteral("2019"), QStringLiteral("13"), {}}}));
    EXPECT_EQ(
        decodeModelTable(R"({"Mac14,2":[{"name":"","year":"2022","inches":13,"source":""}]})").error().description,
        QStringLiteral("字段“Mac14,2[0].inches”应为文本，实际为数字 13。"));

    const QByteArray rule = R"({"series":"Pro","year":"2020","inches":"13","chips":["INTEL"],"exterior":"A2251")";
    const auto rules =
        decodeARules("[" + rule + "}," + rule + R"(,"modelIDs":null},)" + rule + R"(,"modelIDs":["X1,1"]}])");
    EXPECT_EQ(rules.value().at(0).modelIDs, std::nullopt);
    EXPECT_EQ(rules.value().at(1).modelIDs, std::nullopt);
    EXPECT_EQ(rules.value().at(2).modelIDs, QStringList{QStringLiteral("X1,1")});
    EXPECT_EQ(decodeARules("[" + rule + R"(,"modelIDs":"X1,1"}])").error().description,
              QStringLiteral("字段“[0].modelIDs”应为文本数组，实际为文本。"));
    EXPECT_EQ(decodeReceiverConfig(R"({"key":"k"})").error().description, QStringLiteral("缺少字段“addressHint”。"));
}
