#pragma once

#include <QString>
#include <QStringList>

namespace store {
class BookkeepingPeriod;
}

namespace journal {

/// The two day books: cash, and bank whose entries belong to one account each.
enum class JournalKind { Cash, Bank };

QString journalTable(JournalKind kind);

/// The three lines of the month query: the period's entries (bank: of one
/// account) in journal order.
QStringList monthQuery(JournalKind kind, const store::BookkeepingPeriod& period,
                       const QString& bankAccount = QString());

} // namespace journal
