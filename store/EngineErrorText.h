#pragma once

#include <QString>

namespace store {

/// The message of a failed SQLite call as the user reads it: in Chinese, naming the table,
/// column or value the engine's English message names. `code` is SQLite's primary result
/// code, `message` its text; a message of the system's own (the failures of the SQL
/// functions cdate and ccur, which begin with Chinese) is kept as it is. `systemError`, the
/// system's error number behind a failed read, write or open (sqlite3_system_errno), is told
/// after it: a WAL index that a read-only disk cannot hold, a full disk.
QString engineErrorText(int code, const QString& message, int systemError = 0);

/// The system's error number an EngineError carries for a failure of the disk or the file
/// system that SQLite reports with `code`: `systemError` when SQLite knows it; 0 when the
/// data, not the disk, failed.
int engineSystemError(int code, int systemError);

} // namespace store
