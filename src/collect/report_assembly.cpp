#include "collect/report_assembly.h"

#include "collect/assembly_rules.h"
#include "collect/battery_health.h"
#include "collect/json_lookup.h"
#include "collect/resale_facts_assembly.h"

#include <algorithm>

namespace tagsmith::collect {

namespace {

using report::Report;

Error missingIdentity() {
    return {kCollectionErrorDomain, kMissingIdentity,
            QStringLiteral("没有读到 MacBook 的整机序列号与机型，未生成报告。")};
}

std::optional<Report> identityOf(const JsonValue& hardware) {
    const std::optional<QString> serial = text(hardware.member(u"serial_number"));
    const std::optional<QString> model = text(hardware.member(u"machine_model"));
    const std::optional<QString> name = text(hardware.member(u"machine_name"));
    if (!serial || !model || !name || !name->toLower().contains(QLatin1String("macbook")))
        return std::nullopt;
    Report report;
    report.serial = *serial;
    report.model = *model;
    report.name = *name;
    return report;
}

// Ascending by Unicode scalar value, duplicates removed.
QStringList sortedDistinct(QStringList texts) {
    std::ranges::sort(texts, [](const QString& a, const QString& b) { return a.toUcs4() < b.toUcs4(); });
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    return texts;
}

void addModelTableFields(Report& report, const QList<report::ModelEntry>& entries) {
    QStringList years, inches, sources;
    for (const report::ModelEntry& entry : entries) {
        if (!entry.year.isEmpty())
            years.append(entry.year);
        if (!entry.inches.isEmpty())
            inches.append(entry.inches);
        sources.append(entry.source);
    }
    report.years = sortedDistinct(years);
    report.inches = sortedDistinct(inches);
    report.modelSources = sortedDistinct(sources);
}

// Out-of-range values would make validation refuse the whole report, so
// they are dropped like any other unusable value.
void addBattery(Report& report, const JsonValue& power, bool intel, const HardwareSnapshot& snapshot) {
    report.batteryHealth = batteryHealth(power, intel, snapshot);
    const std::optional<qint64> cycles = integerOf(nested(power, u"sppower_battery_cycle_count"));
    report.cycles = cycles && *cycles >= 0 ? cycles : std::nullopt;
    report.batteryCondition = text(nested(power, u"sppower_battery_health"));
}

} // namespace

QString collectedAtText(const QDateTime& now) {
    return now.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

Result<Report> makeReport(const report::ModelTable& models, const JsonValue& document, const HardwareSnapshot& snapshot,
                          const QDateTime& now) {
    const auto hardwareEntries = objectsOf(document.member(u"SPHardwareDataType"));
    if (!hardwareEntries || hardwareEntries->isEmpty())
        return missingIdentity();
    const JsonValue& hardware = *hardwareEntries->first();
    std::optional<Report> report = identityOf(hardware);
    if (!report)
        return missingIdentity();
    report->cpu = physicalCoreCount(hardware, snapshot);
    report->chip = processorDescription(hardware, snapshot);
    const bool intel = report->chip && report->chip->contains(QLatin1String("Intel"), Qt::CaseInsensitive);
    const QList<const JsonValue*> gpus = internalDisplays(document);
    if (gpus.size() == 1)
        report->gpu = plausibleCoreCount(integerOf(gpus.first()->member(u"sppci_cores")));
    addModelTableFields(*report, models.value(report->model));
    report->collectedAt = collectedAtText(now);
    report->memory = text(hardware.member(u"physical_memory"));
    static const JsonValue kNoPowerSection{JsonArray{}};
    const JsonValue* power = document.member(u"SPPowerDataType");
    addBattery(*report, power ? *power : kNoPowerSection, intel, snapshot);
    if (intel)
        report->graphics = intelGraphics(gpus);
    report->activationLock = activationLockOf(hardware);
    report->storageHealth = storageHealthOf(document);
    return std::move(*report);
}

} // namespace tagsmith::collect
