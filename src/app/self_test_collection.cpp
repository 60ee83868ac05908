#include "app/self_test.h"

#include "base/atomic_file.h"
#include "collect/report_assembly.h"
#include "collect/report_collection.h"
#include "collect/system_profiler.h"
#include "report/model_identification.h"

namespace tagsmith::app {

namespace {

QString passLine(const report::Report& report) {
    return QStringLiteral("PASS: parsed report; CPU=%1, GPU=%2, battery=%3")
        .arg(report.cpu.value_or(-1))
        .arg(report.gpu.value_or(-1))
        .arg(report.batteryHealth.value_or(QStringLiteral("missing")));
}

} // namespace

// Assembly from a saved system report with this machine's live snapshot, the
// same encoding and gate as a collection, without the system tools.
Result<QString> runCollectionTest(const QStringList& arguments) {
    const Result<collect::JsonValue> document = collect::readSystemReportFile(arguments.at(2));
    if (!document)
        return document.error();
    const Result<report::ModelTable> models = report::loadModelTable(arguments.at(3));
    if (!models)
        return models.error();
    const Result<report::Report> made =
        collect::makeReport(*models, *document, collect::HardwareSnapshot::current(), QDateTime::currentDateTimeUtc());
    if (!made)
        return made.error();
    const Result<collect::EncodedReport> encoded = collect::encodeChecked(*made);
    if (!encoded)
        return encoded.error();
    if (const Result<void> written = base::writeFileAtomically(arguments.at(4), encoded->bytes); !written)
        return written.error();
    return passLine(encoded->report);
}

} // namespace tagsmith::app
