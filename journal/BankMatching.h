#pragma once

#include "BankStatementLines.h"

#include "store/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace store {
class Database;
}

namespace journal {

/// A bank journal entry as the matching sees it: 借方 is money in, 贷方 money out.
struct BankEntry {
    qint64 id = 0; // 编号
    QDate date;
    QString voucher; // 凭证号
    QString summary; // 摘要
    store::Currency debit;
    store::Currency credit;
};

/// The days the matching works on, both ends included.
struct MatchPeriod {
    QDate from;
    QDate to;

    /// Every day a book can hold.
    static MatchPeriod everyDay() { return {QDate(1, 1, 1), QDate(9999, 12, 31)}; }
    bool contains(const QDate& day) const { return day >= from && day <= to; }
};

/// One entry and one statement line put together by the automatic matching.
struct MatchedPair {
    BankEntry entry;
    StatementLine line;
};

/// What the manual matching made: the group's number, or why it refused.
struct ManualMatch {
    qint64 group = 0;
    QString refusal;
};

/// Which bank journal entries agree with which lines of the bank's statement
/// (银行对账). A match is a group (组号) of entries and lines of one account
/// whose sums agree side by side: the entries' 借方 with the lines' 收入, the
/// entries' 贷方 with the lines' 支出. A group only counts while it is intact:
/// once one of its entries or lines is deleted, or an entry's amount is
/// changed so that the sums no longer agree, its remaining members read as
/// unmatched again, and its rows are removed when one of them is matched anew.
/// Every write is one transaction stamped with the operator and the time.
class BankMatching {
public:
    BankMatching(store::Database& db, QString operatorName);

    /// The account's entries and statement lines dated in `period` that no
    /// intact group holds, by day and then as they were stored.
    QList<BankEntry> unmatchedEntries(const QString& account, const MatchPeriod& period) const;
    QList<StatementLine> unmatchedLines(const QString& account, const MatchPeriod& period) const;

    /// Pairs each unmatched line with an unmatched entry of equal amounts on
    /// the corresponding side dated at most `days` days apart, where at least
    /// one of the two lies in `period`. Where several fit, a reference equal
    /// to the voucher number (blanks and letter case aside) wins, then the
    /// nearer date, then the earlier entry (by day, then number), then the
    /// earlier line; nothing is matched twice. Returns the pairs made, in the
    /// lines' order.
    QList<MatchedPair> matchAutomatically(const QString& account, const MatchPeriod& period,
                                          int days);

    /// Matches the entries with the lines as one group, several on either
    /// side, when the sums agree side by side, every entry and line exists,
    /// belongs to one account and is not matched yet.
    ManualMatch match(const QList<qint64>& entryIds, const QList<qint64>& lineIds);

    /// Undoes a match; false when the group no longer exists.
    bool unmatch(qint64 group);

    /// The grids' statements, over one account and a period of whole days:
    /// the unmatched entries (编号, 日期, 凭证号, 摘要, 借方, 贷方), the unmatched
    /// lines (编号, 日期, 流水号, 摘要, 收入, 支出), and every member of the
    /// intact groups with a member in the period (组号, 类别 "日记帐" or "对账单",
    /// 日期, 号码, 摘要, 收入, 支出, 操作员, 操作日期), group by group.
    static QStringList unmatchedEntriesStatement(const QString& account, const MatchPeriod& period);
    static QStringList unmatchedLinesStatement(const QString& account, const MatchPeriod& period);
    static QStringList matchedStatement(const QString& account, const MatchPeriod& period);

    /// An amount as the messages name it: two decimals, four when it has them.
    static QString amountText(store::Currency amount);

    /// SQL that is 1 when the group numbered by the SQL expression `group` is
    /// intact: every member still exists, it has entries and lines of one
    /// account, and their sums agree side by side; 0 otherwise.
    static QString intactGroup(const QString& group);

private:
    enum class Side { Entries, Lines };
    /// The rows of one side in `period` that groups hold: those an intact
    /// group holds, and those only broken groups hold.
    struct Held {
        QSet<qint64> matched;
        QSet<qint64> broken;
    };
    Held held(Side side, const QString& account, const MatchPeriod& period) const;
    QList<BankEntry> entries(const QString& account, const MatchPeriod& period) const;
    /// Removes the groups that hold any of these entries or lines.
    void removeGroupsHolding(const QList<qint64>& entryIds, const QList<qint64>& lineIds);
    struct Members {
        QList<qint64> entries;
        QList<qint64> lines;
    };
    /// Writes each as a group of its own, numbered on from the largest
    /// number; returns the first group's number.
    qint64 insertGroups(const QList<Members>& groups);
    QString checkManual(const QList<qint64>& entryIds, const QList<qint64>& lineIds) const;

    store::Database& m_db;
    QString m_operator;
};

} // namespace journal
