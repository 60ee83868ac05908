#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "collect/configuration_text.h"
#include "report/report_json.h"

namespace tagsmith::cli {

namespace {

int runValidate(const CommandLine& line) {
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
    if (!report)
        return fail(report.error().description);
    printLine(QString::fromUtf8(report::encodeReport(*report, report::JsonLayout::prettySorted)));
    return kSuccess;
}

int runSummary(const CommandLine& line) {
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
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
