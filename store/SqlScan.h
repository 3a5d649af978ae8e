#pragma once

#include <QString>

namespace store {

/// Whether a character may stand in an unquoted name.
bool isNameChar(QChar c);

/// The end of the quoted literal or name that starts at `start` (one past its
/// closing quote, a doubled quote read as part of it), or -1 when it is not closed.
qsizetype quotedEnd(const QString& sql, qsizetype start);

/// Whether a statement is one plain select from one table (no join, union,
/// grouping, distinct, limit or sub-select), whose rows can be addressed by rowid.
bool isPlainSingleTableSelect(const QString& sql);

/// Whether a statement calls an aggregate function (sum, count, ...), which
/// a server does not take beside a plain column such as the rowid.
bool callsAnAggregate(const QString& sql);

/// The select with the rowid as an extra first column named `alias`, and the
/// rowid as the last key of its ORDER BY, if it has one, so that ties keep
/// one order.
QString withRowIdColumn(const QString& sql, const QString& alias);

} // namespace store
