#pragma once

#include "base/bundle.h"
#include "base/result.h"
#include "collect/hardware_source.h"
#include "collect/resale_facts_assembly.h"
#include "collect/system_profiler.h"
#include "report/report.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tagsmith::collect {

inline const QString kDiskutilPath = QStringLiteral("/usr/sbin/diskutil");

// The folder beside the running bundle that receives the collector's reports.
inline const QString kResultsFolderName = QStringLiteral("检测结果");

// A report as it is saved and served: the validated record and its bytes
// (pretty-printed JSON with sorted keys).
struct EncodedReport {
    report::Report report;
    QByteArray bytes;
};

// Encodes the report and passes the bytes through validated(), the same gate
// the workstation applies.
Result<EncodedReport> encodeChecked(const report::Report& report);

// The A-number enrichment of a report from makeReport, its disk text from a
// diskutil property list (none leaves disk absent), then encodeChecked.
Result<EncodedReport> finishReport(report::Report report, const std::optional<QByteArray>& diskListing);

// Where one collection reads and writes; tests point it at fixture tools and
// a temporary folder.
struct CollectionSetup {
    QString systemProfiler = kSystemProfilerPath;
    QString diskutil = kDiskutilPath;
    // Missing on Linux: remote management stays unknown.
    QString profiles = kProfilesPath;
    QString modelTable;   // models.json
    QString outputFolder; // created when missing
    ToolLimits limits;

    // The real tools, the bundle's models table and the results folder beside it.
    static CollectionSetup forBundle(const base::Bundle& bundle);
};

struct CollectedReport {
    EncodedReport encoded;
    QString filePath; // where the bytes were saved
};

// One whole collection, meant for a background thread: system_profiler, the
// models table, the snapshot, assembly, diskutil, then the atomic write of
// the report file. Fails with the first error; nothing is written then.
Result<CollectedReport> collectReport(const CollectionSetup& setup, const HardwareSource& hardware);

// The report's file in folder, refusing a name that could leave the folder
// or that the file system cannot hold.
Result<QString> reportPathIn(const QString& folder, const report::Report& report);

} // namespace tagsmith::collect
