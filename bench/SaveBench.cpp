// The entry editor's save: one new entry posted through the month query, as
// "存盘" posts it, each committed to disk on its own.

#include "BenchDatabases.h"

#include "journal/JournalKind.h"
#include "journal/JournalLayout.h"
#include "store/BookkeepingPeriod.h"
#include "store/ConnectionString.h"
#include "store/Currency.h"
#include "store/DatabaseBackup.h"
#include "store/NewDatabase.h"
#include "store/Query.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void removeBook(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

void BM_SaveEntry(benchmark::State& state) {
    const QString demo = bench::demoDatabase(int(state.range(0)), int(state.range(1)));
    // The saves go into a copy, so that the demo database stays as it was made.
    const QString book = QFileInfo(demo).absolutePath() + QStringLiteral("/save-entry.mdb");
    removeBook(book);
    store::backupDatabaseFile(demo, store::standardPassword(), book);
    {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(book));
        c.open();
        const store::BookkeepingPeriod period(bench::closingDate(c));
        store::Query q(&c);
        q.openWith(journal::monthQuery(journal::JournalKind::Cash, period));
        qint64 number = 0;
        for (auto _ : state) {
            ++number;
            q.append();
            q.fieldByName(QStringLiteral("日期")).setDateTime(store::DateTime::fromDate(period.firstDay()));
            q.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("销售收入"));
            q.fieldByName(QStringLiteral("属性")).setString(QStringLiteral("增加"));
            q.fieldByName(QStringLiteral("明细")).setString(QStringLiteral("门市零售收入"));
            q.fieldByName(QStringLiteral("借方")).setCurrency(store::Currency::fromUnits(number));
            q.fieldByName(QStringLiteral("余额")).setCurrency(store::Currency::fromUnits(number));
            q.fieldByName(QStringLiteral("操作员")).setString(QStringLiteral("系统管理员"));
            q.fieldByName(QStringLiteral("操作日期")).setDateTime(store::DateTime::now());
            q.post();
        }
    }
    removeBook(book);
}
BENCHMARK(BM_SaveEntry)
    ->Args({100000, 500})
    ->Args({1000000, 500})
    ->ArgNames({"entries", "summaries"})->Unit(benchmark::kMillisecond);

} // namespace
