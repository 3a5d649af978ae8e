#pragma once

#include "Schema.h"

#include <QString>
#include <QStringList>

/// The SQL that makes a PostgreSQL database hold a book whose windows run the
/// same statements as on a file book: the same column names and types, text
/// that compares and matches ignoring letter case, the pinyin order, and the
/// functions cdate, ccur and ifnull.
namespace store::server {

/// Collation of every text column: code point order of the lower-cased text
/// (citext lowers with it), the order the index ranges of a summary prefix
/// are computed in.
inline constexpr const char* kTextCollation = "codepoint";

/// What an empty database needs once before the tables: the citext
/// extension, the collations, the domains currency and datetime (so the
/// catalog reports those column types) and the functions.
QStringList setupStatements();

/// CREATE TABLE with the table's columns, and the hidden column `_rowid` that
/// stands for the file book's rowid: the counter itself where the table has
/// one, otherwise a number of its own. A table named "temp.x" is made as
/// the connection's own.
QString createTableSql(const TableDef& table);
/// The same as a table that lives as long as the connection.
QString createTemporaryTableSql(const TableDef& table);

} // namespace store::server
