#pragma once

#include "report/report.h"

#include <QStringList>

namespace tagsmith::label {

// The five text rows of a report's label, with a fallback word for every
// missing value so the operator sees what still has to be filled in by hand.
QStringList lines(const report::Report& report);

} // namespace tagsmith::label
