#pragma once

#include "collect/hardware_snapshot.h"
#include "collect/ordered_json.h"

#include <QList>
#include <QString>

#include <optional>

namespace tagsmith::collect {

// The rules that turn the system's report and the snapshot into report
// fields. hardware is the first object of "SPHardwareDataType"; document the
// whole system report. Each is a pure function of its inputs.

// The chip name as the system gives it, or on Intel machines the kernel's
// brand text without (R) and (TM).
std::optional<QString> processorDescription(const JsonValue& hardware, const HardwareSnapshot& snapshot);

// Physical cores from the kernel, else the system's core counts, else its
// processor count where that counts cores; only 1 to 1023 is believed.
std::optional<qint64> physicalCoreCount(const JsonValue& hardware, const HardwareSnapshot& snapshot);

// The graphics entries of the system's report without external GPUs.
QList<const JsonValue*> internalDisplays(const JsonValue& document);

// The distinct GPU names joined by " / ", at most 500 characters.
std::optional<QString> intelGraphics(const QList<const JsonValue*>& gpus);

// A core count as the report may carry it: 1 to 1023.
std::optional<qint64> plausibleCoreCount(std::optional<qint64> count);

} // namespace tagsmith::collect
