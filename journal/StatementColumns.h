#pragma once

#include "lists/ImportFileReader.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace journal {

/// What a column of a bank's statement holds.
enum class StatementRole {
    Date,
    Text,
    In,
    Out,
    Debit,  // 借方: out on the bank's own statement, in as a journal keeps it
    Credit, // 贷方
    Signed, // one amount column, money in above zero
    Balance,
    Counterparty,
    Reference,
};
constexpr int kStatementRoles = int(StatementRole::Reference) + 1;

/// How a statement gives its amounts.
enum class AmountColumns { InOut, DebitCredit, Signed };

/// Where a statement's title row stands and which of its columns hold what.
struct StatementColumns {
    qsizetype titleRow = -1; // index into the rows
    AmountColumns amounts = AmountColumns::InOut;
    std::array<int, kStatementRoles> at{};       // -1: the statement has no such column
    std::array<QString, kStatementRoles> titles; // as the file writes them

    int column(StatementRole role) const { return at[int(role)]; }
    QString title(StatementRole role) const { return titles[int(role)]; }
};

/// The first row, among the first 50, that titles a day column and the
/// amounts (收入/支出, 借方/贷方 or one signed amount), and the columns it
/// names with the titles banks use. Blanks and a bracketed unit ("(元)") in
/// a title do not count. Where two columns could serve, the more usual
/// title wins (交易日期 before 记账日期, 摘要 before 用途), then the left one.
std::optional<StatementColumns> findStatementColumns(const QList<lists::ImportRow>& rows);

} // namespace journal
