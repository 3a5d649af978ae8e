#pragma once

#include <QString>

#include <memory>

struct sqlite3;

namespace store {

class ServerConnection;

/// One open book: an SQLite database file, whose handle it owns and on which
/// it registers the SQL functions every connection of this system needs, or
/// a connection to a book on a PostgreSQL server. Both run the same SQL text.
class Database {
public:
    /// ReadOnly opens an existing file that the connection never writes;
    /// Unchanging reads one that nothing writes while it is open (SQLite's
    /// immutable file: no lock, no WAL index, nothing made beside it).
    enum class OpenMode { ExistingOnly, Create, ReadOnly, Unchanging };

    /// Throws EngineError when the file cannot be opened.
    Database(const QString& path, OpenMode mode);
    /// A book on a server, over an open connection to it.
    explicit Database(std::unique_ptr<ServerConnection> server);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// The SQLite handle of a file book; null for a server book.
    sqlite3* handle() const { return m_db; }
    /// The file of a file book; the connection string of a server book.
    const QString& path() const { return m_path; }
    bool isServer() const { return m_server != nullptr; }
    /// The connection of a server book; null for a file book.
    ServerConnection* server() const { return m_server.get(); }

    /// Runs one or more statements that return no rows.
    void exec(const QString& sql);
    qint64 lastInsertRowId() const;
    int changes() const;
    bool inTransaction() const;

    /// Whether the book holds a table of this name.
    bool hasTable(const QString& name);
    /// The version of the tables beside the nine, 0 when none were made.
    int schemaVersion();
    void setSchemaVersion(int version);

    /// The last value the counter of `table` has given (0 when none): a file
    /// book keeps it in sqlite_sequence, a server book in the sequence behind
    /// the table's identity column (its counter, else its hidden rowid).
    qint64 lastCounter(const QString& table);
    /// Makes the counter of `table` go on after `value`. Rows inserted with
    /// their own counter values leave a server's sequence where it was.
    void setLastCounter(const QString& table, qint64 value);

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
    std::unique_ptr<ServerConnection> m_server;
    QString m_path;
    bool m_foldedTextOrder = true;
};

} // namespace store
