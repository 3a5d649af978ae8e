#include "Reconciliation.h"

#include "ItemsInTransit.h"

#include "store/AddedTables.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

namespace journal {

namespace {

using store::Currency;

double firstMoment(const QDate& day) {
    return store::DateTime::fromDate(day).serial();
}

QDate dayOf(double serial) {
    return store::DateTime::fromSerial(serial).date();
}

QString joinedText(const QString& first, const QString& second) {
    return second.isEmpty() ? first : first + QLatin1Char(' ') + second;
}

// Reads the day, text and amounts of each item in `ids` through `details`
// (by 编号), and sorts it into the receipts or the payments by the amount it
// carries on each side; an item with both goes into both.
void readItems(store::Statement& details, const QList<qint64>& ids,
               QList<ReconciliationItem>& receipts, QList<ReconciliationItem>& payments) {
    for (qint64 id : ids) {
        details.reset();
        details.bindInt64(1, id);
        if (!details.step())
            continue;
        ReconciliationItem item;
        item.id = id;
        item.date = dayOf(details.real(0));
        item.text = joinedText(details.text(1), details.text(2));
        if (const Currency in = details.amount(3); !in.isZero()) {
            item.amount = in;
            receipts.append(item);
        }
        if (const Currency out = details.amount(4); !out.isZero()) {
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
std::optional<Currency> statementBalance(store::Database& db, const QString& account, double end) {
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
        balance += after.amount(0) - after.amount(1);
    return balance;
}

Currency journalBalance(store::Database& db, const QString& account, double end) {
    store::Statement sums(db, QStringLiteral("SELECT sum(借方), sum(贷方) FROM 银行日记帐 "
                                             "WHERE 开户银行 = ? AND 日期 < ?"));
    sums.bindText(1, account);
    sums.bind(2, end);
    sums.step();
    return sums.amount(0) - sums.amount(1);
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

Currency Reconciliation::difference() const {
    return adjustedBook() - adjustedBank();
}

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

    const ItemsInTransit inTransit = ItemsInTransit::find(db, account, *start, end);
    store::Statement entries(db,
                             QStringLiteral("SELECT 日期, 摘要, 明细, 借方, 贷方 FROM 银行日记帐 "
                                            "WHERE 编号 = ?"));
    readItems(entries, inTransit.entries, result.bookReceipts, result.bookPayments);
    store::Statement lines(db,
                           QStringLiteral("SELECT 日期, 摘要, 对方户名, 收入, 支出 FROM 银行对账单 "
                                          "WHERE 编号 = ?"));
    readItems(lines, inTransit.lines, result.bankReceipts, result.bankPayments);
    return result;
}

QDate monthEnd(const QDate& day) {
    return QDate(day.year(), day.month(), day.daysInMonth());
}

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
