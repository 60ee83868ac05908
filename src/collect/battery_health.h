#pragma once

#include "collect/hardware_snapshot.h"
#include "collect/ordered_json.h"

#include <QString>
#include <QVariantMap>

#include <optional>

namespace tagsmith::collect {

// The system's maximum-capacity text (for instance "87%") when the power
// section of its report has one; otherwise, on Intel machines only, the
// estimate from the battery's capacities.
std::optional<QString> batteryHealth(const JsonValue& power, bool intel, const HardwareSnapshot& snapshot);

// "约" + percent + "%" from DesignCapacity and MaxCapacity, or none when the
// battery is missing or its capacities are implausible. Apple silicon reports
// MaxCapacity as a percentage, which is why only Intel machines use this.
std::optional<QString> estimatedBatteryHealth(const QVariantMap& battery);

} // namespace tagsmith::collect
