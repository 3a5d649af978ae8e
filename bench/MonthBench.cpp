// Benchmarks over generated demo databases, made once and kept in
// TALLOMER_BENCH_DATA (default: bench/data under the build folder).

#include "tools/DemoData.h"

#include "journal/BalanceRecomputation.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/ConnectionString.h"
#include "store/NewDatabase.h"
#include "store/Query.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

QString dataFolder() {
    const QByteArray env = qgetenv("TALLOMER_BENCH_DATA");
    const QString folder = env.isEmpty() ? QStringLiteral("bench-data") : QString::fromLocal8Bit(env);
    QDir().mkpath(folder);
    return folder;
}

// A demo database of `entries` entries over `years` years, made on first use.
QString demoDatabase(int entries, int years, int summaries) {
    const QString path = QStringLiteral("%1/demo-%2-%3y-%4s.mdb").arg(dataFolder()).arg(entries).arg(years).arg(summaries);
    if (!QFileInfo::exists(path)) {
        const QString building = path + QStringLiteral(".building");
        QFile::remove(building);
        store::createDatabaseFile(building, store::standardPassword());
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(building));
        c.open();
        tools::DemoOptions options;
        options.entries = entries;
        options.years = years;
        options.summaries = summaries;
        options.bankAccounts = 5;
        tools::addDemoData(c, options);
        c.database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        c.close();
        QFile::rename(building, path);
    }
    return path;
}

store::DateTime closingDate(store::Query& q) {
    q.openWith({QStringLiteral("select * from 关帐日期")});
    const store::DateTime d = q.fieldByName(QStringLiteral("关帐日期")).asDateTime();
    q.close();
    return d;
}

// One month of about 5,000 cash entries out of 100,000 entries in all.
void BM_OpenCashMonth(benchmark::State& state) {
    store::Connection c;
    c.setConnectionString(store::ConnectionString::forFile(demoDatabase(100000, 1, 0)));
    c.open();
    store::Query q(&c);
    const store::BookkeepingPeriod period(closingDate(q));
    int rows = 0;
    for (auto _ : state) {
        q.openWith(journal::monthQuery(journal::JournalKind::Cash, period));
        const int columns = q.fieldCount();
        for (q.first(); !q.eof(); q.next())
            for (int i = 0; i < columns; ++i)
                benchmark::DoNotOptimize(q.field(i).asString());
        rows = q.recordCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenCashMonth)->Unit(benchmark::kMillisecond);

void BM_RecomputeCashMonth(benchmark::State& state) {
    store::Connection c;
    c.setConnectionString(store::ConnectionString::forFile(demoDatabase(100000, 1, 0)));
    c.open();
    store::Query q(&c);
    const store::BookkeepingPeriod period(closingDate(q));
    int rows = 0;
    for (auto _ : state) {
        // Spoil the balances first so that every row is written again.
        c.database().exec(QStringLiteral("update 现金日记帐 set 余额=0 where ") + period.clause());
        journal::BalanceRecomputation::run(q, journal::JournalKind::Cash, period);
        rows = q.recordCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_RecomputeCashMonth)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
