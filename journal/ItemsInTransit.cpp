#include "ItemsInTransit.h"

#include "BankMatching.h"

#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QHash>
#include <QSet>

namespace journal {

namespace {

using store::Currency;

// An item with the match it belongs to (a row per match, 0 for none) and its
// money in and out: an entry's 借方 and 贷方, a line's 收入 and 支出.
struct Membership {
    qint64 id = 0;
    qint64 group = 0;
    Currency in;
    Currency out;
};

QList<Membership> memberships(store::Database& db, const QString& sql, const QString& account,
                              double from, double end) {
    QList<Membership> rows;
    store::Statement read(db, sql);
    read.bindText(1, account);
    read.bind(2, from);
    read.bind(3, end);
    while (read.step()) {
        rows.append({read.int64(0), read.isNull(1) ? 0 : read.int64(1), read.amount(2),
                     Currency::fromRaw(read.isNull(3) ? 0 : read.int64(3))});
    }
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

// What a match holds of the items read: the sums of each side.
struct Sides {
    Currency entriesIn, entriesOut, linesIn, linesOut;
    bool hasEntries = false;
    bool hasLines = false;

    bool agree() const {
        return hasEntries && hasLines && entriesIn == linesIn && entriesOut == linesOut;
    }
};

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
        QStringLiteral(
            "SELECT j.编号, m.组号, j.借方, j.贷方 FROM 银行日记帐 j LEFT JOIN 银行对账 m "
            "ON m.日记帐编号 = j.编号 WHERE j.开户银行 = ?1 AND j.日期 >= ?2 "
            "AND j.日期 < ?3 ORDER BY j.日期, j.编号"),
        account, from, end);
    const QList<Membership> lines = memberships(
        db,
        QStringLiteral(
            "SELECT s.编号, m.组号, s.收入, s.支出 FROM 银行对账单 s LEFT JOIN 银行对账 m "
            "ON m.对账单编号 = s.编号 WHERE s.开户银行 = ?1 AND s.日期 >= ?2 "
            "AND s.日期 < ?3 ORDER BY s.日期, s.编号"),
        account, from, end);

    QHash<qint64, Sides> groups;
    for (const Membership& row : entries) {
        if (row.group == 0)
            continue;
        Sides& sides = groups[row.group];
        sides.entriesIn += row.in;
        sides.entriesOut += row.out;
        sides.hasEntries = true;
    }
    for (const Membership& row : lines) {
        if (row.group == 0)
            continue;
        Sides& sides = groups[row.group];
        sides.linesIn += row.in;
        sides.linesOut += row.out;
        sides.hasLines = true;
    }

    // A match settles its members once none of them is dated at or after
    // `end` and it is intact, as the matching counts it. Where the items read
    // agree side by side it is; where they do not, the match may still hold
    // an entry from before the start (a cheque written before the first
    // statement and cashed after it), which the book is asked about.
    const QSet<qint64> late = lateMatches(db, account, end);
    store::Statement intact(
        db, QStringLiteral("SELECT %1").arg(BankMatching::intactGroup(QStringLiteral("?"))));
    QSet<qint64> settled;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        if (late.contains(it.key()) || !it->hasLines)
            continue;
        bool whole = it->agree();
        if (!whole) {
            intact.reset();
            intact.bindInt64(1, it.key());
            whole = intact.step() && intact.int64(0) != 0;
        }
        if (whole)
            settled.insert(it.key());
    }
    return {unsettled(entries, settled), unsettled(lines, settled)};
}

} // namespace journal
