#pragma once

#include "base/result.h"
#include "report/report.h"

#include <QByteArray>
#include <QString>

namespace tagsmith::report {

// The bytes of a report file, read up to one byte past the report size limit
// so that validated() rejects an oversized file with its own message.
Result<QByteArray> readReportFile(const QString& path);

// serial + "_" + collectedAt with ":" as "-" + ".macreport", e.g.
// C02XXXXXXXXX_2025-03-01T09-15-00Z.macreport. collectedAt is not checked by
// validation, so characters that would leave the folder or break the name
// (solidus, backslash, control characters, line separators, halves of a cut
// surrogate pair) also become "-", and an overlong value is cut; a
// well-formed collectedAt is unaffected.
QString reportFileName(const Report& report);

} // namespace tagsmith::report
