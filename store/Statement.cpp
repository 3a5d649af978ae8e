#include "Statement.h"

#include "Database.h"
#include "EngineError.h"
#include "EngineSql.h"
#include "ServerStatement.h"

#include <sqlite3.h>

namespace store {

namespace {

QString fromUtf8(const unsigned char* text, int bytes) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

QString fromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

Statement::Statement(const Database& db, const QString& sql)
    : m_db(db) {
    if (ServerConnection* server = db.server()) {
        m_server = std::make_unique<ServerStatement>(*server, engineSql(sql, db.hasFoldedTextOrder()));
        return;
    }
    const QByteArray utf8 = engineSql(sql, db.hasFoldedTextOrder()).toUtf8();
    // SQLite reads statement text only up to a NUL; what follows one would be
    // dropped without a word, or the statement refused for a reason that
    // names only what came before it.
    if (utf8.contains('\0'))
        throw EngineError(QStringLiteral("SQL 语句中含有 NUL 字符，任何语句都不能带有这个字符"));
    const char* tail = nullptr;
    Database::check(db.handle(), sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()),
                                                    &m_stmt, &tail));
    if (!m_stmt)
        throw EngineError(QStringLiteral("SQL 语句是空的"));
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

bool Statement::step() {
    if (m_server)
        return m_server->step();
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own code carries the message of a failed function too.
    const QString message = fromUtf8(sqlite3_errmsg(m_db.handle()));
    const int systemError = sqlite3_system_errno(m_db.handle());
    sqlite3_reset(m_stmt);
    Database::throwEngineError(rc, message, systemError);
}

void Statement::reset() {
    if (m_server) {
        m_server->reset();
        return;
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::bind(int index, const QVariant& value) {
    if (m_server) {
        bindOnServer(index, value);
        return;
    }
    int rc = SQLITE_OK;
    if (value.isNull() || !value.isValid()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::QString:
            bindText(index, value.toString());
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        default:
            bindText(index, value.toString());
            return;
        }
    }
    m_db.check(rc);
}

void Statement::bindOnServer(int index, const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        m_server->bindNull(index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        m_server->bindDouble(index, value.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Bool:
        m_server->bindInt64(index, value.toLongLong());
        return;
    case QMetaType::QByteArray:
        m_server->bindBlob(index, value.toByteArray());
        return;
    default:
        m_server->bindText(index, value.toString());
        return;
    }
}

void Statement::bindText(int index, const QString& value) {
    if (m_server) {
        m_server->bindText(index, value);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    m_db.check(
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void Statement::bindInt64(int index, qint64 value) {
    if (m_server) {
        m_server->bindInt64(index, value);
        return;
    }
    m_db.check(sqlite3_bind_int64(m_stmt, index, value));
}

int Statement::columnCount() const {
    if (m_server)
        return m_server->columnCount();
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    if (m_server)
        return m_server->columnName(column);
    return fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::declaredType(int column) const {
    if (m_server)
        return m_server->declaredType(column);
    return fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

QString Statement::tableName(int column) const {
    if (m_server)
        return m_server->tableName(column);
    return fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::originName(int column) const {
    if (m_server)
        return m_server->originName(column);
    return fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

bool Statement::isNull(int column) const {
    if (m_server)
        return m_server->isNull(column);
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const {
    if (m_server)
        return m_server->int64(column);
    return sqlite3_column_int64(m_stmt, column);
}

Currency Statement::amount(int column) const {
    return Currency::fromRaw(isNull(column) ? 0 : int64(column));
}

double Statement::real(int column) const {
    if (m_server)
        return m_server->real(column);
    return sqlite3_column_double(m_stmt, column);
}

QString Statement::text(int column) const {
    if (m_server)
        return QString::fromUtf8(m_server->textBytes(column));
    const unsigned char* t = sqlite3_column_text(m_stmt, column);
    return t ? fromUtf8(t, sqlite3_column_bytes(m_stmt, column)) : QString();
}

bool Statement::isText(int column) const {
    if (m_server)
        return m_server->isText(column);
    return sqlite3_column_type(m_stmt, column) == SQLITE_TEXT;
}

QByteArrayView Statement::textBytes(int column) const {
    if (m_server)
        return m_server->textBytes(column);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_stmt, column));
}

bool Statement::isCounterColumn(int column) const {
    if (m_server)
        return m_server->isCounterColumn(column);
    int primaryKey = 0;
    int autoIncrement = 0;
    const QByteArray table = tableName(column).toUtf8();
    const QByteArray origin = originName(column).toUtf8();
    return sqlite3_table_column_metadata(m_db.handle(), nullptr, table.constData(),
                                         origin.constData(), nullptr, nullptr, nullptr,
                                         &primaryKey, &autoIncrement) == SQLITE_OK &&
           primaryKey;
}

std::optional<QVariant> Statement::insertedValue(const QString& column) const {
    if (!m_server)
        return std::nullopt;
    return m_server->insertedValue(column);
}

QVariant Statement::value(int column) const {
    if (m_server)
        return m_server->value(column);
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT:
        return QVariant(text(column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(m_stmt, column);
        return QVariant(
            QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return QVariant();
    }
}

} // namespace store
