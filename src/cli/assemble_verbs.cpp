#include "base/read_file.h"
#include "cli/help.h"
#include "cli/resources.h"
#include "cli/verb.h"
#include "collect/report_assembly.h"
#include "collect/report_collection.h"
#include "collect/system_profiler.h"
#include "report/a_rules.h"
#include "report/model_identification.h"

namespace tagsmith::cli {

namespace {

const QString kProfileOption = QStringLiteral("--profile");
const QString kModelsOption = QStringLiteral("--models");
const QString kDiskutilOption = QStringLiteral("--diskutil");
const QString kSnapshotOption = QStringLiteral("--snapshot");
const QString kLiveSnapshotOption = QStringLiteral("--live-snapshot");
const QString kSynopsis = QStringLiteral("assemble --profile SP.json [--models models.json] [--diskutil LIST.plist] "
                                         "[--snapshot SNAP.json | --live-snapshot] [--resources DIR]");

// Saved snapshots and disk listings are a few kilobytes.
constexpr qint64 kMaxSavedInputBytes = 1 << 20;

// This machine's snapshot only when asked for: the profile usually describes
// another Mac, whose report must not carry this machine's processor.
Result<collect::HardwareSnapshot> snapshotFor(const CommandLine& line) {
    if (line.has(kLiveSnapshotOption))
        return collect::HardwareSnapshot::current();
    if (!line.has(kSnapshotOption))
        return collect::HardwareSnapshot{};
    const Result<QByteArray> bytes = base::readFileAtMost(line.option(kSnapshotOption), kMaxSavedInputBytes);
    if (!bytes)
        return bytes.error();
    return collect::snapshotFromJson(*bytes);
}

Result<report::Report> madeReport(const CommandLine& line) {
    const Result<collect::JsonValue> document = collect::readSystemReportFile(line.option(kProfileOption));
    if (!document)
        return document.error();
    const QString models = line.option(kModelsOption, resourcePath(line, report::kModelTableFileName));
    const Result<report::ModelTable> table = report::loadModelTable(models);
    if (!table)
        return table.error();
    const Result<collect::HardwareSnapshot> snapshot = snapshotFor(line);
    if (!snapshot)
        return snapshot.error();
    return collect::makeReport(*table, *document, *snapshot, QDateTime::currentDateTimeUtc());
}

// The report as a collection would save it, from saved tool outputs.
Result<collect::EncodedReport> assembled(const CommandLine& line) {
    report::setARules(report::loadARules(resourcePath(line, report::kARulesFileName)));
    const Result<report::Report> made = madeReport(line);
    if (!made)
        return made.error();
    std::optional<QByteArray> listing;
    if (line.has(kDiskutilOption)) {
        Result<QByteArray> bytes = base::readFileAtMost(line.option(kDiskutilOption), kMaxSavedInputBytes);
        if (!bytes)
            return bytes.error();
        listing = std::move(bytes).value();
    }
    return collect::finishReport(*made, listing);
}

int runAssemble(const CommandLine& line) {
    if (!line.has(kProfileOption))
        return usageError(QStringLiteral("缺少 ") + kProfileOption, kSynopsis);
    if (line.has(kSnapshotOption) && line.has(kLiveSnapshotOption))
        return usageError(QStringLiteral("请只给出 --snapshot 或 --live-snapshot 中的一个。"), kSynopsis);
    if (!line.has(kModelsOption) && !resourcesPresent(line, {report::kModelTableFileName}))
        return kUsage;
    const Result<collect::EncodedReport> encoded = assembled(line);
    if (!encoded)
        return fail(encoded.error().description);
    printLine(QString::fromUtf8(encoded->bytes));
    return kSuccess;
}

} // namespace

QList<Verb> assembleVerbs() {
    const OptionSpec options{{kProfileOption, kModelsOption, kDiskutilOption, kSnapshotOption, kResourcesOption},
                             {kLiveSnapshotOption}};
    return {{{QStringLiteral("assemble")}, kSynopsis, 0, 0, options, runAssemble}};
}

} // namespace tagsmith::cli
