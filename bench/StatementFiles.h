#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class Connection;
}

namespace bench {

/// A bank's statement of `account` as online banking gives it: a title row
/// (交易日期, 摘要, 收入金额, 支出金额, 余额, 对方户名, 流水号) and `lines` rows,
/// one for each of the account's journal entries in time order (money the
/// journal takes in is money in; every seventh a day later, as banks post
/// them), with a fee line of the bank's own after every fourth entry and,
/// should the entries run out, more such lines; the balance runs from zero.
QList<QStringList> statementRows(store::Connection& connection, const QString& account, int lines);

/// The rows as a spreadsheet's CSV: UTF-8 with its mark, two lines above
/// the titles, amounts grouped and quoted.
void writeStatementCsv(const QString& path, const QList<QStringList>& rows);

/// The rows as an `.xlsx` workbook: texts in the shared table, amounts as numbers.
void writeStatementXlsx(const QString& path, const QList<QStringList>& rows);

} // namespace bench
