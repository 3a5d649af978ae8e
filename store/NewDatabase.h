#pragma once

#include <QString>

namespace store {

/// Writes a new database file with the nine tables and the rows an
/// installation ships: one operator "系统管理员" with an empty password, the
/// company row, the closing date in the current month, common summaries and
/// one bank account. Throws EngineError if the file exists or cannot be made.
/// The file appears only complete: a kill part way leaves no book.
void createDatabaseFile(const QString& path, const QString& password);

/// The database password of the standard connection string.
QString standardPassword();

} // namespace store
