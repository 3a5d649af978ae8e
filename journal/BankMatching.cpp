#include "BankMatching.h"

#include "store/AddedTables.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/SqlText.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

namespace journal {

namespace {

using store::Currency;

// Whether the row `alias` of the journal (`memberColumn` 日记帐编号) or of
// the statement (对账单编号) belongs to an intact group.
QString matchedCondition(const QString& memberColumn, const QString& alias) {
    return QStringLiteral("EXISTS (SELECT 1 FROM 银行对账 m WHERE m.%1 = %2.编号 AND %3)")
        .arg(memberColumn, alias, BankMatching::intactGroup(QStringLiteral("m.组号")));
}

const QString kEntryMatched = matchedCondition(QStringLiteral("日记帐编号"), QStringLiteral("j"));
const QString kLineMatched = matchedCondition(QStringLiteral("对账单编号"), QStringLiteral("s"));

// Days are whole: the period runs from the first moment of its first day up
// to the first moment after its last, so an entry with a time of day counts too.
QString daysLiterals(const QString& alias, const MatchPeriod& period) {
    return QStringLiteral("%1.日期 >= %2 AND %1.日期 < %3")
        .arg(alias, store::sql::dateLiteral(store::shortDateText(period.from)),
             store::sql::dateLiteral(store::shortDateText(period.to.addDays(1))));
}

double startSerial(const MatchPeriod& period) {
    return store::DateTime::fromDate(period.from).serial();
}

double endSerial(const MatchPeriod& period) {
    return store::DateTime::fromDate(period.to.addDays(1)).serial();
}

QDate dayOf(const store::Statement& row, int column) {
    return store::DateTime::fromSerial(row.real(column)).date();
}

// A reference or voucher number as the matching compares them: without
// blanks, letter case aside.
QString comparableReference(const QString& text) {
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            compact.append(c);
    }
    return compact.toCaseFolded();
}

struct Candidate {
    bool sameReference;
    qint64 distance; // days between the two
    int entry;       // index in date order
    int line;
};

bool before(const Candidate& a, const Candidate& b) {
    if (a.sameReference != b.sameReference)
        return a.sameReference;
    return std::tie(a.distance, a.entry, a.line) < std::tie(b.distance, b.entry, b.line);
}

// Sums the two amounts of one side's rows `ids`, read by `sql` (account,
// money in, money out, whether matched) and collects their accounts; the
// refusal when a row is gone or matched already.
QString sumSide(store::Database& db, const QString& sql, const QList<qint64>& ids,
                const QString& side, QSet<QString>& accounts, Currency& in, Currency& out) {
    store::Statement row(db, sql);
    for (const qint64 id : ids) {
        row.reset();
        row.bindInt64(1, id);
        if (!row.step())
            return QStringLiteral("所选的%1记录已经不存在，请重新显示！").arg(side);
        if (row.int64(3) != 0)
            return QStringLiteral("所选的%1记录已经对账，请重新显示！").arg(side);
        accounts.insert(row.text(0));
        in += Currency::fromRaw(row.int64(1));
        out += Currency::fromRaw(row.int64(2));
    }
    return QString();
}

} // namespace

QString BankMatching::intactGroup(const QString& group) {
    return QStringLiteral(
               "(SELECT count(x.日记帐编号) = count(xe.编号) "
               "AND count(x.对账单编号) = count(xs.编号) "
               "AND count(xe.编号) > 0 AND count(xs.编号) > 0 "
               "AND min(ifnull(xe.开户银行, xs.开户银行)) = max(ifnull(xe.开户银行, xs.开户银行)) "
               "AND sum(ifnull(xe.借方, 0)) = sum(ifnull(xs.收入, 0)) "
               "AND sum(ifnull(xe.贷方, 0)) = sum(ifnull(xs.支出, 0)) "
               "FROM 银行对账 x LEFT JOIN 银行日记帐 xe ON xe.编号 = x.日记帐编号 "
               "LEFT JOIN 银行对账单 xs ON xs.编号 = x.对账单编号 WHERE x.组号 = %1)")
        .arg(group);
}

BankMatching::BankMatching(store::Database& db, QString operatorName)
    : m_db(db)
    , m_operator(std::move(operatorName)) {}

BankMatching::Held BankMatching::held(Side side, const QString& account,
                                      const MatchPeriod& period) const {
    Held held;
    if (!store::hasAddedTables(m_db))
        return held;
    const bool entries = side == Side::Entries;
    store::Statement query(
        m_db, QStringLiteral("SELECT m.%1, %2 FROM 银行对账 m JOIN %3 r ON r.编号 = m.%1 "
                             "WHERE r.开户银行 = ? AND r.日期 >= ? AND r.日期 < ?")
                  .arg(entries ? QStringLiteral("日记帐编号") : QStringLiteral("对账单编号"),
                       intactGroup(QStringLiteral("m.组号")),
                       entries ? QStringLiteral("银行日记帐") : QStringLiteral("银行对账单")));
    query.bindText(1, account);
    query.bind(2, startSerial(period));
    query.bind(3, endSerial(period));
    while (query.step())
        (query.int64(1) != 0 ? held.matched : held.broken).insert(query.int64(0));
    held.broken.subtract(held.matched);
    return held;
}

QList<BankEntry> BankMatching::entries(const QString& account, const MatchPeriod& period) const {
    QList<BankEntry> entries;
    store::Statement query(
        m_db, QStringLiteral("SELECT 编号, 日期, 凭证号, 摘要, 借方, 贷方 FROM 银行日记帐 "
                             "WHERE 开户银行 = ? AND 日期 >= ? AND 日期 < ? "
                             "ORDER BY 日期, 编号"));
    query.bindText(1, account);
    query.bind(2, startSerial(period));
    query.bind(3, endSerial(period));
    while (query.step()) {
        entries.append({query.int64(0), dayOf(query, 1), query.text(2), query.text(3),
                        Currency::fromRaw(query.int64(4)), Currency::fromRaw(query.int64(5))});
    }
    return entries;
}

QList<BankEntry> BankMatching::unmatchedEntries(const QString& account,
                                                const MatchPeriod& period) const {
    QList<BankEntry> all = entries(account, period);
    const QSet<qint64> matched = held(Side::Entries, account, period).matched;
    all.removeIf([&matched](const BankEntry& e) { return matched.contains(e.id); });
    return all;
}

QList<StatementLine> BankMatching::unmatchedLines(const QString& account,
                                                  const MatchPeriod& period) const {
    QList<StatementLine> all = BankStatementLines(m_db).lines(account, period.from, period.to);
    const QSet<qint64> matched = held(Side::Lines, account, period).matched;
    all.removeIf([&matched](const StatementLine& l) { return matched.contains(l.id); });
    return all;
}

QList<MatchedPair> BankMatching::matchAutomatically(const QString& account,
                                                    const MatchPeriod& period, int days) {
    days = std::max(days, 0);
    const MatchPeriod widened{period.from.addDays(-days), period.to.addDays(days)};
    store::Transaction unit(m_db);
    const Held heldEntries = held(Side::Entries, account, widened);
    const Held heldLines = held(Side::Lines, account, widened);
    QList<BankEntry> entries = this->entries(account, widened);
    entries.removeIf([&](const BankEntry& e) { return heldEntries.matched.contains(e.id); });
    QList<StatementLine> lines = BankStatementLines(m_db).lines(account, widened.from, widened.to);
    lines.removeIf([&](const StatementLine& l) { return heldLines.matched.contains(l.id); });

    // The entries of each pair of amounts, in date order as they were read.
    QHash<std::pair<qint64, qint64>, QList<int>> byAmounts;
    for (int i = 0; i < entries.size(); ++i) {
        const BankEntry& e = entries[i];
        if (!e.debit.isZero() || !e.credit.isZero())
            byAmounts[{e.debit.raw(), e.credit.raw()}].append(i);
    }
    QList<QString> entryReferences;
    entryReferences.reserve(entries.size());
    for (const BankEntry& e : entries)
        entryReferences.append(comparableReference(e.voucher));

    std::vector<Candidate> candidates;
    for (int l = 0; l < lines.size(); ++l) {
        const StatementLine& line = lines[l];
        const auto found = byAmounts.constFind({line.in.raw(), line.out.raw()});
        if (found == byAmounts.constEnd())
            continue;
        const QList<int>& sameAmounts = *found;
        const QDate earliest = line.date.addDays(-days);
        auto it =
            std::lower_bound(sameAmounts.begin(), sameAmounts.end(), earliest,
                             [&entries](int e, const QDate& day) { return entries[e].date < day; });
        const QString reference = comparableReference(line.reference);
        for (; it != sameAmounts.end(); ++it) {
            const BankEntry& entry = entries[*it];
            const qint64 distance = line.date.daysTo(entry.date);
            if (distance > days)
                break;
            if (!period.contains(entry.date) && !period.contains(line.date))
                continue;
            candidates.push_back({!reference.isEmpty() && reference == entryReferences[*it],
                                  std::abs(distance), *it, l});
        }
    }
    std::sort(candidates.begin(), candidates.end(), before);

    std::vector<bool> entryTaken(entries.size());
    std::vector<bool> lineTaken(lines.size());
    std::vector<std::pair<int, int>> chosen; // line, entry
    for (const Candidate& c : candidates) {
        if (entryTaken[c.entry] || lineTaken[c.line])
            continue;
        entryTaken[c.entry] = lineTaken[c.line] = true;
        chosen.emplace_back(c.line, c.entry);
    }
    std::sort(chosen.begin(), chosen.end());

    QList<MatchedPair> made;
    made.reserve(qsizetype(chosen.size()));
    QList<Members> groups;
    groups.reserve(qsizetype(chosen.size()));
    QList<qint64> brokenEntries;
    QList<qint64> brokenLines;
    for (const auto& [l, e] : chosen) {
        made.append({entries[e], lines[l]});
        groups.append({{entries[e].id}, {lines[l].id}});
        if (heldEntries.broken.contains(entries[e].id))
            brokenEntries.append(entries[e].id);
        if (heldLines.broken.contains(lines[l].id))
            brokenLines.append(lines[l].id);
    }
    removeGroupsHolding(brokenEntries, brokenLines);
    insertGroups(groups);
    unit.commit();
    return made;
}

QString BankMatching::amountText(Currency amount) {
    return amount.format(amount.raw() % 100 == 0 ? 2 : 4, true);
}

QString BankMatching::checkManual(const QList<qint64>& entryIds,
                                  const QList<qint64>& lineIds) const {
    if (entryIds.isEmpty() || lineIds.isEmpty())
        return QStringLiteral("请在银行日记帐和对账单两边各选择至少一条记录！");
    QSet<QString> accounts;
    Currency debit;
    Currency credit;
    Currency in;
    Currency out;
    QString refusal =
        sumSide(m_db,
                QStringLiteral("SELECT j.开户银行, j.借方, j.贷方, %1 FROM 银行日记帐 j "
                               "WHERE j.编号 = ?")
                    .arg(kEntryMatched),
                entryIds, QStringLiteral("银行日记帐"), accounts, debit, credit);
    if (refusal.isEmpty())
        refusal = sumSide(m_db,
                          QStringLiteral("SELECT s.开户银行, s.收入, s.支出, %1 FROM 银行对账单 s "
                                         "WHERE s.编号 = ?")
                              .arg(kLineMatched),
                          lineIds, QStringLiteral("对账单"), accounts, in, out);
    if (!refusal.isEmpty())
        return refusal;
    if (accounts.size() != 1)
        return QStringLiteral("所选的记录不属于同一个开户银行，不能对账！");
    if (debit != in)
        return QStringLiteral("银行日记帐借方合计 %1 与对账单收入合计 %2 不相等，不能对账！")
            .arg(amountText(debit), amountText(in));
    if (credit != out)
        return QStringLiteral("银行日记帐贷方合计 %1 与对账单支出合计 %2 不相等，不能对账！")
            .arg(amountText(credit), amountText(out));
    return QString();
}

ManualMatch BankMatching::match(const QList<qint64>& entryIds, const QList<qint64>& lineIds) {
    auto distinct = [](QList<qint64> ids) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        return ids;
    };
    const QList<qint64> entries = distinct(entryIds);
    const QList<qint64> lines = distinct(lineIds);
    store::Transaction unit(m_db);
    ManualMatch result;
    result.refusal = checkManual(entries, lines);
    if (!result.refusal.isEmpty())
        return result;
    removeGroupsHolding(entries, lines);
    result.group = insertGroups({{entries, lines}});
    unit.commit();
    return result;
}

bool BankMatching::unmatch(qint64 group) {
    store::Transaction unit(m_db);
    store::Statement remove(m_db, QStringLiteral("DELETE FROM 银行对账 WHERE 组号 = ?"));
    remove.bindInt64(1, group);
    remove.step();
    const bool removed = m_db.changes() > 0;
    unit.commit();
    return removed;
}

void BankMatching::removeGroupsHolding(const QList<qint64>& entryIds,
                                       const QList<qint64>& lineIds) {
    const auto remove = [this](const QString& column, const QList<qint64>& ids) {
        if (ids.isEmpty())
            return;
        store::Statement statement(m_db, QStringLiteral("DELETE FROM 银行对账 WHERE 组号 IN "
                                                        "(SELECT 组号 FROM 银行对账 WHERE %1 = ?)")
                                             .arg(column));
        for (const qint64 id : ids) {
            statement.reset();
            statement.bindInt64(1, id);
            statement.step();
        }
    };
    remove(QStringLiteral("日记帐编号"), entryIds);
    remove(QStringLiteral("对账单编号"), lineIds);
}

qint64 BankMatching::insertGroups(const QList<Members>& groups) {
    store::Statement last(m_db, QStringLiteral("SELECT ifnull(max(组号), 0) + 1 FROM 银行对账"));
    last.step();
    const qint64 first = last.int64(0);
    const double stamp = store::DateTime::now().serial();
    store::Statement insert(m_db,
                            QStringLiteral("INSERT INTO 银行对账 (组号, 日记帐编号, 对账单编号, "
                                           "操作员, 操作日期) VALUES (?, ?, ?, ?, ?)"));
    qint64 group = first;
    const auto add = [&](const QVariant& entry, const QVariant& line) {
        insert.reset();
        insert.bindInt64(1, group);
        insert.bind(2, entry);
        insert.bind(3, line);
        insert.bindText(4, m_operator);
        insert.bind(5, stamp);
        insert.step();
    };
    for (const Members& members : groups) {
        for (const qint64 id : members.entries)
            add(QVariant(id), QVariant());
        for (const qint64 id : members.lines)
            add(QVariant(), QVariant(id));
        ++group;
    }
    return first;
}

QStringList BankMatching::unmatchedEntriesStatement(const QString& account,
                                                    const MatchPeriod& period) {
    return {
        QStringLiteral("SELECT j.编号, j.日期, j.凭证号, j.摘要, j.借方, j.贷方 FROM 银行日记帐 j"),
        QStringLiteral("WHERE j.开户银行 = %1 AND %2 AND NOT %3")
            .arg(store::sql::quoted(account), daysLiterals(QStringLiteral("j"), period),
                 kEntryMatched),
        QStringLiteral("ORDER BY j.日期, j.编号")};
}

QStringList BankMatching::unmatchedLinesStatement(const QString& account,
                                                  const MatchPeriod& period) {
    return {
        QStringLiteral("SELECT s.编号, s.日期, s.流水号, s.摘要, s.收入, s.支出 FROM 银行对账单 s"),
        QStringLiteral("WHERE s.开户银行 = %1 AND %2 AND NOT %3")
            .arg(store::sql::quoted(account), daysLiterals(QStringLiteral("s"), period),
                 kLineMatched),
        QStringLiteral("ORDER BY s.日期, s.编号")};
}

QStringList BankMatching::matchedStatement(const QString& account, const MatchPeriod& period) {
    const QString quoted = store::sql::quoted(account);
    const QString groups =
        QStringLiteral("(SELECT m.组号 FROM 银行对账 m JOIN 银行日记帐 j ON j.编号 = m.日记帐编号 "
                       "WHERE j.开户银行 = %1 AND %2 UNION SELECT m.组号 FROM 银行对账 m "
                       "JOIN 银行对账单 s ON s.编号 = m.对账单编号 WHERE s.开户银行 = %1 AND %3)")
            .arg(quoted, daysLiterals(QStringLiteral("j"), period),
                 daysLiterals(QStringLiteral("s"), period));
    const QString members = QStringLiteral("WHERE m.组号 IN %1 AND %2")
                                .arg(groups, intactGroup(QStringLiteral("m.组号")));
    // Within a group its entries come first, then its lines, each as they were stored.
    return {QStringLiteral("SELECT m.组号, '日记帐' AS 类别, j.日期, j.凭证号 AS 号码, j.摘要, "
                           "j.借方 AS 收入, j.贷方 AS 支出, m.操作员, m.操作日期, m.编号 AS 次序"),
            QStringLiteral("FROM 银行对账 m JOIN 银行日记帐 j ON j.编号 = m.日记帐编号"),
            members,
            QStringLiteral(
                "UNION ALL SELECT m.组号, '对账单', s.日期, s.流水号, s.摘要, s.收入, s.支出, "
                "m.操作员, m.操作日期, m.编号"),
            QStringLiteral("FROM 银行对账 m JOIN 银行对账单 s ON s.编号 = m.对账单编号"),
            members,
            QStringLiteral("ORDER BY 1, 10")};
}

} // namespace journal
