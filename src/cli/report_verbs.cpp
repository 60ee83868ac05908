#include "cli/report_input.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "collect/configuration_text.h"
#include "report/report_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

QJsonValue orNull(const std::optional<QString>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue orNull(const std::optional<qint64>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

// The summary's facts for scripts: the report's own member names and values,
// not the window's words; an absent fact is null, so every key is there.
QJsonObject summaryObject(const report::Report& report) {
    return {
        {QStringLiteral("serial"), report.serial},
        {QStringLiteral("model"), report.model},
        {QStringLiteral("name"), report.name},
        {QStringLiteral("years"), QJsonArray::fromStringList(report.years)},
        {QStringLiteral("inches"), QJsonArray::fromStringList(report.inches)},
        {QStringLiteral("chip"), orNull(report.chip)},
        {QStringLiteral("cpu"), orNull(report.cpu)},
        {QStringLiteral("gpu"), orNull(report.gpu)},
        {QStringLiteral("graphics"), orNull(report.graphics)},
        {QStringLiteral("memory"), orNull(report.memory)},
        {QStringLiteral("batteryHealth"), orNull(report.batteryHealth)},
        {QStringLiteral("cycles"), orNull(report.cycles)},
        {QStringLiteral("disk"), orNull(report.disk)},
        {QStringLiteral("exterior"), orNull(report.exterior)},
        {QStringLiteral("batteryCondition"), orNull(report.batteryCondition)},
        {QStringLiteral("activationLock"), orNull(report.activationLock)},
        {QStringLiteral("remoteManagement"), orNull(report.remoteManagement)},
        {QStringLiteral("storageHealth"), orNull(report.storageHealth)},
    };
}

int runSummary(const CommandLine& line) {
    if (!resourcesPresent(line, {kLocales}))
        return kUsage;
    const Result<report::Report> report = readValidatedReport(line, line.positional.at(0));
    if (!report)
        return fail(report.error().description);
    if (line.has(kJsonOption)) {
        printLine(QString::fromUtf8(QJsonDocument(summaryObject(*report)).toJson(QJsonDocument::Compact)));
        return kSuccess;
    }
    const QString text =
        collect::configurationText(*report, l10n::UILocalizer::fromDirectory(resourcePath(line, kLocales)));
    printLine(text);
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
