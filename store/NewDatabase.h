#pragma once

#include <QString>

namespace store {

/// Writes a new database file with the nine tables and the rows an
/// installation ships: one operator "系统管理员" with an empty password, the
/// company row, the closing date in the current month, common summaries and
/// one bank account. Throws EngineError if the file exists or cannot be made.
/// The file appears only complete: a kill part way leaves no book.
void createDatabaseFile(const QString& path, const QString& password);

/// Makes a new book in an empty database on a PostgreSQL server, named by a
/// connection string: the server's types and functions, the tables and the
/// same first rows, in one transaction. Throws EngineError when the database
/// already holds a book or cannot be reached.
void createServerBook(const QString& connectionString, const QString& password);

/// A new book of either kind, by its name (see isServerBook()).
void createBook(const QString& name, const QString& password);

/// The database password of the standard connection string.
QString standardPassword();

} // namespace store
