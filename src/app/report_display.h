#pragma once

#include "report/report.h"

#include <QString>

namespace tagsmith::app {

// What both windows show for a report: the summary, when it was collected,
// and where year, size and battery health come from.
QString reportDisplayText(const report::Report& report);

} // namespace tagsmith::app
