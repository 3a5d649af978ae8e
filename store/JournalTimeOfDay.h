#pragma once

#include "DateTime.h"
#include "JournalKind.h"

#include <QtGlobal>

#include <vector>

namespace store {

class Database;

/// A journal entry whose 日期 carries a time of day. The program writes
/// calendar days only; an entry with a time on its month's last day falls
/// outside the month query, so the month's list and balances miss it.
struct TimedJournalRow {
    JournalKind kind;
    qint64 id; // 编号
    DateTime date;
};

/// Every such entry, the cash journal's first, each journal in 编号 order.
/// One scan of each journal; throws EngineError when a journal is missing.
std::vector<TimedJournalRow> journalRowsWithTimeOfDay(const Database& db);

} // namespace store
