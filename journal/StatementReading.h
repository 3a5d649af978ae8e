#pragma once

#include "BankStatementLines.h"

#include "lists/ImportFileReader.h"

#include <QList>
#include <QString>

namespace journal {

/// A line of the file that keeps the whole file out.
struct RefusedStatementLine {
    int line = 0;
    QString text;
    QString reason;
};

/// What a statement file reads as: its lines in time order (day, text,
/// amounts, balance, reference, counterparty, the line they came from), or
/// the lines that keep it out.
struct StatementReading {
    QList<StatementLine> lines;
    QList<RefusedStatementLine> refused; // in file order; when any, no lines
};

/// Reads the rows of a bank's statement (对账单) as online banking saves it.
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
/// the balance following from the line before it. Each bad line is reported
/// with its line, text and reason; a balance that does not follow is
/// reported at the first line where it breaks. Empty rows, rows of notes (no
/// day and no amount) and totals (合计, 总计 ...) are passed over.
///
/// Throws lists::ImportFileError for rows without a statement's title row.
StatementReading readStatement(const QList<lists::ImportRow>& rows);

} // namespace journal
