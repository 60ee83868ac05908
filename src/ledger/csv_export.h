#pragma once

#include "base/result.h"
#include "ledger/ledger.h"

#include <QString>

namespace tagsmith::ledger {

// Writes the selected rows as CSV for spreadsheet programs: UTF-8 with a byte
// order mark (so they read Chinese text as UTF-8), RFC 4180 quoting and CRLF
// line ends, a header row first. A text that a spreadsheet would run as a
// formula (=, +, -, @ first) gets a leading apostrophe, so a report cannot plant one. The file is replaced atomically.
// Returns the number of rows written.
Result<qint64> exportCsv(Ledger& ledger, const Selection& selection, const QString& path);

} // namespace tagsmith::ledger
