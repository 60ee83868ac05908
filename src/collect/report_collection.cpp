#include "collect/report_collection.h"

#include "base/atomic_file.h"
#include "base/command.h"
#include "cable/tool_runner.h"
#include "collect/disk_capacity.h"
#include "collect/ordered_json.h"
#include "collect/report_assembly.h"
#include "report/model_identification.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"

#include <QDir>
#include <QFileInfo>

namespace tagsmith::collect {

namespace {

using report::Report;

// The longest name common file systems hold, in bytes.
constexpr qsizetype kMaxFileNameBytes = 255;

// The enrollment question is answered locally, within a second.
constexpr std::chrono::seconds kEnrollmentTimeLimit{5};

QByteArray diskListingFrom(const QString& diskutil) {
    const QStringList arguments{QStringLiteral("list"), QStringLiteral("-plist"), QStringLiteral("internal"),
                                QStringLiteral("physical")};
    return base::runCommand(diskutil, arguments).toUtf8();
}

Result<Report> reportFromSystem(const CollectionSetup& setup, const HardwareSource& hardware) {
    const Result<QByteArray> output = runSystemProfiler(setup.systemProfiler, setup.limits);
    if (!output)
        return output.error();
    const Result<JsonValue> document = readJsonObject(*output);
    if (!document)
        return document.error();
    const Result<report::ModelTable> models = report::loadModelTable(setup.modelTable);
    if (!models)
        return models.error();
    Result<Report> made = makeReport(*models, *document, hardware.snapshot(), QDateTime::currentDateTimeUtc());
    if (made)
        made->remoteManagement =
            remoteManagementFrom(cable::runTool(setup.profiles, enrollmentArguments(), kEnrollmentTimeLimit));
    return made;
}

} // namespace

Result<EncodedReport> encodeChecked(const Report& report) {
    QByteArray bytes = report::encodeReport(report, report::JsonLayout::prettySorted);
    Result<Report> checked = report::validated(bytes);
    if (!checked)
        return checked.error();
    return EncodedReport{std::move(checked).value(), std::move(bytes)};
}

Result<EncodedReport> finishReport(Report report, const std::optional<QByteArray>& diskListing) {
    report = report::enrichA(std::move(report));
    if (diskListing)
        report.disk = diskTextFromListing(*diskListing);
    return encodeChecked(report);
}

CollectionSetup CollectionSetup::forBundle(const base::Bundle& bundle) {
    CollectionSetup setup;
    if (!bundle.isEmpty()) {
        setup.modelTable = bundle.resourcePath(report::kModelTableFileName);
        setup.outputFolder = QFileInfo(bundle.path).absolutePath() + u'/' + kResultsFolderName;
    }
    return setup;
}

Result<CollectedReport> collectReport(const CollectionSetup& setup, const HardwareSource& hardware) {
    Result<Report> made = reportFromSystem(setup, hardware);
    if (!made)
        return made.error();
    Result<EncodedReport> encoded = finishReport(std::move(made).value(), diskListingFrom(setup.diskutil));
    if (!encoded)
        return encoded.error();
    const Result<QString> path = reportPathIn(setup.outputFolder, encoded->report);
    if (!path)
        return path.error();
    const Result<void> written = base::writeFileAtomically(*path, encoded->bytes);
    if (!written)
        return written.error();
    return CollectedReport{std::move(encoded).value(), *path};
}

Result<QString> reportPathIn(const QString& folder, const Report& report) {
    const QString name = report::reportFileName(report);
    if (folder.isEmpty() || name.contains(u'/') || name.contains(QChar(u'\0')) ||
        name.toUtf8().size() > kMaxFileNameBytes)
        return Error{kCollectionErrorDomain, kReportNotSaved, QStringLiteral("报告文件名无效，未保存。")};
    return QDir(folder).filePath(name);
}

} // namespace tagsmith::collect
