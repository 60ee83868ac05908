#include "cli/report_input.h"

#include "cli/resources.h"
#include "report/report_file.h"
#include "report/validation.h"

namespace tagsmith::cli {

Result<report::Report> validatedReportFile(const CommandLine& line, const QString& path) {
    report::setARules(report::loadARules(resourcePath(line, report::kARulesFileName)));
    const Result<QByteArray> bytes = report::readReportFile(path);
    if (!bytes)
        return bytes.error();
    return report::validated(*bytes);
}

} // namespace tagsmith::cli
