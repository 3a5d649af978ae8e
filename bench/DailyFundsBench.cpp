// The daily funds report of the closing month for every account (the cash
// box and five bank accounts) on the demo books: the balances before the
// month summed over all earlier entries, then the month's days.

#include "BenchDatabases.h"

#include "stats/DailyFunds.h"

#include <benchmark/benchmark.h>

namespace {

void BM_DailyFundsMonth(benchmark::State& state) {
    const auto connection = bench::openDemo(int(state.range(0)), 500);
    const QDate closing = bench::closingDate(*connection).date();
    stats::DailyFundsCriteria criteria;
    criteria.from = QDate(closing.year(), closing.month(), 1);
    criteria.to = criteria.from.addMonths(1).addDays(-1);
    criteria.everyDay = state.range(1) != 0;
    qsizetype rows = 0;
    for (auto _ : state) {
        const stats::DailyFundsReport report = stats::dailyFunds(connection->database(), criteria);
        rows = report.rows.size();
        benchmark::DoNotOptimize(report);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_DailyFundsMonth)
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->ArgNames({"entries", "everyDay"})
    ->Unit(benchmark::kMillisecond);

} // namespace
