#include "collect/battery_health.h"

#include "collect/json_lookup.h"

#include <cmath>

namespace tagsmith::collect {

namespace {

constexpr double kMinCapacity = 100;
constexpr double kMaxDesignCapacity = 100000;
constexpr double kMaxGrowthOverDesign = 1.5;

std::optional<double> numberOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

bool batteryRemoved(const QVariantMap& battery) {
    const QVariant installed = battery.value(QStringLiteral("BatteryInstalled"));
    return installed.typeId() == QMetaType::Bool && !installed.toBool();
}

} // namespace

std::optional<QString> batteryHealth(const JsonValue& power, bool intel, const HardwareSnapshot& snapshot) {
    if (auto reported = text(nested(power, u"sppower_battery_health_maximum_capacity")))
        return reported;
    return intel ? estimatedBatteryHealth(snapshot.battery) : std::nullopt;
}

std::optional<QString> estimatedBatteryHealth(const QVariantMap& battery) {
    if (battery.isEmpty() || batteryRemoved(battery))
        return std::nullopt;
    const std::optional<double> design = numberOf(battery.value(QStringLiteral("DesignCapacity")));
    const std::optional<double> max = numberOf(battery.value(QStringLiteral("MaxCapacity")));
    if (!design || !max || !std::isfinite(*design) || !std::isfinite(*max))
        return std::nullopt;
    if (!(*design > kMinCapacity && *design<kMaxDesignCapacity&& * max> kMinCapacity &&
          *max <= *design * kMaxGrowthOverDesign))
        return std::nullopt;
    const double percent = std::min(std::round(*max / *design * 100.0), 100.0);
    return QStringLiteral("约%1%").arg(static_cast<qint64>(percent));
}

} // namespace tagsmith::collect
