#include "Statement.h"

#include "Database.h"
#include "EngineError.h"
#include "EngineSql.h"

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
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::bind(int index, const QVariant& value) {
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

void Statement::bindText(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    m_db.check(
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void Statement::bindInt64(int index, qint64 value) {
    m_db.check(sqlite3_bind_int64(m_stmt, index, value));
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::declaredType(int column) const {
    return fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

QString Statement::tableName(int column) const {
    return fromUtf8(sqlite3_column_table_name(m_stmt, column));
}

QString Statement::originName(int column) const {
    return fromUtf8(sqlite3_column_origin_name(m_stmt, column));
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

Currency Statement::amount(int column) const {
    return Currency::fromRaw(isNull(column) ? 0 : int64(column));
}

double Statement::real(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

QString Statement::text(int column) const {
    const unsigned char* t = sqlite3_column_text(m_stmt, column);
    return t ? fromUtf8(t, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QVariant Statement::value(int column) const {
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
