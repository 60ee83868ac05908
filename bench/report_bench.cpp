#include "bench_inputs.h"

#include "report/validation.h"

#include <benchmark/benchmark.h>

using namespace tagsmith;
using report::JsonLayout;

namespace {

// The typical report grown to the largest size validation accepts by a member
// readers ignore: mostly JSON parsing.
QByteArray largestWithIgnoredText() {
    const QByteArray typical = bench::typicalReportBytes();
    const QByteArray opening = R"({"padding":")";
    const QByteArray closing = R"(",)";
    const qsizetype fill = report::kMaxReportBytes - typical.size() - opening.size() - closing.size() + 1;
    return opening + QByteArray(fill, 'x') + closing + typical.sliced(1);
}

// The same size made of year entries, a few bytes each: every one is checked
// for its length and line breaks, and looked for by the A-number rules.
QByteArray largestWithManyEntries() {
    QByteArray report = bench::typicalReportBytes();
    const qsizetype open = report.indexOf('[', report.indexOf(R"("years")")) + 1;
    QByteArray entries;
    const QByteArray entry = R"("2019",)";
    while (report.size() + entries.size() + entry.size() <= report::kMaxReportBytes)
        entries += entry;
    entries += QByteArray(report::kMaxReportBytes - report.size() - entries.size(), ' ');
    return report.insert(open, entries);
}

void validate(benchmark::State& state, const QByteArray& bytes) {
    bench::loadARules();
    if (!report::validated(bytes)) {
        state.SkipWithError("the input does not validate");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(report::validated(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ValidatedTypical(benchmark::State& state) {
    validate(state, bench::typicalReportBytes());
}

void BM_ValidatedLargestIgnoredText(benchmark::State& state) {
    validate(state, largestWithIgnoredText());
}

void BM_ValidatedLargestManyEntries(benchmark::State& state) {
    validate(state, largestWithManyEntries());
}

void BM_Encode(benchmark::State& state, JsonLayout layout) {
    const report::Report report = bench::typicalReport();
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes += report::encodeReport(report, layout).size();
    state.SetBytesProcessed(bytes);
}

} // namespace

BENCHMARK(BM_ValidatedTypical);
BENCHMARK(BM_ValidatedLargestIgnoredText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidatedLargestManyEntries)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, pretty, JsonLayout::prettySorted);
BENCHMARK_CAPTURE(BM_Encode, compact, JsonLayout::compactSorted);
BENCHMARK_CAPTURE(BM_Encode, compactAnyOrder, JsonLayout::compactAnyOrder);
