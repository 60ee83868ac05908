#pragma once

#include "base/result.h"
#include "report/json_writer.h"
#include "report/report.h"

#include <QByteArray>
#include <QJsonObject>

namespace tagsmith::report {

// The report's JSON form, also the content of .macreport files. The collector
// offers prettySorted, the workstation re-encodes compactSorted, the relay
// sends compactAnyOrder; readers accept any key order and whitespace.
QByteArray encodeReport(const Report& report, JsonLayout layout);

// Fails with a kJsonDecodingDomain error naming the member and expected type.
Result<Report> decodeReport(const QByteArray& bytes);
Result<Report> reportFromJson(const QJsonObject& object);

} // namespace tagsmith::report
