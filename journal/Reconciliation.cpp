#include "Reconciliation.h"

#include "store/AddedTables.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

namespace journal {

namespace {

using store::Currency;

double firstMoment(const QDate& day) { return store::DateTime::fromDate(day).serial(); }

QDate dayOf(double serial) { return store::DateTime::fromSerial(serial).date(); }

Currency amountAt(const store::Statement& row, int column) {
    return Currency::fromRaw(row.isNull(column) ? 0 : row.int64(column));
}

QString joinedText(const QString& first, const QString& second) {
    return second.isEmpty() ? first : first + QLatin1Char(' ') + second;
}

// A match settles its members on the day when none of them is dated later;
// ?2 is the first moment after the day.
const QString kNoLateMember = QStringLiteral(
    "NOT EXISTS (SELECT 1 FROM 银行对账 o WHERE o.组号 = m.组号 AND ("
    "EXISTS (SELECT 1 FROM 银行日记帐 lj WHERE lj.编号 = o.日记帐编号 AND lj.日期 >= ?2) OR "
    "EXISTS (SELECT 1 FROM 银行对账单 ls WHERE ls.编号 = o.对账单编号 AND ls.日期 >= ?2)))");

// The account's entries from the start to the day that no settled match holds;
// a match whose statement lines are all gone settles nothing.
const QString kEntriesInTransit = QStringLiteral(
    "SELECT j.编号, j.日期, j.摘要, j.明细, j.借方, j.贷方 FROM 银行日记帐 j "
    "WHERE j.开户银行 = ?1 AND j.日期 >= ?3 AND j.日期 < ?2 "
    "AND NOT EXISTS (SELECT 1 FROM 银行对账 m WHERE m.日记帐编号 = j.编号 "
    "AND EXISTS (SELECT 1 FROM 银行对账 o JOIN 银行对账单 os ON os.编号 = o.对账单编号 "
    "WHERE o.组号 = m.组号) AND %1) "
    "ORDER BY j.日期, j.编号").arg(kNoLateMember);

const QString kLinesInTransit = QStringLiteral(
    "SELECT s.编号, s.日期, s.摘要, s.对方户名, s.收入, s.支出 FROM 银行对账单 s "
    "WHERE s.开户银行 = ?1 AND s.日期 < ?2 "
    "AND NOT EXISTS (SELECT 1 FROM 银行对账 m WHERE m.对账单编号 = s.编号 "
    "AND EXISTS (SELECT 1 FROM 银行对账 o JOIN 银行日记帐 oj ON oj.编号 = o.日记帐编号 "
    "WHERE o.组号 = m.组号) AND %1) "
    "ORDER BY s.日期, s.编号").arg(kNoLateMember);

// Sorts each row into the receipts or the payments by the amount it carries
// on each side; a row with both goes into both.
void readItems(store::Statement& rows, QList<ReconciliationItem>& receipts,
               QList<ReconciliationItem>& payments) {
    while (rows.step()) {
        ReconciliationItem item;
        item.id = rows.int64(0);
        item.date = dayOf(rows.real(1));
        item.text = joinedText(rows.text(2), rows.text(3));
        if (const Currency in = amountAt(rows, 4); !in.isZero()) {
            item.amount = in;
            receipts.append(item);
        }
        if (const Currency out = amountAt(rows, 5); !out.isZero()) {
            item.amount = out;
            payments.append(item);
        }
    }
}

std::optional<QDate> firstStatementDay(store::Database& db, const QString& account) {
    store::Statement first(db, QStringLiteral("SELECT 日期 FROM 银行对账单 WHERE 开户银行 = ? "
                                              "ORDER BY 日期 LIMIT 1"));
    first.bindText(1, account);
    if (!first.step())
        return std::nullopt;
    return dayOf(first.real(0));
}

// The balance the statement gives after its last line up to the day: the
// last balance it states, moved on by the lines after it that state none.
std::optional<Currency> statementBalance(store::Database& db, const QString& account,
                                         double end) {
    store::Statement last(db, QStringLiteral("SELECT 余额, 日期, 编号 FROM 银行对账单 "
                                             "WHERE 开户银行 = ? AND 日期 < ? AND 余额 IS NOT NULL "
                                             "ORDER BY 日期 DESC, 编号 DESC LIMIT 1"));
    last.bindText(1, account);
    last.bind(2, end);
    if (!last.step())
        return std::nullopt;
    Currency balance = Currency::fromRaw(last.int64(0));
    store::Statement after(db, QStringLiteral("SELECT 收入, 支出 FROM 银行对账单 "
                                              "WHERE 开户银行 = ?1 AND 日期 < ?2 AND 日期 >= ?3 "
                                              "AND (日期 > ?3 OR 编号 > ?4)"));
    after.bindText(1, account);
    after.bind(2, end);
    after.bind(3, last.real(1));
    after.bindInt64(4, last.int64(2));
    while (after.step())
        balance += amountAt(after, 0) - amountAt(after, 1);
    return balance;
}

Currency journalBalance(store::Database& db, const QString& account, double end) {
    store::Statement sums(db, QStringLiteral("SELECT sum(借方), sum(贷方) FROM 银行日记帐 "
                                             "WHERE 开户银行 = ? AND 日期 < ?"));
    sums.bindText(1, account);
    sums.bind(2, end);
    sums.step();
    return amountAt(sums, 0) - amountAt(sums, 1);
}

} // namespace

Currency Reconciliation::total(const QList<ReconciliationItem>& items) {
    Currency sum;
    for (const ReconciliationItem& item : items)
        sum += item.amount;
    return sum;
}

Currency Reconciliation::adjustedBook() const {
    return bookBalance + total(bankReceipts) - total(bankPayments);
}

Currency Reconciliation::adjustedBank() const {
    return bankBalance + total(bookReceipts) - total(bookPayments);
}

Currency Reconciliation::difference() const { return adjustedBook() - adjustedBank(); }

Reconciliation reconcile(store::Database& db, const QString& account, const QDate& day) {
    Reconciliation result;
    result.account = account;
    result.day = day;
    const double end = firstMoment(day.addDays(1));
    const std::optional<QDate> start =
        store::hasAddedTables(db) ? firstStatementDay(db, account) : std::nullopt;
    if (!start || *start > day) {
        result.gap = ReconciliationGap::NoStatement;
        return result;
    }
    result.start = *start;
    const std::optional<Currency> bank = statementBalance(db, account, end);
    if (!bank) {
        result.gap = ReconciliationGap::NoBalance;
        return result;
    }
    result.bankBalance = *bank;
    result.bookBalance = journalBalance(db, account, end);

    store::Statement entries(db, kEntriesInTransit);
    entries.bindText(1, account);
    entries.bind(2, end);
    entries.bind(3, firstMoment(*start));
    readItems(entries, result.bookReceipts, result.bookPayments);

    store::Statement lines(db, kLinesInTransit);
    lines.bindText(1, account);
    lines.bind(2, end);
    readItems(lines, result.bankReceipts, result.bankPayments);
    return result;
}

QDate monthEnd(const QDate& day) { return QDate(day.year(), day.month(), day.daysInMonth()); }

QString gapMessage(const Reconciliation& reconciliation) {
    const QString day = store::shortDateText(reconciliation.day);
    switch (reconciliation.gap) {
    case ReconciliationGap::NoStatement:
        return QStringLiteral("开户银行“%1”在 %2 以前没有银行对账单，请先导入银行对账单！")
            .arg(reconciliation.account, day);
    case ReconciliationGap::NoBalance:
        return QStringLiteral("开户银行“%1”在 %2 以前的银行对账单没有余额，不能编制余额调节表！")
            .arg(reconciliation.account, day);
    case ReconciliationGap::None:
        break;
    }
    return QString();
}

} // namespace journal
