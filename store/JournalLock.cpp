#include "JournalLock.h"

#include "Database.h"
#include "Statement.h"

#include <QByteArrayView>

namespace store {

namespace {

// The first half of every key: the journal and a checksum of the account.
// Two accounts sharing a checksum only wait on each other; they never mix.
qint64 journalKey(JournalKind kind, const QString& bankAccount) {
    const quint16 account = qChecksum(QByteArrayView(bankAccount.toUtf8()));
    return (qint64(kind == JournalKind::Bank ? 2 : 1) << 16) | account;
}

void lock(Database& db, qint64 first, qint64 second) {
    if (!db.isServer())
        return;
    Statement s(db, QStringLiteral("select pg_advisory_xact_lock(cast(? as integer), "
                                   "cast(? as integer))"));
    s.bindInt64(1, first);
    s.bindInt64(2, second);
    s.step();
}

} // namespace

void JournalLock::lockMonth(Database& db, JournalKind kind, int year, int month,
                            const QString& bankAccount) {
    lock(db, journalKey(kind, bankAccount), qint64(year) * 100 + month);
}

void JournalLock::lockCounters(Database& db, JournalKind kind) {
    // Month 0 of no account: apart from every month's key.
    lock(db, journalKey(kind, QString()), 0);
}

} // namespace store
