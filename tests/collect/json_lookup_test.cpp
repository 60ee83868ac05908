#include "collect/json_lookup.h"
#include "collect/ordered_json.h"

#include <gtest/gtest.h>

using namespace tagsmith::collect;

TEST(JsonLookup, TextOfEachKindOfValueAndIntegersOfText) {
    const JsonValue document =
        readJsonObject(R"({"s": "87%", "e": "", "i": 212, "r": 2.5, "t": true, "n": null, "a": ["x"]})").value();
    const std::pair<const char16_t*, std::optional<QString>> texts[] = {
        {u"s", QStringLiteral("87%")}, {u"e", std::nullopt},        {u"i", QStringLiteral("212")},
        {u"r", QStringLiteral("2.5")}, {u"t", QStringLiteral("1")}, {u"n", std::nullopt},
        {u"a", std::nullopt},          {u"missing", std::nullopt},
    };
    for (const auto& [key, expected] : texts)
        EXPECT_EQ(text(document.member(key)), expected) << QString::fromUtf16(key).toStdString();
    const std::pair<const char*, std::optional<qint64>> integers[] = {
        {"14", 14},
        {"+5", 5},
        {"-3", -3},
        {" 4", std::nullopt},
        {"4.0", std::nullopt},
        {"", std::nullopt},
        {"9223372036854775808", std::nullopt},
    };
    for (const auto& [input, expected] : integers)
        EXPECT_EQ(parseInteger(QString::fromUtf8(input)), expected) << input;
}

TEST(JsonLookup, NestedTakesTheFirstHitInDocumentOrder) {
    // Sorted keys would visit "a_health" first and find 7.
    const JsonValue power = readJsonObject(R"({"list": [{"z_info": {"sppower_battery_cycle_count": 5},
        "a_health": {"sppower_battery_cycle_count": 7}}, {"sppower_battery_cycle_count": 9}]})")
                                .value();
    EXPECT_EQ(integerOf(nested(power, u"sppower_battery_cycle_count")), 5);
    const JsonValue own = readJsonObject(R"({"inner": {"key": "deep"}, "key": null})").value();
    EXPECT_EQ(nested(own, u"key")->data(), JsonValue::Data(nullptr)) << "an object's own member comes first";
    EXPECT_EQ(nested(own, u"absent"), nullptr);
}
