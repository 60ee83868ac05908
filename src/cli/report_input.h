#pragma once

#include "base/result.h"
#include "cli/command_line.h"
#include "report/report.h"

#include <QString>

namespace tagsmith::cli {

// Reads and checks a report file as the workstation does, A-number enrichment
// included, with the rule table of the chosen resources; "-" reads standard input.
Result<report::Report> readValidatedReport(const CommandLine& line, const QString& path);

// The same, keeping the file's bytes as they were read.
struct ReportFile {
    report::Report report;
    QByteArray bytes;
};
Result<ReportFile> readValidatedReportFile(const CommandLine& line, const QString& path);

// Loads the A-number rules of the chosen resources, for reports that arrive
// by other ways than files, unless they are loaded already.
void useResourceRules(const CommandLine& line);

// Saves a report received from a peer in folder under its file name, written
// atomically; false, with the reason on standard error, when it cannot.
bool saveReceivedReport(const QString& folder, const report::Report& report, const QByteArray& bytes);

} // namespace tagsmith::cli
