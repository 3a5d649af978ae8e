#pragma once

#include "JournalKind.h"

#include <QString>

namespace store {
class BookkeepingPeriod;
class Query;
} // namespace store

namespace journal {

/// Recomputes the running balances of one month: reloads the month query and
/// walks it in journal order from 0, each balance the one before plus the
/// debit minus the credit, exact. The pass runs in one transaction: it is
/// stored whole or, if it fails, not at all (the query is then reloaded and
/// the error passed on). Views of the query are suspended meanwhile and
/// always resumed; the last row is current afterwards.
class BalanceRecomputation {
public:
    static void run(store::Query& query, JournalKind kind, const store::BookkeepingPeriod& period,
                    const QString& bankAccount = QString());
};

} // namespace journal
