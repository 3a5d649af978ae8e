#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QString>

#include <optional>

namespace journal {

/// The day of a statement's date cell, as banks write it: 2026-12-01,
/// 2026/12/01, 2026.12.01, 20261201 or 2026年12月1日, the year in four
/// digits, optionally followed by a time of day ("2026-12-01 10:23:45",
/// "2026-12-01T10:23", "20261201102345"). Nothing for any other text.
std::optional<QDate> readStatementDay(const QString& text);

/// An amount cell of a statement. Nothing, with `reason` left empty, for an
/// empty cell (or one holding only a dash); nothing with the reason for a
/// text that is no amount, has more than four decimals or is out of range.
/// Thousands groups, a sign, blanks and the currency's marks (¥, ￥, RMB,
/// CNY, 元) are allowed. `title` names the column in the reason.
std::optional<store::Currency> readStatementAmount(const QString& text, const QString& title,
                                                   QString& reason);

/// An amount as the reasons show it: "1,099.00", "0.0001".
QString statementAmountText(store::Currency amount);

} // namespace journal
