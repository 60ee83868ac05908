#pragma once

#include "base/result.h"
#include "collect/ordered_json.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>

namespace tagsmith::collect {

inline const QString kSystemProfilerPath = QStringLiteral("/usr/sbin/system_profiler");

// The hardware, displays, power and internal-disk (NVMe, Serial ATA) sections as JSON; the tool gives up on
// slow sections by itself after 60 seconds.
QStringList systemProfilerArguments();

// A report of these sections is some tens of kilobytes.
inline constexpr qsizetype kMaxSystemReportBytes = 4 << 20;

// Bounds on one run. The tool's own timeout covers each section, not a tool
// that hangs as a whole.
struct ToolLimits {
    std::chrono::milliseconds time = std::chrono::minutes(3);
    qsizetype outputBytes = kMaxSystemReportBytes;
};

// Runs the tool at path with LC_ALL=C, standard input and error on the null
// device, and returns what it printed. A tool that cannot start, exits with
// a failure, or exceeds the limits (it is then killed) fails with the
// collection error kNoSystemReport.
Result<QByteArray> runSystemProfiler(const QString& path, const ToolLimits& limits = {});

// A saved output of the tool, parsed with its members in document order.
Result<JsonValue> readSystemReportFile(const QString& path);

} // namespace tagsmith::collect
