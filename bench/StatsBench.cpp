// The statistics windows' fills on demo databases: totals by summary over a
// year, totals by month, totals of one voucher, and the chart's table.

#include "BenchDatabases.h"

#include "stats/ChartLaunch.h"
#include "stats/StatisticsFill.h"
#include "store/BookkeepingPeriod.h"
#include "store/Database.h"
#include "store/Query.h"

#include <benchmark/benchmark.h>

namespace {

using store::JournalKind;

void demoSizes(benchmark::internal::Benchmark* b) {
    for (int entries : {10000, 100000, 1000000})
        b->Args({entries, 500});
    b->ArgNames({"entries", "summaries"})->Unit(benchmark::kMillisecond);
}

void withFewSummaries(benchmark::internal::Benchmark* b) {
    for (int entries : {10000, 100000, 1000000})
        b->Args({entries, 50});
    demoSizes(b);
}

// The twelve months that end with the closing month.
stats::SummaryCriteria yearEndingWithClosing(store::Connection& c) {
    const store::BookkeepingPeriod closing(bench::closingDate(c));
    stats::SummaryCriteria criteria;
    criteria.kind = JournalKind::Cash;
    criteria.fromText = store::shortDateText(closing.firstDay().addMonths(-11));
    criteria.toText = closing.lastDayText();
    return criteria;
}

void summaryFill(benchmark::State& state, const QString& voucher) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    stats::SummaryCriteria criteria = yearEndingWithClosing(*c);
    criteria.voucher = voucher;
    store::Query scratch(c.get());
    store::Query catalogue(c.get());
    store::Query sums(c.get());
    for (auto _ : state)
        stats::fillSummaryTotals(scratch, catalogue, sums, criteria);
    state.counters["rows"] = scratch.recordCount();
}

void BM_SummaryFill(benchmark::State& state) { summaryFill(state, QString()); }
BENCHMARK(BM_SummaryFill)->Apply(withFewSummaries);

// The bank journal's statistics by summary for one account.
void BM_BankSummaryFill(benchmark::State& state) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    stats::SummaryCriteria criteria = yearEndingWithClosing(*c);
    criteria.kind = JournalKind::Bank;
    criteria.bank = bench::firstBankAccount(*c);
    store::Query scratch(c.get());
    store::Query catalogue(c.get());
    store::Query sums(c.get());
    for (auto _ : state)
        stats::fillSummaryTotals(scratch, catalogue, sums, criteria);
    state.counters["rows"] = scratch.recordCount();
}
BENCHMARK(BM_BankSummaryFill)->Apply(demoSizes);

// The demo numbers vouchers per month from 0001; this one recurs every month.
void BM_VoucherFill(benchmark::State& state) { summaryFill(state, QStringLiteral("0007")); }
BENCHMARK(BM_VoucherFill)->Apply(demoSizes);

void BM_MonthFill(benchmark::State& state) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    const int year = store::BookkeepingPeriod(bench::closingDate(*c)).year();
    store::Query scratch(c.get());
    store::Query sums(c.get());
    for (auto _ : state)
        stats::fillMonthTotals(scratch, sums, JournalKind::Cash, year, QString());
    state.counters["rows"] = scratch.recordCount();
}
BENCHMARK(BM_MonthFill)->Apply(demoSizes);

// The chart window's table, from the month totals, emptied again as closing the window does.
void BM_ChartFill(benchmark::State& state) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    const int year = store::BookkeepingPeriod(bench::closingDate(*c)).year();
    store::Query months(c.get());
    store::Query sums(c.get());
    stats::fillMonthTotals(months, sums, JournalKind::Cash, year, QString());
    store::Query table(c.get());
    for (auto _ : state) {
        table.openWith({QStringLiteral("select * from 图形显示")});
        stats::fillChartTable(months, table);
        state.PauseTiming();
        table.close();
        c->database().exec(QStringLiteral("delete from 图形显示"));
        state.ResumeTiming();
    }
    state.counters["rows"] = months.recordCount();
}
BENCHMARK(BM_ChartFill)->Apply(demoSizes);

} // namespace
