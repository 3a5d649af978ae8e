#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace store {
class Database;
}

namespace journal {

/// The bank journal entries and statement lines of one account that no match
/// settles by a moment: entries from `start` and lines before `end`, each in
/// the order of its day and then its number.
///
/// A match settles its members once it is intact as the matching counts it
/// (BankMatching) and none of its members is dated at or after `end`. Read through the
/// indexes of the account's days and of the matches' members, so that the
/// cost follows the account's items from `start` on, not the book's size.
struct ItemsInTransit {
    QList<qint64> entries; // 银行日记帐.编号
    QList<qint64> lines;   // 银行对账单.编号

    /// `end` is a day serial: the first moment after the day reconciled.
    static ItemsInTransit find(store::Database& db, const QString& account, const QDate& start,
                               double end);
};

} // namespace journal
