// The reconciliation statement of the last month on a demo book of 1,000,000
// entries (five accounts, ten years), whose first account has the bank's
// statement of its last year, or of all ten, brought in and matched: every
// entry has its line a day or two later, every 50th entry is still unmatched,
// and the bank adds a fee line of its own every 40 lines.

#include "BenchDatabases.h"

#include "journal/BankStatementLines.h"
#include "journal/Reconciliation.h"
#include "journal/ReconciliationLayout.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

using store::Currency;

struct Entry {
    qint64 id;
    QDate date;
    Currency debit, credit;
};

void addMatch(store::Database& db, qint64 group, qint64 entry, qint64 line) {
    store::Statement insert(
        db, QStringLiteral("INSERT INTO 银行对账 (组号, 日记帐编号, 对账单编号, 操作员, "
                           "操作日期) VALUES (?1, ?2, NULL, '出纳', 46000), "
                           "(?1, NULL, ?3, '出纳', 46000)"));
    insert.bindInt64(1, group);
    insert.bindInt64(2, entry);
    insert.bindInt64(3, line);
    insert.step();
}

QList<Entry> entriesSince(store::Database& db, const QString& account, const QDate& start) {
    QList<Entry> book;
    store::Statement read(db,
                          QStringLiteral("SELECT 编号, 日期, 借方, 贷方 FROM 银行日记帐 "
                                         "WHERE 开户银行 = ? AND 日期 >= ? ORDER BY 日期, 编号"));
    read.bindText(1, account);
    read.bind(2, store::DateTime::fromDate(start).serial());
    while (read.step())
        book.append({read.int64(0), store::DateTime::fromSerial(read.real(1)).date(),
                     Currency::fromRaw(read.int64(2)), Currency::fromRaw(read.int64(3))});
    return book;
}

Currency balanceBefore(store::Database& db, const QString& account, const QDate& day) {
    store::Statement sum(db, QStringLiteral("SELECT sum(借方) - sum(贷方) FROM 银行日记帐 "
                                            "WHERE 开户银行 = ? AND 日期 < ?"));
    sum.bindText(1, account);
    sum.bind(2, store::DateTime::fromDate(day).serial());
    sum.step();
    return Currency::fromRaw(sum.int64(0));
}

// The statement of the account from `start`, brought in and matched in one transaction.
void addStatement(store::Database& db, const QString& account, const QDate& start) {
    const QList<Entry> book = entriesSince(db, account, start);
    Currency balance = balanceBefore(db, account, start);
    store::Transaction unit(db);
    journal::BankStatementLines lines(db);
    qint64 group = 0;
    for (qsizetype i = 0; i < book.size(); ++i) {
        const Entry& e = book[i];
        if (i % 50 == 49)
            continue; // not at the bank yet
        journal::StatementLine line;
        line.account = account;
        line.date = e.date.addDays(1 + i % 2);
        line.text = QStringLiteral("转账");
        line.in = e.debit;
        line.out = e.credit;
        balance += e.debit - e.credit;
        line.balance = balance;
        line.reference = QString::number(e.id);
        line.sourceFile = QStringLiteral("对账单.xlsx");
        line.sourceLine = int(i + 2);
        line.operatorName = QStringLiteral("出纳");
        line.importedAt = QDateTime(start, QTime(9, 0));
        lines.insert(line);
        addMatch(db, ++group, e.id, line.id);
        if (i % 40 == 39) {
            journal::StatementLine fee = line;
            fee.text = QStringLiteral("手续费");
            fee.in = Currency();
            fee.out = Currency::fromRaw(50000);
            balance -= fee.out;
            fee.balance = balance;
            fee.reference.clear();
            lines.insert(fee);
        }
    }
    unit.commit();
}

// A copy of the demo book with the statement of the first account's last
// `months` months; made once per size beside the demo books, under another
// name until it is whole.
QString bookWithStatement(int entries, int months) {
    const QString path =
        QStringLiteral("%1/reconcile-%2-%3m.mdb").arg(bench::dataFolder()).arg(entries).arg(months);
    if (QFile::exists(path))
        return path;
    const QString building = path + QStringLiteral(".building");
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(building + QLatin1String(suffix));
    QFile::copy(bench::demoDatabase(entries, 500), building);
    {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(building));
        c.open();
        const QDate lastDay = journal::monthEnd(bench::closingDate(c).date());
        addStatement(c.database(), bench::firstBankAccount(c),
                     lastDay.addMonths(-months).addDays(1));
        c.database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QFile::rename(building, path);
    return path;
}

// What 调节 does: the statement reckoned and laid out as the window shows it.
void BM_ReconcileMonth(benchmark::State& state) {
    store::Connection c;
    c.setConnectionString(store::ConnectionString::forFile(
        bookWithStatement(int(state.range(0)), int(state.range(1)))));
    c.open();
    const QString account = bench::firstBankAccount(c);
    const QDate lastDay = journal::monthEnd(bench::closingDate(c).date());
    int items = 0;
    for (auto _ : state) {
        const journal::Reconciliation r = journal::reconcile(c.database(), account, lastDay);
        if (r.gap != journal::ReconciliationGap::None) {
            state.SkipWithError("no statement");
            break;
        }
        benchmark::DoNotOptimize(journal::reconciliationTable(r));
        items = int(r.bankReceipts.size() + r.bankPayments.size() + r.bookReceipts.size() +
                    r.bookPayments.size());
    }
    state.counters["items"] = items;
}
BENCHMARK(BM_ReconcileMonth)
    ->Args({1000000, 12})
    ->Args({1000000, 120})
    ->ArgNames({"entries", "statementMonths"})
    ->Unit(benchmark::kMillisecond);

} // namespace
