#pragma once

#include "store/JournalKind.h"

#include <QString>
#include <QStringList>

namespace store {
class BookkeepingPeriod;
}

namespace journal {

using store::JournalKind;
using store::journalTable;

/// The three lines of the month query: the period's entries (bank: of one
/// account) in journal order.
QStringList monthQuery(JournalKind kind, const store::BookkeepingPeriod& period,
                       const QString& bankAccount = QString());

} // namespace journal
