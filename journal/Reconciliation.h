#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QList>
#include <QString>

namespace store {
class Database;
}

namespace journal {

/// An entry of the bank journal or a line of the statement that the other
/// side does not hold yet on the day reconciled.
struct ReconciliationItem {
    qint64 id = 0; // 银行日记帐.编号 or 银行对账单.编号
    QDate date;
    QString text; // the journal's 摘要 and 明细, or the bank's 摘要 and 对方户名
    store::Currency amount;
};

/// Why an account cannot be reconciled on a day.
enum class ReconciliationGap {
    None,
    NoStatement, // no statement line of the account up to the day
    NoBalance,   // lines, but none of them gives the bank's balance
};

/// The reconciliation statement (银行存款余额调节表) of one bank account as of
/// the end of one day: the book's balance and the bank's, each adjusted by
/// what the other side holds and it does not yet.
///
/// A journal entry and a statement line are settled with each other once
/// both belong to one intact match (see BankMatching) whose every member is
/// dated on or before the day; a match completed only later leaves its
/// members dated up to the day in transit. Only items from the account's first statement line on count:
/// older entries were never on a statement, and the bank's balance already
/// holds them.
struct Reconciliation {
    QString account;
    QDate day;
    ReconciliationGap gap = ReconciliationGap::None;
    QDate start; // the day of the account's first statement line

    store::Currency bookBalance; // 借方 - 贷方 of every entry up to the day
    store::Currency bankBalance; // after the statement's last line up to the day

    QList<ReconciliationItem> bankReceipts; // 银行已收、企业未收
    QList<ReconciliationItem> bankPayments; // 银行已付、企业未付
    QList<ReconciliationItem> bookReceipts; // 企业已收、银行未收
    QList<ReconciliationItem> bookPayments; // 企业已付、银行未付

    /// Exact sums; they throw store::CurrencyOverflow beyond the amount range.
    static store::Currency total(const QList<ReconciliationItem>& items);
    store::Currency adjustedBook() const;
    store::Currency adjustedBank() const;
    /// The adjusted book balance less the adjusted bank balance; zero when they agree.
    store::Currency difference() const;
    bool agrees() const { return difference().isZero(); }
};

/// Reconciles `account` as of the end of `day`. A book without the statement
/// tables (one of an earlier build opened to read) has no statement.
/// Throws store::EngineError, store::CurrencyOverflow beyond the amount range.
Reconciliation reconcile(store::Database& db, const QString& account, const QDate& day);

/// The last day of the month `day` falls in.
QDate monthEnd(const QDate& day);

/// What the user is told when `reconciliation` has a gap; empty when it has none.
QString gapMessage(const Reconciliation& reconciliation);

} // namespace journal
