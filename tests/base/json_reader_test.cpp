#include "base/json_reader.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace tagsmith::base;

TEST(JsonReader, KeepsDocumentOrderAndTakesTheLastValueOfARepeatedKey) {
    const auto document = readJsonObject(R"({"zeta": 1, "alpha": {"b": 2, "a": 3}, "mid": 4, "zeta": "last"})");
    ASSERT_TRUE(document);
    QStringList keys;
    for (const JsonMember& member : *document->object())
        keys.append(member.key);
    EXPECT_EQ(keys, (QStringList{QStringLiteral("zeta"), QStringLiteral("alpha"), QStringLiteral("mid")}));
    EXPECT_EQ(document->member(u"alpha")->object()->front().key, QStringLiteral("b"));
    EXPECT_EQ(document->member(u"zeta")->data(), JsonValue::Data(QStringLiteral("last")));
}

TEST(JsonReader, ReadsEveryKindOfValue) {
    const auto document = readJsonObject(R"({"t": true, "n": null, "i": -42, "big": 9223372036854775808,
        "r": 2.5e1, "s": "a\"\\\/\b\f\n\r\t\u00e9\ud83d\ude00电", "list": [1, [], {}]})");
    ASSERT_TRUE(document);
    const auto data = [&](const char16_t* key) { return document->member(key)->data(); };
    EXPECT_EQ(data(u"t"), JsonValue::Data(true));
    EXPECT_EQ(data(u"n"), JsonValue::Data(nullptr));
    EXPECT_EQ(data(u"i"), JsonValue::Data(qint64(-42)));
    EXPECT_EQ(data(u"big"), JsonValue::Data(9223372036854775808.0));
    EXPECT_EQ(data(u"r"), JsonValue::Data(25.0));
    EXPECT_EQ(data(u"s"), JsonValue::Data(QStringLiteral("a\"\\/\b\f\n\r\té😀电")));
    EXPECT_EQ(document->member(u"list")->array()->size(), 3u);
}

// Each of these was once let through by a lenient reader: an unknown escape
// lost its backslash, and raw control characters reached the label.
TEST(JsonReader, RefusesEverythingOutsideTheGrammarNearItsOffset) {
    const std::pair<QByteArray, const char*> cases[] = {
        {"", "数据不是有效的 JSON（第 0 字节附近）。"},
        {R"({"a": 1,})", "数据不是有效的 JSON（第 8 字节附近）。"},
        {R"({"a": 01})", "数据不是有效的 JSON（第 7 字节附近）。"},
        {R"({"a": .8})", "数据不是有效的 JSON（第 6 字节附近）。"},
        {R"({"a": 1e999})", "数据不是有效的 JSON（第 10 字节附近）。"},
        {R"({"a": "\x41"})", "数据不是有效的 JSON（第 8 字节附近）。"},
        {R"({"a": "\u12g4"})", "数据不是有效的 JSON（第 11 字节附近）。"},
        {R"({"a": "\ud800"})", "数据不是有效的 JSON（第 13 字节附近）。"},
        {QByteArray("{\"a\": \"nul\0\"}", 13), "数据不是有效的 JSON（第 10 字节附近）。"},
        {"{\"a\": \"\xff\"}", "数据不是有效的 JSON（第 7 字节附近）。"},
        {R"({"a": 1} x)", "数据不是有效的 JSON（第 9 字节附近）。"},
        {R"([{"a": 1}])", "JSON 顶层应为对象。"},
    };
    for (const auto& [text, description] : cases)
        EXPECT_EQ(readJsonObject(text).error().description, QString::fromUtf8(description)) << text.toStdString();
}

TEST(JsonReader, BoundsNesting) {
    const auto nestedArrays = [](int depth) {
        return "{\"a\":" + QByteArray(depth, '[') + QByteArray(depth, ']') + '}';
    };
    EXPECT_TRUE(readJsonObject(nestedArrays(kMaxJsonNesting - 1)));
    EXPECT_EQ(readJsonObject(nestedArrays(kMaxJsonNesting)).error().description,
              QStringLiteral("JSON 嵌套超过 1024 层。"));
    EXPECT_FALSE(readJsonObject(nestedArrays(1000000))) << "fails instead of exhausting memory or the stack";
}
