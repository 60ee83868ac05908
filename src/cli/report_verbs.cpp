#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "collect/configuration_text.h"
#include "report/report_json.h"

namespace tagsmith::cli {

namespace {

const QString kLocales = QStringLiteral("locales");

int runValidate(const CommandLine& line) {
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
    if (!report)
        return fail(report.error().description);
    printLine(QString::fromUtf8(report::encodeReport(*report, report::JsonLayout::prettySorted)));
    return kSuccess;
}

int runSummary(const CommandLine& line) {
    if (!resourcesPresent(line, {kLocales}))
        return kUsage;
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
    if (!report)
        return fail(report.error().description);
    const QString text =
        collect::configurationText(*report, l10n::UILocalizer::fromDirectory(resourcePath(line, kLocales)));
    printLines(text.split(u'\n'), line);
    return kSuccess;
}

} // namespace

QList<Verb> reportVerbs() {
    return {
        {{QStringLiteral("validate")},
         QStringLiteral("validate FILE [--resources DIR]"),
         1,
         1,
         OptionSpec{{kResourcesOption}, {}},
         runValidate},
        {{QStringLiteral("summary")},
         QStringLiteral("summary FILE [--json] [--resources DIR]"),
         1,
         1,
         OptionSpec{{kResourcesOption}, {kJsonOption}},
         runSummary},
    };
}

} // namespace tagsmith::cli
