#pragma once

#include "lists/ImportFileReader.h"

#include <QDate>
#include <QList>
#include <QString>

namespace store {
class Database;
}

namespace journal {

struct StatementImportOptions {
    /// The bank account (开户银行 项目) the statement is of; the caller
    /// makes sure the catalogue has it.
    QString account;
    /// Stamped in 操作员 of every line brought in.
    QString operatorName;
    /// The file's name, kept with every line in 来源文件.
    QString sourceFile;
    /// Checks and counts, writes nothing.
    bool dryRun = false;
};

/// A line of the file that keeps the whole file out.
struct RefusedStatementLine {
    int line = 0;
    QString text;
    QString reason;
};

struct StatementImportResult {
    int lines = 0;        // statement lines in the file
    int added = 0;        // new ones: written, unless a dry run
    int alreadyThere = 0; // lines the book holds already
    QList<RefusedStatementLine> refused; // in file order; when any, nothing is written
    QDate first;          // the days the file's lines cover
    QDate last;
    bool written = false;
};

/// Brings the lines of a bank's statement (对账单), as online banking saves
/// it, into 银行对账单.
///
/// The title row may stand below a few lines (the account, the period); it
/// is the first row naming a date column and the amounts. Columns are found
/// by the titles banks use: 交易日期 or 记账日期; 摘要 or 用途; money in as
/// 收入金额 or 存入, out as 支出金额 or 支取, or both in one signed 交易金额;
/// 余额; 对方户名; 流水号 or 凭证号 ... (blanks and a unit in brackets aside).
/// Columns titled 借方/贷方 are read in the direction in which the 余额
/// column follows from line to line; on a bank's own statement, 贷方 is
/// money in for the company. A statement listed newest first is read in
/// time order.
///
/// Every line is checked: a calendar day with a four-digit year (2026-12-01,
/// 2026/12/01, 20261201, 2026年12月1日, a time of day after it), exactly one
/// amount, at most four decimals (thousands groups, ¥ and 元 allowed), and
/// the balance following from the line before it. Any bad line keeps the
/// whole file out, each reported with its line, text and reason; a balance
/// that does not follow is reported at the first line where it breaks.
/// Empty rows, rows of notes (no day and no amount) and totals (合计, 总计
/// ...) are passed over.
///
/// A line the book holds already (same account, day, amounts, balance and
/// reference) is counted, not added again, so an overlapping statement can
/// come in twice; identical lines within one file are all kept. The new
/// lines go in within one transaction, in time order, stamped with the
/// operator and the time of the import.
///
/// Throws lists::ImportFileError for a file without a statement's title row.
StatementImportResult importStatement(store::Database& db, const QList<lists::ImportRow>& rows,
                                      const StatementImportOptions& options);

} // namespace journal
