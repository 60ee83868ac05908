#pragma once

#include "base/result.h"
#include "cli/command_line.h"
#include "report/report.h"

#include <QString>

namespace tagsmith::cli {

// Reads and checks a report file as the workstation does, A-number enrichment
// included, with the rule table of the chosen resources.
Result<report::Report> validatedReportFile(const CommandLine& line, const QString& path);

} // namespace tagsmith::cli
