// The journal windows' work on demo databases of 10,000 to 1,000,000
// entries: opening the database, opening and reading a month, recomputing
// the fullest month and searching every month.

#include "BenchDatabases.h"

#include "journal/BalanceRecomputation.h"
#include "journal/JournalKind.h"
#include "journal/JournalLayout.h"
#include "journal/SearchCriteria.h"
#include "lists/CellText.h"
#include "lists/SnapshotBuilder.h"
#include "store/BookkeepingPeriod.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"

#include <benchmark/benchmark.h>

namespace {

using journal::JournalKind;

void demoSizes(benchmark::internal::Benchmark* b) {
    for (int entries : {10000, 100000, 1000000})
        b->Args({entries, 500});
    b->ArgNames({"entries", "summaries"})->Unit(benchmark::kMillisecond);
}

// What the journal window reads when a month opens: every cell as the grid
// shows it, and the footer over every record.
int readAsTheGridDoes(store::Query& q, JournalKind kind) {
    const QList<lists::GridColumn> columns = journal::journalColumns(kind);
    QList<int> fields;
    for (const lists::GridColumn& c : columns)
        fields << q.fieldIndex(c.fieldName);
    qsizetype characters = 0;
    for (int row = 0; row < q.recordCount(); ++row) {
        for (int field : fields)
            characters += lists::cellText(q.valueAt(row, field), q.fieldType(field)).size();
    }
    for (const lists::GridColumn& c : columns)
        benchmark::DoNotOptimize(lists::computeFooter(q, c));
    return int(characters);
}

// Connect, read the closing date and the company row, as the main window
// does before the login.
void BM_OpenDatabase(benchmark::State& state) {
    const QString path = bench::demoBook(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(path));
        c.open();
        store::Query q(&c);
        q.openWith({QStringLiteral("select * from 关帐日期")});
        benchmark::DoNotOptimize(q.fieldByName(QStringLiteral("关帐日期")).asDateTime());
        q.close();
        q.openWith({QStringLiteral("select * from 公司信息")});
        benchmark::DoNotOptimize(q.fieldByName(QStringLiteral("动态文字")).asString());
        benchmark::DoNotOptimize(q.fieldByName(QStringLiteral("系统标题")).asString());
        q.close();
        c.close();
    }
}
BENCHMARK(BM_OpenDatabase)->Apply(demoSizes);

void openMonth(benchmark::State& state, JournalKind kind) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    const store::BookkeepingPeriod period(
        store::DateTime::fromDate(bench::fullestCashMonth(*c)));
    const QString account = kind == JournalKind::Bank ? bench::firstBankAccount(*c) : QString();
    store::Query q(c.get());
    for (auto _ : state) {
        q.openWith(journal::monthQuery(kind, period, account));
        benchmark::DoNotOptimize(readAsTheGridDoes(q, kind));
    }
    state.counters["rows"] = q.recordCount();
}

void BM_OpenCashMonth(benchmark::State& state) { openMonth(state, JournalKind::Cash); }
BENCHMARK(BM_OpenCashMonth)->Apply(demoSizes);

void BM_OpenBankMonth(benchmark::State& state) { openMonth(state, JournalKind::Bank); }
BENCHMARK(BM_OpenBankMonth)->Apply(demoSizes);

// Every balance of the month is spoiled first, so that every row is written again.
void BM_RecomputeFullestMonth(benchmark::State& state) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    const store::BookkeepingPeriod period(
        store::DateTime::fromDate(bench::fullestCashMonth(*c)));
    store::Query q(c.get());
    for (auto _ : state) {
        state.PauseTiming();
        c->database().exec(QStringLiteral("update 现金日记帐 set 余额=1 where ") + period.clause());
        state.ResumeTiming();
        journal::BalanceRecomputation::run(q, JournalKind::Cash, period);
    }
    state.counters["rows"] = q.recordCount();
}
BENCHMARK(BM_RecomputeFullestMonth)->Apply(demoSizes);

void search(benchmark::State& state, const journal::SearchFields& fields) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    const QStringList statement = journal::SearchCriteria::statement(
        JournalKind::Cash, journal::SearchCriteria::text(JournalKind::Cash, fields));
    store::Query q(c.get());
    for (auto _ : state)
        q.openWith(statement);
    state.counters["rows"] = q.recordCount();
}

// A detail that one entry in twelve holds, anywhere in ten years.
void BM_SearchText(benchmark::State& state) {
    journal::SearchFields fields;
    fields.detail = QStringLiteral("维修");
    search(state, fields);
}
BENCHMARK(BM_SearchText)->Apply(demoSizes);

// The fullest month, as a date range over every month.
void BM_SearchDateRange(benchmark::State& state) {
    const QDate month = bench::fullestCashMonth(*bench::openDemo(int(state.range(0)), int(state.range(1))));
    journal::SearchFields fields;
    fields.dateFrom = store::shortDateText(month);
    fields.dateTo = store::shortDateText(month.addMonths(1).addDays(-1));
    search(state, fields);
}
BENCHMARK(BM_SearchDateRange)->Apply(demoSizes);

} // namespace
