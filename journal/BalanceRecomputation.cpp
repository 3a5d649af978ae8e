#include "BalanceRecomputation.h"

#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/JournalLock.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/Transaction.h"

namespace journal {

namespace {

/// Resumes a query's views however the pass ends.
class ControlsSuspended {
public:
    explicit ControlsSuspended(store::Query& query) : m_query(query) { m_query.disableControls(); }
    ~ControlsSuspended() { m_query.enableControls(); }

private:
    store::Query& m_query;
};

/// Walks the month row by row, each changed balance posted as it goes.
void writeRowByRow(store::Query& query) {
    const store::Field debit = query.fieldByName(QStringLiteral("借方"));
    const store::Field credit = query.fieldByName(QStringLiteral("贷方"));
    store::Field balance = query.fieldByName(QStringLiteral("余额"));
    store::Currency running;
    query.first();
    while (!query.eof()) {
        const store::Currency next = running + debit.asCurrency() - credit.asCurrency();
        query.edit();
        balance.setCurrency(next);
        running = balance.asCurrency();
        query.next();
    }
    if (query.state() != store::QueryState::Browse)
        query.post();
}

/// The same balances, written in one statement: on a server each statement
/// is an exchange over the network, and a month holds thousands of rows.
void writeAtOnce(store::Query& query, JournalKind kind) {
    const int debit = query.fieldIndex(QStringLiteral("借方"));
    const int credit = query.fieldIndex(QStringLiteral("贷方"));
    const int balance = query.fieldIndex(QStringLiteral("余额"));
    QList<QVariant> balances;
    QByteArray rowids = "{";
    QByteArray amounts = "{";
    store::Currency running;
    for (int row = 0; row < query.recordCount(); ++row) {
        running = running +
                  store::valueToCurrency(query.valueAt(row, debit), query.fieldType(debit)) -
                  store::valueToCurrency(query.valueAt(row, credit), query.fieldType(credit));
        balances << QVariant(qlonglong(running.raw()));
        if (row > 0) {
            rowids += ',';
            amounts += ',';
        }
        rowids += QByteArray::number(query.rowIdAt(row));
        amounts += QByteArray::number(qlonglong(running.raw()));
    }
    rowids += '}';
    amounts += '}';
    store::Statement update(
        query.connection()->database(),
        QStringLiteral("UPDATE %1 SET 余额 = v.b FROM unnest(?::bigint[], ?::bigint[]) AS v(id, b) "
                       "WHERE %1._rowid = v.id")
            .arg(store::journalTable(kind)));
    update.bindText(1, QString::fromLatin1(rowids));
    update.bindText(2, QString::fromLatin1(amounts));
    update.step();
    for (int row = 0; row < balances.size(); ++row)
        query.setStoredValue(row, balance, balances.at(row));
}

} // namespace

void BalanceRecomputation::run(store::Query& query, JournalKind kind,
                               const store::BookkeepingPeriod& period, const QString& bankAccount) {
    const QStringList sql = monthQuery(kind, period, bankAccount);
    ControlsSuspended suspended(query);
    try {
        store::Database& db = query.connection()->database();
        store::Transaction unit(db);
        // Another desk's save into this month waits until this pass is stored,
        // and this pass reads the month only after that desk's save is.
        store::JournalLock::lockMonth(db, kind, period.year(), period.month(), bankAccount);
        query.openWith(sql);
        if (db.isServer())
            writeAtOnce(query, kind);
        else
            writeRowByRow(query);
        unit.commit();
    } catch (...) {
        query.cancel();
        query.openWith(sql);
        throw;
    }
    query.last();
}

} // namespace journal
