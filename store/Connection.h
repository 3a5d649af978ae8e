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
    void close();
    bool isConnected() const { return m_db != nullptr; }

    /// The open database; throws EngineError when not connected.
    Database& database() const;

signals:
    void aboutToClose();

private:
    QString m_connectionString;
    std::unique_ptr<Database> m_db;
};

/// Opens a database file of this system for work: checks the password, then
/// sets the journal mode and busy timeout every connection uses.
std::unique_ptr<Database> openDatabaseFile(const QString& path, const QString& password);

} // namespace store
