#pragma once

#include "l10n/l10n.h"
#include "report/report.h"

#include <QString>

namespace tagsmith::collect {

// The configuration summary of a report, every word through the localizer: the
// fourteen configuration lines, then the three resale-safety lines; joined by a
// line feed, none after the last.
QString configurationText(const report::Report& report, const l10n::UILocalizer& localizer = L10n::current());

} // namespace tagsmith::collect
