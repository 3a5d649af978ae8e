#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace store {

/// What the server's catalogue says about a result column that comes
/// straight from a table column.
struct ServerColumnOrigin {
    QString table;
    QString column;
    QString declaredType; ///< TEXT, CURRENCY, DATETIME or INTEGER, as a file book declares them
    bool isCounter = false;
};

/// One connection to a book on a PostgreSQL server, through libpq.
class ServerConnection {
public:
    /// Asks the user for the password the server wants for `connectionString`;
    /// an empty answer gives up. Installed by the program; without one, a
    /// server that asks for a password fails the connection.
    using PasswordPrompt = std::function<QString(const QString& connectionString)>;
    static void setPasswordPrompt(PasswordPrompt prompt);

    /// Connects; throws EngineError with the server's reason.
    explicit ServerConnection(const QString& connectionString);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    pg_conn* handle() const { return m_conn; }
    /// False once the connection is gone: statements may outlive it.
    std::shared_ptr<const bool> alive() const { return m_alive; }
    const QString& connectionString() const { return m_connectionString; }

    /// Runs statements that return no rows (several, separated by ";").
    void exec(const QString& sql);
    /// Runs `copy`, a COPY ... FROM STDIN statement, sending `rows` in its
    /// text format; throws EngineError with the server's reason.
    void copyIn(const QString& copy, const QByteArray& rows);
    /// Prepares `sql` as the unnamed statement and returns its description,
    /// which the caller frees. A statement the server refuses (a program may
    /// try one form and fall back to another) throws EngineError and leaves
    /// the open transaction usable.
    pg_result* describe(const QByteArray& sql, int parameters);
    /// Throws EngineError unless the result succeeded; frees it when throwing.
    void check(pg_result* result) const;

    qint64 lastInsertRowId() const { return m_lastInsertRowId; }
    void setLastInsertRowId(qint64 rowid) { m_lastInsertRowId = rowid; }
    int changes() const { return m_changes; }
    void setChanges(int changes) { m_changes = changes; }
    bool inTransaction() const;
    /// Whether a statement of the open transaction failed, so it can only roll back.
    bool transactionFailed() const;

    /// The table column behind a result column, from the catalogue (cached).
    const ServerColumnOrigin& columnOrigin(unsigned table, int column);

private:
    pg_conn* m_conn = nullptr;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    QString m_connectionString;
    qint64 m_lastInsertRowId = 0;
    int m_changes = 0;
    QHash<quint64, ServerColumnOrigin> m_origins;
};

/// The type a file book declares for a column of the server's type `typeName`
/// (TEXT, CURRENCY, DATETIME, INTEGER, REAL), empty for another type.
QString fileDeclaredType(const QByteArray& typeName);

/// Throws EngineError for a failed server result, with the server's message
/// worded for the user; an amount beyond 64 bits becomes CurrencyOverflow.
[[noreturn]] void throwServerError(pg_result* result, pg_conn* connection);

} // namespace store
