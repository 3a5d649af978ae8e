#pragma once

#include <QString>

namespace store {

/// The message of a failed SQLite call as the user reads it: in Chinese, naming the table,
/// column or value the engine's English message names. `code` is SQLite's primary result
/// code, `message` its text; a message of the system's own (the failures of the SQL
/// functions cdate and ccur, which begin with Chinese) is kept as it is.
QString engineErrorText(int code, const QString& message);

} // namespace store
