#include "cli/resources.h"
#include "cli/verb.h"
#include "collect/configuration_text.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"

namespace tagsmith::cli {

namespace {

// Reads and checks a report file as the workstation does, A-number enrichment
// included, with the rule table of the chosen resources.
Result<report::Report> validatedFile(const CommandLine& line) {
    report::setARules(report::loadARules(resourcePath(line, report::kARulesFileName)));
    const Result<QByteArray> bytes = report::readReportFile(line.positional.at(0));
    if (!bytes)
        return bytes.error();
    return report::validated(*bytes);
}

int runValidate(const CommandLine& line) {
    const Result<report::Report> report = validatedFile(line);
    if (!report)
        return fail(report.error().description);
    printLine(QString::fromUtf8(report::encodeReport(*report, report::JsonLayout::prettySorted)));
    return kSuccess;
}

int runSummary(const CommandLine& line) {
    const Result<report::Report> report = validatedFile(line);
    if (!report)
        return fail(report.error().description);
    const QString locales = resourcePath(line, QStringLiteral("locales"));
    printLine(collect::configurationText(*report, l10n::UILocalizer::fromDirectory(locales)));
    return kSuccess;
}

} // namespace

QList<Verb> reportVerbs() {
    const OptionSpec options{{kResourcesOption}, {}};
    return {
        {{QStringLiteral("validate")}, QStringLiteral("validate FILE [--resources DIR]"), 1, 1, options, runValidate},
        {{QStringLiteral("summary")}, QStringLiteral("summary FILE [--resources DIR]"), 1, 1, options, runSummary},
    };
}

} // namespace tagsmith::cli
