// The automatic matching of a year's bank statement of 10,000 lines against
// an account of 100,000 entries over ten years, and the 银行对账 window's
// three grids of one month once the year is matched.

#include "BenchDatabases.h"

#include "journal/BankMatching.h"
#include "journal/BankStatementLines.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

const QString kAccount = QStringLiteral("工商银行基本户");
constexpr int kEntries = 100000;
constexpr int kLines = 10000;
const QDate kFirstDay(2016, 1, 1);
const journal::MatchPeriod kLastYear{QDate(2025, 1, 1), QDate(2025, 12, 31)};

// 10,000 entries a year for ten years; the last year's, but every 25th, come
// back on the statement up to three days later, every third with the
// voucher number as its reference; the bank's own lines (fees, interest)
// make up the 10,000.
void writeBook(const QString& path) {
    store::createDatabaseFile(path, store::standardPassword());
    store::Connection c;
    c.setConnectionString(store::ConnectionString::forFile(path));
    c.open();
    store::Database& db = c.database();
    store::Transaction unit(db);
    store::Statement entry(
        db, QStringLiteral("insert into 银行日记帐 (开户银行, 日期, 凭证号, 摘要, 属性, "
                           "借方, 贷方, 余额) values (?, ?, ?, ?, ?, ?, ?, 0)"));
    journal::BankStatementLines statement(db);
    int lines = 0;
    for (int i = 0; i < kEntries; ++i) {
        const QDate day = kFirstDay.addDays(qint64(i) * 3653 / kEntries);
        const bool in = i % 3 != 0;
        // One in ten is a round sum, met several times within a week.
        const qint64 raw = i % 10 == 0 ? qint64(500 << (i / 10 % 4)) * 10000
                                       : (100 + qint64(i) * 7919 % 40000) * 100;
        const QString voucher = QString::number(i);
        entry.reset();
        entry.bindText(1, kAccount);
        entry.bind(2, store::DateTime::fromDate(day).serial());
        entry.bindText(3, voucher);
        entry.bindText(4, in ? QStringLiteral("销售收入") : QStringLiteral("办公费"));
        entry.bindText(5, in ? QStringLiteral("增加") : QStringLiteral("减少"));
        entry.bind(6, in ? QVariant(raw) : QVariant());
        entry.bind(7, in ? QVariant() : QVariant(raw));
        entry.step();
        if (!kLastYear.contains(day) || i % 25 == 0 || lines == kLines)
            continue;
        journal::StatementLine line;
        line.account = kAccount;
        line.date = day.addDays(i % 4);
        line.text = in ? QStringLiteral("转账收入") : QStringLiteral("转账支出");
        (in ? line.in : line.out) = store::Currency::fromRaw(raw);
        line.reference = i % 3 == 0 ? voucher : QString();
        line.sourceFile = QStringLiteral("对账单.xlsx");
        line.importedAt = QDateTime(QDate(2026, 1, 5), QTime(9, 0));
        statement.insert(line);
        ++lines;
    }
    for (int i = 0; lines < kLines; ++i, ++lines) {
        journal::StatementLine fee;
        fee.account = kAccount;
        fee.date = kLastYear.from.addDays(i % 365);
        fee.text = QStringLiteral("手续费");
        fee.out = store::Currency::fromRaw(35000 + i);
        fee.sourceFile = QStringLiteral("对账单.xlsx");
        fee.importedAt = QDateTime(QDate(2026, 1, 5), QTime(9, 0));
        statement.insert(fee);
    }
    unit.commit();
    db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

std::unique_ptr<store::Connection> openMatchBook() {
    const QString path = bench::dataFolder() + QStringLiteral("/match-100000.mdb");
    if (!QFileInfo::exists(path)) {
        const QString building = path + QStringLiteral(".building");
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(building + QLatin1String(suffix));
        writeBook(building);
        QFile::rename(building, path);
    }
    auto c = std::make_unique<store::Connection>();
    c->setConnectionString(store::ConnectionString::forFile(path));
    c->open();
    return c;
}

void BM_MatchYear(benchmark::State& state) {
    const auto c = openMatchBook();
    journal::BankMatching matching(c->database(), QStringLiteral("系统管理员"));
    qsizetype pairs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        c->database().exec(QStringLiteral("delete from 银行对账"));
        state.ResumeTiming();
        pairs = matching.matchAutomatically(kAccount, kLastYear, 3).size();
    }
    state.counters["pairs"] = double(pairs);
}
BENCHMARK(BM_MatchYear)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same statement matched again once it is matched: every pair stays.
void BM_MatchMatchedYear(benchmark::State& state) {
    const auto c = openMatchBook();
    journal::BankMatching matching(c->database(), QStringLiteral("系统管理员"));
    c->database().exec(QStringLiteral("delete from 银行对账"));
    matching.matchAutomatically(kAccount, kLastYear, 3);
    for (auto _ : state) {
        if (!matching.matchAutomatically(kAccount, kLastYear, 3).isEmpty())
            state.SkipWithError("a matched line was matched again");
    }
}
BENCHMARK(BM_MatchMatchedYear)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MatchingMonthGrids(benchmark::State& state) {
    const auto c = openMatchBook();
    journal::BankMatching(c->database(), QStringLiteral("系统管理员"))
        .matchAutomatically(kAccount, kLastYear, 3);
    const journal::MatchPeriod june{QDate(2025, 6, 1), QDate(2025, 6, 30)};
    store::Query entries(c.get());
    store::Query lines(c.get());
    store::Query matched(c.get());
    for (auto _ : state) {
        entries.openWith(journal::BankMatching::unmatchedEntriesStatement(kAccount, june));
        lines.openWith(journal::BankMatching::unmatchedLinesStatement(kAccount, june));
        matched.openWith(journal::BankMatching::matchedStatement(kAccount, june));
        benchmark::DoNotOptimize(matched.recordCount());
    }
    state.counters["matched"] = double(matched.recordCount());
}
BENCHMARK(BM_MatchingMonthGrids)->Unit(benchmark::kMillisecond);

} // namespace
