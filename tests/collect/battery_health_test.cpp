#include "collect/battery_health.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tagsmith::collect;

TEST(BatteryHealth, EstimateHoldsAtItsBounds) {
    const auto battery = [](QVariant design, QVariant max) {
        return QVariantMap{{QStringLiteral("DesignCapacity"), design}, {QStringLiteral("MaxCapacity"), max}};
    };
    QVariantMap removed = battery(5100, 4590);
    removed.insert(QStringLiteral("BatteryInstalled"), false);
    QVariantMap notBoolean = battery(5100, 4590);
    notBoolean.insert(QStringLiteral("BatteryInstalled"), 0);
    const std::pair<QVariantMap, std::optional<QString>> cases[] = {
        {battery(5100, 4590), QStringLiteral("约90%")},
        {battery(1600LL, 200ULL), QStringLiteral("约13%")}, // 12.5: halves go away from zero
        {battery(5100.0, 5150), QStringLiteral("约100%")},
        {battery(5100, 7650), QStringLiteral("约100%")},
        {battery(5100, 7651), std::nullopt},
        {battery(5100, 100), std::nullopt},
        {battery(100, 101), std::nullopt},
        {battery(100000, 90000), std::nullopt},
        {battery(std::numeric_limits<double>::quiet_NaN(), 4590), std::nullopt},
        {battery(QStringLiteral("5100"), 4590), std::nullopt},
        {removed, std::nullopt},
        {notBoolean, QStringLiteral("约90%")},
        {{}, std::nullopt},
    };
    for (const auto& [properties, expected] : cases)
        EXPECT_EQ(estimatedBatteryHealth(properties), expected) << QDebug::toString(properties).toStdString();
}
