#include "fuzz_input.h"

#include "collect/ordered_json.h"
#include "collect/report_assembly.h"
#include "report/records_json.h"

#include <QFile>

using namespace tagsmith;

namespace {

report::ModelTable g_models;
collect::HardwareSnapshot g_snapshot;

QByteArray resource(const char* name) {
    QFile file(QStringLiteral(TAGSMITH_SOURCE_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const Result<report::ModelTable> models = report::decodeModelTable(resource("resources/models.json"));
    const Result<collect::HardwareSnapshot> snapshot =
        collect::snapshotFromJson(resource("tests/fixtures/snapshots/MacBookPro16,2.json"));
    fuzz::require(models && snapshot, "the models table and the snapshot fixture load");
    g_models = *models;
    g_snapshot = *snapshot;
    return 0;
}

// What system_profiler printed, assembled as on the collector; the same bytes
// also feed the reader of saved snapshots.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    (void)collect::snapshotFromJson(bytes);
    const Result<collect::JsonValue> document = collect::readJsonObject(bytes);
    if (!document)
        return 0;
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'740'000'000, Qt::UTC);
    (void)collect::makeReport(g_models, *document, g_snapshot, now);
    return 0;
}
