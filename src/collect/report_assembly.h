#pragma once

#include "base/result.h"
#include "collect/hardware_snapshot.h"
#include "collect/ordered_json.h"
#include "report/model_records.h"
#include "report/report.h"

#include <QDateTime>

namespace tagsmith::collect {

// Domain of collection failures; codes below.
inline const QString kCollectionErrorDomain = QStringLiteral("采集");

enum CollectionErrorCode { kMissingIdentity = 1, kNoSystemReport = 2, kReportNotSaved = 3 };

// The report of a MacBook from the system's report (the parsed output of
// system_profiler with its hardware, displays and power sections), the
// snapshot and the models table, collected at now. Fails only when the
// serial, model identifier or a MacBook name is missing; every other value
// that is missing, mistyped or out of the report's range is left absent.
// disk, exterior and market stay absent.
Result<report::Report> makeReport(const report::ModelTable& models, const JsonValue& document,
                                  const HardwareSnapshot& snapshot, const QDateTime& now);

// now in UTC as 2025-03-01T09:15:00Z.
QString collectedAtText(const QDateTime& now);

} // namespace tagsmith::collect
