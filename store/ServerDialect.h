#pragma once

#include <QString>

namespace store {

/// The statement as a PostgreSQL book runs it. The windows write one SQL
/// text for both engines; outside quoted text, this turns SQLite's own
/// spellings into the server's:
/// - parameters "?" and "?N" become "$N";
/// - the rowid (`_ROWID_`, `rowid`) becomes the `_rowid` column every
///   server table has;
/// - `temp.name` becomes `pg_temp.name`, the connection's own table;
/// - `cdate('literal')` of a date it reads becomes that day serial.
/// `parameterCount` receives the number of the highest parameter.
QString serverSql(const QString& sql, int* parameterCount = nullptr);

/// Whether the statement is an INSERT ... VALUES (or DEFAULT VALUES), to
/// which the server adds "RETURNING _rowid" so the new row's rowid is known.
bool isInsertOfValues(const QString& sql);

} // namespace store
