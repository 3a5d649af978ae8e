#include "Connection.h"

#include "ConnectionString.h"
#include "Database.h"
#include "EngineError.h"
#include "EngineTable.h"

#include <sqlite3.h>

namespace store {

namespace {
constexpr int kBusyTimeoutMs = 5000;
}

std::unique_ptr<Database> openDatabaseFile(const QString& path, const QString& password) {
    auto db = std::make_unique<Database>(path, Database::OpenMode::ExistingOnly);
    sqlite3_busy_timeout(db->handle(), kBusyTimeoutMs);
    EngineTable::verify(*db, password);
    db->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    // A posted entry must survive a power cut, not only a crash.
    db->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    return db;
}

Connection::Connection(QObject* parent) : QObject(parent) {}

Connection::~Connection() = default;

void Connection::open() {
    if (m_db)
        return;
    const ConnectionString properties(m_connectionString);
    if (properties.dataSource().isEmpty())
        throw EngineError(QStringLiteral("The connection string names no data source"));
    m_db = openDatabaseFile(properties.dataSource(), properties.password());
}

void Connection::close() {
    if (!m_db)
        return;
    emit aboutToClose();
    m_db.reset();
}

Database& Connection::database() const {
    if (!m_db)
        throw EngineError(QStringLiteral("Operation is not allowed when the connection is closed"));
    return *m_db;
}

} // namespace store
