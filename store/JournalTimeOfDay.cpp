#include "JournalTimeOfDay.h"

#include "Database.h"
#include "Statement.h"

namespace store {

std::vector<TimedJournalRow> journalRowsWithTimeOfDay(const Database& db) {
    std::vector<TimedJournalRow> rows;
    for (const JournalKind kind : {JournalKind::Cash, JournalKind::Bank}) {
        // A day alone is a whole number of days; text and null carry no time to speak of.
        // Only a file book's date column can hold a text.
        Statement timed(db, QStringLiteral("select 编号, 日期 from %1 where %2 "
                                           "and 日期 <> cast(日期 as integer) order by 编号")
                                .arg(journalTable(kind),
                                     db.isServer() ? QStringLiteral("1 = 1")
                                                   : QStringLiteral("typeof(日期) = 'real'")));
        while (timed.step())
            rows.push_back({kind, timed.int64(0), DateTime::fromSerial(timed.real(1))});
    }
    return rows;
}

} // namespace store
