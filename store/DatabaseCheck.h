#pragma once

#include <QString>
#include <QStringList>

namespace store {

/// Everything wrong with a database file, empty when it is sound: it must
/// open with the password, hold the nine tables with their columns, and pass
/// SQLite's integrity check. The file is only read.
QStringList checkDatabaseFile(const QString& path, const QString& password);

} // namespace store
