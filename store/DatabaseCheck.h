#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

namespace store {

class Database;

/// Everything wrong with a database file, empty when it is sound: it must
/// open with the password, hold the nine tables with their columns, and pass
/// SQLite's integrity check. The file is only read.
QStringList checkDatabaseFile(const QString& path, const QString& password);

/// What SQLite's quick check finds wrong with the pages of an open database,
/// empty when they are sound: every page readable and every b-tree whole, the
/// test for damage that a large book can afford (under a second at a million
/// entries, where the integrity check takes ten); a failure to read the file
/// is one of them. When `stop` turns true meanwhile (from any thread), the
/// check ends early and throws EngineError.
QStringList quickCheckProblems(Database& db, const std::atomic<bool>* stop = nullptr);

} // namespace store
