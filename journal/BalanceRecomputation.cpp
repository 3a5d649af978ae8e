#include "BalanceRecomputation.h"

#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Currency.h"
#include "store/JournalLock.h"
#include "store/Query.h"
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

} // namespace

void BalanceRecomputation::run(store::Query& query, JournalKind kind,
                               const store::BookkeepingPeriod& period, const QString& bankAccount) {
    const QStringList sql = monthQuery(kind, period, bankAccount);
    store::Database& db = query.connection()->database();
    ControlsSuspended suspended(query);
    try {
        store::Transaction unit(db);
        // Another desk's save into this month waits until this pass is stored,
        // and this pass reads the month only after that desk's save is.
        store::JournalLock::lockMonth(db, kind, period.year(), period.month(), bankAccount);
        query.openWith(sql);
        const store::Field debit = query.fieldByName(QStringLiteral("借方"));
        const store::Field credit = query.fieldByName(QStringLiteral("贷方"));
        store::Field balance = query.fieldByName(QStringLiteral("余额"));
        store::Currency running;
        query.first();
        while (!query.eof()) {
            const store::Currency next = running + debit.asCurrency() - credit.asCurrency();
            // A balance already right is left alone: rows another pass stored stay as they are.
            if (balance.isNull() || balance.asCurrency() != next) {
                query.edit();
                balance.setCurrency(next);
            }
            running = balance.asCurrency();
            query.next();
        }
        if (query.state() != store::QueryState::Browse)
            query.post();
        unit.commit();
    } catch (...) {
        query.cancel();
        query.openWith(sql);
        throw;
    }
    query.last();
}

} // namespace journal
