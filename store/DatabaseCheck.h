#pragma once

#include <QString>
#include <QStringList>

#include <mutex>

struct sqlite3;

namespace store {

class Database;

/// Everything wrong with a database file, empty when it is sound: it must
/// open with the password, hold the nine tables with their columns, and pass
/// SQLite's integrity check. The file is only read. For a server book, named
/// by its connection string, the password and the tables are checked.
QStringList checkDatabaseFile(const QString& path, const QString& password);

/// Ends a check that runs on another thread. SQLite walks the pages in one
/// step that only an interrupt of its connection ends.
class CheckStop {
public:
    /// From any thread: the check running now, and any later one, ends early.
    void stop();
    bool stopped() const;

private:
    friend class RunningCheck;

    mutable std::mutex m_mutex;
    sqlite3* m_running = nullptr;
    bool m_stopped = false;
};

/// What SQLite's quick check finds wrong with the pages of an open database,
/// empty when they are sound: every page readable and every b-tree whole, the
/// test for damage that a large book can afford (under a second at a million
/// entries, where the integrity check takes ten); a failure to read the file
/// is one of them. When `stop` is stopped meanwhile, the check ends early and
/// throws EngineError.
QStringList quickCheckProblems(Database& db, CheckStop* stop = nullptr);

} // namespace store
