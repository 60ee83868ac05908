#include "report/records_json.h"

#include <gtest/gtest.h>

using namespace tagsmith::report;

TEST(RecordsJson, ModelTableMapsIdentifiersToTheirRows) {
    const auto table = decodeModelTable(
        R"({"MacBookPro15,2":[{"name":"MacBook Pro","year":"2018","inches":"13","source":"a","extra":1},)"
        R"({"name":"MacBook Pro","year":"2019","inches":"13","source":""}],"Mac14,2":[]})");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->value(QStringLiteral("MacBookPro15,2")).at(1),
              (ModelEntry{QStringLiteral("MacBook Pro"), QStringLiteral("2019"), QStringLiteral("13"), QString()}));
    EXPECT_TRUE(table->contains(QStringLiteral("Mac14,2")));
    EXPECT_EQ(decodeModelTable(R"({"Mac14,2":[{"name":"MacBook Air","year":"2022","inches":13,"source":"a"}]})")
                  .error()
                  .description,
              QStringLiteral("字段“Mac14,2[0].inches”应为文本，实际为数字 13。"));
    EXPECT_FALSE(decodeModelTable(R"({"Mac14,2":{}})"));
}

TEST(RecordsJson, RuleIdentifiersMayBeMissingOrNullButNotMistyped) {
    const QByteArray rule = R"({"series":"Pro","year":"2020","inches":"13","chips":["INTEL"],"exterior":"A2251")";
    const auto rules =
        decodeARules("[" + rule + "}," + rule + R"(,"modelIDs":null},)" + rule + R"(,"modelIDs":["MacBookPro16,2"]}])");
    ASSERT_TRUE(rules);
    ASSERT_EQ(rules->size(), 3);
    EXPECT_EQ(rules->at(0).modelIDs, std::nullopt);
    EXPECT_EQ(rules->at(1).modelIDs, std::nullopt);
    EXPECT_EQ(rules->at(2).modelIDs, QStringList{QStringLiteral("MacBookPro16,2")});
    EXPECT_EQ(decodeARules("[" + rule + R"(,"modelIDs":"MacBookPro16,2"}])").error().description,
              QStringLiteral("字段“[0].modelIDs”应为文本数组，实际为文本。"));
    EXPECT_FALSE(decodeARules("{}"));
}

TEST(RecordsJson, ReceiverKeyIsUsableOnlyAsPaddedBase64OfThirtyTwoBytes) {
    const QByteArray key32(32, '\x5a');
    const struct {
        QString key;
        bool usable;
    } cases[] = {
        {QString::fromLatin1(key32.toBase64()), true},
        {QString::fromLatin1(key32.toBase64()).chopped(1), false},
        {QString::fromLatin1(QByteArray(31, 'k').toBase64()), false},
        {QString::fromLatin1(QByteArray(33, 'k').toBase64()), false},
        {QString::fromLatin1(key32.toBase64()).replace(0, 1, u'*'), false},
        {QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ((ReceiverConfig{c.key, {}}.keyBytes().has_value()), c.usable) << c.key.toStdString();
    EXPECT_EQ((ReceiverConfig{QString::fromLatin1(key32.toBase64()), {}}.keyBytes()), key32);

    EXPECT_EQ(decodeReceiverConfig(R"({"key":"k","addressHint":"fe80::1"})").value(),
              (ReceiverConfig{QStringLiteral("k"), QStringLiteral("fe80::1")}));
    EXPECT_EQ(decodeReceiverConfig(R"({"key":"k"})").error().description, QStringLiteral("缺少字段“addressHint”。"));
}
