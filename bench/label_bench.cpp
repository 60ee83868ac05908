#include "bench_inputs.h"

#include "label/label.h"
#include "label/label_rows.h"

#include <benchmark/benchmark.h>

#include <QBuffer>

using namespace tagsmith;

namespace {

label::Label typicalLabel() {
    const report::Report report = bench::typicalReport();
    return {label::lines(report), report.serial};
}

void BM_LabelToPng(benchmark::State& state) {
    const label::Label label = typicalLabel();
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        label.toImage().save(&buffer, "PNG");
        benchmark::DoNotOptimize(png);
    }
}

void BM_LabelToPdf(benchmark::State& state) {
    const label::Label label = typicalLabel();
    for (auto _ : state)
        benchmark::DoNotOptimize(label.toPdf());
}

} // namespace

BENCHMARK(BM_LabelToPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelToPdf)->Unit(benchmark::kMillisecond);
