#include "bench_inputs.h"

#include "collect/ordered_json.h"
#include "collect/report_assembly.h"
#include "report/records_json.h"

#include <benchmark/benchmark.h>

using namespace tagsmith;

namespace {

// From the text system_profiler printed to the report: parsing and assembly,
// with the models table and snapshot read once as the collector does per run.
void BM_MakeReport(benchmark::State& state, const char* machine) {
    const QString name = QString::fromLatin1(machine);
    const QByteArray profile = bench::readSource(QStringLiteral("tests/fixtures/system_profiler/%1.json").arg(name));
    const auto models = report::decodeModelTable(bench::readSource(QStringLiteral("resources/models.json")));
    const auto snapshot =
        collect::snapshotFromJson(bench::readSource(QStringLiteral("tests/fixtures/snapshots/%1.json").arg(name)));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto _ : state) {
        const auto document = collect::readJsonObject(profile);
        benchmark::DoNotOptimize(collect::makeReport(*models, *document, *snapshot, now));
    }
    state.SetBytesProcessed(state.iterations() * profile.size());
}

} // namespace

BENCHMARK_CAPTURE(BM_MakeReport, MacBookAir10_1, "MacBookAir10,1-no-maximum-capacity");
BENCHMARK_CAPTURE(BM_MakeReport, MacBookPro15_3, "MacBookPro15,3-with-egpu");
BENCHMARK_CAPTURE(BM_MakeReport, MacBookPro16_2, "MacBookPro16,2");
BENCHMARK_CAPTURE(BM_MakeReport, MacBookPro18_3, "MacBookPro18,3");
