#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace store {

class Database;

/// The program's one connection to its database file, opened from a
/// connection string. Queries bound to it close when it closes.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    void setConnectionString(const QString& text) { m_connectionString = text; }
    const QString& connectionString() const { return m_connectionString; }

    /// Opens the existing file named by the connection string and checks its
    /// password; throws EngineError and stays closed on any failure.
    void open();
    /// As open(), for reading only: the file is never written.
    void openToRead();
    void close();
    bool isConnected() const { return m_db != nullptr; }

    /// The open database; throws EngineError when not connected.
    Database& database() const;

signals:
    void aboutToClose();

private:
    void open(bool toRead);

    QString m_connectionString;
    std::unique_ptr<Database> m_db;
};

/// Opens a database file of this system for work: checks the password, then
/// sets the journal mode, durability, checkpointing and busy timeout every
/// working connection uses. After every commit the file alone holds the
/// whole book.
std::unique_ptr<Database> openDatabaseFile(const QString& path, const QString& password);

/// Opens a book of this system on a PostgreSQL server, named by a libpq
/// connection string or URI: checks the password, makes this connection's
/// own scratch tables; `toRead` keeps every transaction read-only.
std::unique_ptr<Database> openServerBook(const QString& connectionString,
                                         const QString& password, bool toRead = false);

/// Opens a database file of this system only to read it: checks the password
/// and leaves the file as it is, journal mode included.
std::unique_ptr<Database> openDatabaseFileToRead(const QString& path, const QString& password);

} // namespace store
