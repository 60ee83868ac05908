#pragma once

#include "base/result.h"
#include "report/a_rules.h"
#include "report/report.h"

#include <QByteArray>

namespace tagsmith::report {

// Domain of validation failures; codes below.
inline const QString kReportErrorDomain = QStringLiteral("报告");

enum ReportErrorCode { kReportTooLarge = 1, kReportInvalidField = 2, kReportTextInvalid = 3 };

// The largest report accepted, in bytes.
inline constexpr qsizetype kMaxReportBytes = 1999999;

// The single gate from report bytes to a Report, wherever they come from: size,
// JSON decoding (whose error is passed on unchanged), field limits that keep
// oversized or multi-line text off labels and out of file names, and finally
// enrichA. The bytes themselves are never changed.
Result<Report> validated(const QByteArray& data, const QList<AModelRule>& rules = aRules());

} // namespace tagsmith::report
