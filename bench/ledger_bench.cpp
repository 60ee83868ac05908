#include "bench_inputs.h"

#include "ledger/csv_export.h"
#include "ledger/ledger.h"
#include "support/generated_reports.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

using namespace tagsmith;

namespace {

constexpr int kReports = 100000;

// One data folder of 100,000 saved reports, written once for all ledger benchmarks.
const QTemporaryDir& dataFolder() {
    static const QTemporaryDir folder;
    static const bool written = [] {
        bench::loadARules();
        test::writeGeneratedReports(ledger::Ledger::reportsFolderIn(folder.path()), kReports);
        return true;
    }();
    (void)written;
    return folder;
}

QString reportsFolder() {
    return ledger::Ledger::reportsFolderIn(dataFolder().path());
}

// The ledger of the data folder, rebuilt once.
ledger::Ledger& builtLedger() {
    static ledger::Ledger ledger = [] {
        ledger::Ledger opened = ledger::Ledger::open(ledger::Ledger::pathIn(dataFolder().path())).value();
        (void)opened.rebuild(reportsFolder());
        return opened;
    }();
    return ledger;
}

void ledgerRebuild(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir scratch;
        ledger::Ledger ledger = ledger::Ledger::open(ledger::Ledger::pathIn(scratch.path())).value();
        const auto count = ledger.rebuild(reportsFolder());
        if (!count || count->rows != kReports)
            state.SkipWithError("rebuild failed");
    }
}
BENCHMARK(ledgerRebuild)->Unit(benchmark::kSecond)->Iterations(1);

void ledgerOpenAndCheck(benchmark::State& state) {
    builtLedger();
    for (auto _ : state)
        benchmark::DoNotOptimize(ledger::Ledger::open(ledger::Ledger::pathIn(dataFolder().path())));
}
BENCHMARK(ledgerOpenAndCheck)->Unit(benchmark::kMillisecond);

void ledgerFindBySerialFragment(benchmark::State& state) {
    ledger::Ledger& ledger = builtLedger();
    int fragment = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("%1").arg(fragment++ % 9000 + 1000, 4, 10, QLatin1Char('0')) + u'7';
        const auto found = ledger.select({.text = text, .since = {}, .after = {}, .limit = -1});
        if (!found || found->isEmpty())
            state.SkipWithError("nothing found");
    }
}
BENCHMARK(ledgerFindBySerialFragment)->Unit(benchmark::kMillisecond);

void ledgerNewestPage(benchmark::State& state) {
    ledger::Ledger& ledger = builtLedger();
    for (auto _ : state)
        benchmark::DoNotOptimize(ledger.select({.text = {}, .since = {}, .after = {}, .limit = 200}));
}
BENCHMARK(ledgerNewestPage)->Unit(benchmark::kMillisecond);

void ledgerExport(benchmark::State& state) {
    ledger::Ledger& ledger = builtLedger();
    QTemporaryDir scratch;
    for (auto _ : state) {
        const auto rows = ledger::exportCsv(ledger, {}, scratch.filePath(QStringLiteral("intake.csv")));
        if (!rows || *rows != kReports)
            state.SkipWithError("export failed");
    }
}
BENCHMARK(ledgerExport)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
