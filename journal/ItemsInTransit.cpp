#include "ItemsInTransit.h"

#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QHash>
#include <QSet>

namespace journal {

namespace {

// An item with the match it belongs to; a row per match, 0 for none.
struct Membership {
    qint64 id = 0;
    qint64 group = 0;
};

QList<Membership> memberships(store::Database& db, const QString& sql, const QString& account,
                              double from, double end) {
    QList<Membership> rows;
    store::Statement read(db, sql);
    read.bindText(1, account);
    read.bind(2, from);
    read.bind(3, end);
    while (read.step())
        rows.append({read.int64(0), read.isNull(1) ? 0 : read.int64(1)});
    return rows;
}

// The matches with a member of the account dated at or after `end`.
QSet<qint64> lateMatches(store::Database& db, const QString& account, double end) {
    QSet<qint64> groups;
    store::Statement read(
        db,
        QStringLiteral("SELECT m.组号 FROM 银行日记帐 j JOIN 银行对账 m ON m.日记帐编号 = j.编号 "
                       "WHERE j.开户银行 = ?1 AND j.日期 >= ?2 UNION "
                       "SELECT m.组号 FROM 银行对账单 s JOIN 银行对账 m ON m.对账单编号 = s.编号 "
                       "WHERE s.开户银行 = ?1 AND s.日期 >= ?2"));
    read.bindText(1, account);
    read.bind(2, end);
    while (read.step())
        groups.insert(read.int64(0));
    return groups;
}

QSet<qint64> groupsOf(const QList<Membership>& rows) {
    QSet<qint64> groups;
    for (const Membership& row : rows) {
        if (row.group != 0)
            groups.insert(row.group);
    }
    return groups;
}

// The items none of whose matches is settled, in the order read.
QList<qint64> unsettled(const QList<Membership>& rows, const QSet<qint64>& settled) {
    QList<qint64> ids;
    QSet<qint64> done;
    for (const Membership& row : rows) {
        if (row.group != 0 && settled.contains(row.group))
            done.insert(row.id);
    }
    for (const Membership& row : rows) {
        if (!done.contains(row.id) && (ids.isEmpty() || ids.last() != row.id))
            ids.append(row.id);
    }
    return ids;
}

} // namespace

ItemsInTransit ItemsInTransit::find(store::Database& db, const QString& account, const QDate& start,
                                    double end) {
    const double from = store::DateTime::fromDate(start).serial();
    const QList<Membership> entries = memberships(
        db,
        QStringLiteral("SELECT j.编号, m.组号 FROM 银行日记帐 j LEFT JOIN 银行对账 m "
                       "ON m.日记帐编号 = j.编号 WHERE j.开户银行 = ?1 AND j.日期 >= ?2 "
                       "AND j.日期 < ?3 ORDER BY j.日期, j.编号"),
        account, from, end);
    const QList<Membership> lines = memberships(
        db,
        QStringLiteral("SELECT s.编号, m.组号 FROM 银行对账单 s LEFT JOIN 银行对账 m "
                       "ON m.对账单编号 = s.编号 WHERE s.开户银行 = ?1 AND s.日期 >= ?2 "
                       "AND s.日期 < ?3 ORDER BY s.日期, s.编号"),
        account, from, end);

    const QSet<qint64> late = lateMatches(db, account, end);
    const QSet<qint64> withEntry = groupsOf(entries);
    // A line may be matched with an entry from before the start (a cheque
    // written before the first statement and cashed after it).
    store::Statement earlierEntry(
        db, QStringLiteral("SELECT 1 FROM 银行对账 o JOIN 银行日记帐 j ON j.编号 = o.日记帐编号 "
                           "WHERE o.组号 = ? AND j.日期 < ? LIMIT 1"));
    QSet<qint64> settled;
    for (qint64 group : groupsOf(lines)) {
        if (late.contains(group))
            continue;
        bool hasEntry = withEntry.contains(group);
        if (!hasEntry) {
            earlierEntry.reset();
            earlierEntry.bindInt64(1, group);
            earlierEntry.bind(2, end);
            hasEntry = earlierEntry.step();
        }
        if (hasEntry)
            settled.insert(group);
    }
    return {unsettled(entries, settled), unsettled(lines, settled)};
}

} // namespace journal
