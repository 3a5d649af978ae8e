#include "Database.h"

#include "Currency.h"
#include "EngineError.h"
#include "EngineErrorText.h"
#include "SqlFunctions.h"
#include "SystemErrorText.h"
#include "EngineTable.h"
#include "ServerConnection.h"
#include "Statement.h"
#include "TextComparisons.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>

namespace store {

Database::Database(const QString& path, OpenMode mode) : m_path(path) {
    if (mode != OpenMode::Create) {
        const QString shown = QFileInfo(path).absoluteFilePath();
        if (const int error = notRegularFileError(path); error == ENOENT)
            throw EngineError(QStringLiteral("找不到数据库文件“%1”").arg(shown), error);
        else if (error != 0)
            throw EngineError(
                QStringLiteral("不能打开数据库文件“%1”：%2").arg(shown, systemErrorText(error)),
                error);
    }
    int flags = SQLITE_OPEN_NOMUTEX;
    QByteArray name = path.toUtf8();
    if (mode == OpenMode::Unchanging) {
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() +
               QByteArrayLiteral("?immutable=1");
    } else if (mode == OpenMode::ReadOnly) {
        flags |= SQLITE_OPEN_READONLY;
    } else {
        flags |= SQLITE_OPEN_READWRITE;
    }
    if (mode == OpenMode::Create)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QString::fromUtf8(sqlite3_errstr(rc));
        const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw EngineError(engineErrorText(rc, message, systemError) + QStringLiteral("：") + path,
                          engineSystemError(rc, systemError));
    }
    sqlite3_extended_result_codes(m_db, 0);
    registerSqlFunctions(m_db);
    registerTextComparisons(m_db);
}

Database::Database(std::unique_ptr<ServerConnection> server)
    : m_server(std::move(server)) {
    m_path = m_server->connectionString();
    // A server book's text columns compare lowered text in code point order,
    // the folded order the range search of a text prefix needs.
    m_foldedTextOrder = true;
}

Database::~Database() {
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Database::exec(const QString& sql) {
    if (m_server) {
        m_server->exec(sql);
        return;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(error);
        throwEngineError(rc, message, sqlite3_system_errno(m_db));
    }
}

void Database::useAsciiCaseOrder() {
    if (m_server)
        return;
    store::useAsciiCaseOrder(m_db);
    m_foldedTextOrder = false;
}

qint64 Database::lastInsertRowId() const {
    return m_server ? m_server->lastInsertRowId() : sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const { return m_server ? m_server->changes() : sqlite3_changes(m_db); }

bool Database::inTransaction() const {
    return m_server ? m_server->inTransaction() : sqlite3_get_autocommit(m_db) == 0;
}

bool Database::hasTable(const QString& name) {
    Statement probe(*this, m_server ? QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = "
                                                     "current_schema() AND tablename = ?")
                                    : QStringLiteral("SELECT 1 FROM sqlite_master "
                                                     "WHERE type = 'table' AND name = ?"));
    probe.bindText(1, name);
    return probe.step();
}

int Database::schemaVersion() {
    if (m_server)
        return hasTable(QStringLiteral("_engine"))
                   ? EngineTable::value(*this, EngineTable::kSchemaVersionKey).toInt()
                   : 0;
    Statement version(*this, QStringLiteral("PRAGMA user_version"));
    return version.step() ? int(version.int64(0)) : 0;
}

void Database::setSchemaVersion(int version) {
    if (m_server)
        EngineTable::setValue(*this, EngineTable::kSchemaVersionKey, QString::number(version));
    else
        exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

namespace {

// The sequence behind the identity column of a server table.
QString counterSequence(Database& db, const QString& table) {
    Statement find(
        db, QStringLiteral(
                "SELECT pg_get_serial_sequence(quote_ident(?), a.attname) FROM pg_attribute a "
                "WHERE a.attrelid = quote_ident(?)::regclass AND a.attidentity <> '' "
                "ORDER BY a.attname = '_rowid' LIMIT 1"));
    find.bindText(1, table);
    find.bindText(2, table);
    if (!find.step() || find.isNull(0))
        throw EngineError(QStringLiteral("表“%1”没有计数器").arg(table));
    return find.text(0);
}

} // namespace

qint64 Database::lastCounter(const QString& table) {
    if (m_server) {
        Statement read(*this,
                       QStringLiteral("SELECT CASE WHEN is_called THEN last_value ELSE 0 END "
                                      "FROM ") +
                           counterSequence(*this, table));
        return read.step() ? read.int64(0) : 0;
    }
    Statement read(*this, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    read.bindText(1, table);
    return read.step() && !read.isNull(0) ? read.int64(0) : 0;
}

void Database::setLastCounter(const QString& table, qint64 value) {
    if (m_server) {
        // A sequence starts at 1: "nothing given yet" is 1 not yet called.
        QString sequence = counterSequence(*this, table);
        sequence.replace(QLatin1Char('\''), QStringLiteral("''"));
        Statement set(*this, QStringLiteral("SELECT setval('%1', ?, %2)")
                                 .arg(sequence, value >= 1 ? QStringLiteral("true")
                                                           : QStringLiteral("false")));
        set.bindInt64(1, std::max<qint64>(value, 1));
        set.step();
        return;
    }
    Statement update(*this, QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?"));
    update.bindInt64(1, value);
    update.bindText(2, table);
    update.step();
    if (changes() > 0)
        return;
    Statement insert(*this,
                     QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
    insert.bindText(1, table);
    insert.bindInt64(2, value);
    insert.step();
}

void Database::check(sqlite3* db, int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throwEngineError(rc, QString::fromUtf8(message ? message : sqlite3_errstr(rc)),
                     db ? sqlite3_system_errno(db) : 0);
}

void Database::throwEngineError(int rc, const QString& message, int systemError) {
    // The only integers that are summed are amounts: sum() beyond 64 bits.
    if (message == QLatin1String("integer overflow"))
        throw CurrencyOverflow();
    throw EngineError(engineErrorText(rc, message, systemError),
                      engineSystemError(rc, systemError));
}

} // namespace store
