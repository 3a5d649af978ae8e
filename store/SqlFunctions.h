#pragma once

struct sqlite3;

namespace store {

/// Registers cdate(text) and ccur(text), the conversions that SQL text of this
/// system uses for date and amount literals. Unreadable text fails the statement.
void registerSqlFunctions(sqlite3* db);

} // namespace store
