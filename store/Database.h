#pragma once

#include <QString>

struct sqlite3;

namespace store {

/// One open SQLite database file; owns the handle and registers the SQL
/// functions every connection of this system needs.
class Database {
public:
    /// ReadOnly opens an existing file that the connection never writes;
    /// Unchanging reads one that nothing writes while it is open (SQLite's
    /// immutable file: no lock, no WAL index, nothing made beside it).
    enum class OpenMode { ExistingOnly, Create, ReadOnly, Unchanging };

    /// Throws EngineError when the file cannot be opened.
    Database(const QString& path, OpenMode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    /// Runs one or more statements that return no rows.
    void exec(const QString& sql);
    qint64 lastInsertRowId() const;
    int changes() const;
    bool inTransaction() const;

    /// Whether the text indexes are in the folded order of NOCASE, so a text
    /// prefix can be searched as a range of them (see useAsciiCaseOrder()).
    bool hasFoldedTextOrder() const { return m_foldedTextOrder; }
    /// For a book read as it is whose text indexes an earlier build made in
    /// SQLite's own NOCASE order: compare as that order did.
    void useAsciiCaseOrder();

    /// Turns a SQLite result code into EngineError with the engine's message.
    static void check(sqlite3* db, int rc);
    void check(int rc) const { check(m_db, rc); }
    /// Throws EngineError for a failed SQLite call with its result code, message and the
    /// system's error number behind it (sqlite3_system_errno), worded for the user; an
    /// overflowing sum becomes CurrencyOverflow.
    [[noreturn]] static void throwEngineError(int rc, const QString& message, int systemError = 0);

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_foldedTextOrder = true;
};

} // namespace store
