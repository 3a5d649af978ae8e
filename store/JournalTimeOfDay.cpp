#include "JournalTimeOfDay.h"

#include "Database.h"
#include "Statement.h"

namespace store {

std::vector<TimedJournalRow> journalRowsWithTimeOfDay(const Database& db) {
    std::vector<TimedJournalRow> rows;
    for (const JournalKind kind : {JournalKind::Cash, JournalKind::Bank}) {
        // A day alone is a whole number of days; text and null carry no time to speak of.
        // A server keeps every date as a double.
        const QString fraction =
            db.isServer()
                ? QStringLiteral("日期 <> trunc(日期)")
                : QStringLiteral("typeof(日期) = 'real' and 日期 <> cast(日期 as integer)");
        Statement timed(db, QStringLiteral("select 编号, 日期 from %1 where %2 order by 编号")
                                .arg(journalTable(kind), fraction));
        while (timed.step())
            rows.push_back({kind, timed.int64(0), DateTime::fromSerial(timed.real(1))});
    }
    return rows;
}

} // namespace store
