#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace store {
class Database;
}

namespace journal {

/// One line of a bank's statement (对账单) as the book keeps it in 银行对账单.
/// "In" is money into the company's account, whatever the bank calls it.
struct StatementLine {
    qint64 id = 0;                          // 编号; 0 until stored
    QString account;                        // 开户银行: the bank account's 项目
    QDate date;                             // 日期
    QString text;                           // 摘要: the bank's own text
    store::Currency in;                     // 收入
    store::Currency out;                    // 支出
    std::optional<store::Currency> balance; // 余额 after the line, when the statement gives it
    QString reference;                      // 流水号
    QString counterparty;                   // 对方户名
    QString sourceFile;                     // 来源文件: the file's name
    int sourceLine = 0;                     // 来源行: its line or row, from 1
    QString operatorName;                   // 操作员 who brought it in
    QDateTime importedAt;                   // 操作日期
};

/// The statement lines of a book. A book of an earlier build opened to read
/// has no table for them and reads as having none.
class BankStatementLines {
public:
    explicit BankStatementLines(store::Database& db);

    /// The lines of `account` dated `from` to `to`, both included, by day and
    /// then in the order they were brought in.
    QList<StatementLine> lines(const QString& account, const QDate& from, const QDate& to) const;

    /// Whether the book holds a line of the same account, day, amounts,
    /// balance and reference: the same line brought in again.
    bool contains(const StatementLine& line) const;

    /// Stores `line` and sets its id; the caller holds the transaction.
    void insert(StatementLine& line);
    /// Stores the lines in their order and sets their ids, with one prepared
    /// statement for all; the caller holds the transaction.
    void insert(QList<StatementLine>& lines);

private:
    store::Database& m_db;
};

} // namespace journal
