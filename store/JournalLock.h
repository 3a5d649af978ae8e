#pragma once

#include "JournalKind.h"

#include <QString>

namespace store {

class Database;

/// Serialises the desks that write one journal month on a server book. Every
/// writer of a month's entries and running balances takes the month's lock
/// inside its transaction before it reads the month; the server releases it
/// at commit or rollback. A writer of several months takes them in ascending
/// (month, account) order so that two writers never wait on each other. A
/// file book has one program at a time: nothing is sent.
class JournalLock {
public:
    /// The month of `year`/`month`; `bankAccount` is empty for the cash journal.
    static void lockMonth(Database& db, JournalKind kind, int year, int month,
                          const QString& bankAccount = QString());
    /// The journal's entry counters, for a writer that numbers entries itself.
    static void lockCounters(Database& db, JournalKind kind);
};

} // namespace store
