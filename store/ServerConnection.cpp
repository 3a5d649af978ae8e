#include "ServerConnection.h"

#include "Currency.h"
#include "EngineError.h"
#include "ServerDialect.h"
#include "ServerErrorText.h"

#include <libpq-fe.h>

#include <memory>

namespace store {

namespace {

ServerConnection::PasswordPrompt& passwordPrompt() {
    static ServerConnection::PasswordPrompt prompt;
    return prompt;
}

/// The passwords the prompt gave for connection strings, so that the run's
/// later connections to the same server (backups, checks) do not ask again.
QHash<QString, QByteArray>& promptedPasswords() {
    static QHash<QString, QByteArray> passwords;
    return passwords;
}

void ignoreNotice(void*, const char*) {}

QString connectionFailure(PGconn* conn) {
    return serverConnectionErrorText(conn ? QString::fromUtf8(PQerrorMessage(conn)).trimmed()
                                          : QString());
}

PGconn* connect(const QByteArray& connectionString, const QByteArray& password) {
    const char* keys[] = {"dbname", "password", "client_encoding", "application_name",
                          nullptr};
    const char* values[] = {connectionString.constData(),
                            password.isEmpty() ? nullptr : password.constData(), "UTF8",
                            "tallomer", nullptr};
    // expand_dbname: the first "dbname" is the whole connection string or URI.
    return PQconnectdbParams(keys, values, 1);
}

} // namespace

void ServerConnection::setPasswordPrompt(PasswordPrompt prompt) {
    passwordPrompt() = std::move(prompt);
}

ServerConnection::ServerConnection(const QString& connectionString)
    : m_connectionString(connectionString) {
    const QByteArray text = connectionString.toUtf8();
    m_conn = connect(text, promptedPasswords().value(connectionString));
    if (PQstatus(m_conn) != CONNECTION_OK && PQconnectionNeedsPassword(m_conn) &&
        passwordPrompt()) {
        const QByteArray password = passwordPrompt()(connectionString).toUtf8();
        if (!password.isEmpty()) {
            PQfinish(m_conn);
            m_conn = connect(text, password);
            if (PQstatus(m_conn) == CONNECTION_OK)
                promptedPasswords().insert(connectionString, password);
        }
    }
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString message = connectionFailure(m_conn);
        PQfinish(m_conn);
        m_conn = nullptr;
        throw EngineError(message);
    }
    PQsetNoticeProcessor(m_conn, ignoreNotice, nullptr);
}

ServerConnection::~ServerConnection() {
    *m_alive = false;
    if (m_conn)
        PQfinish(m_conn);
}

void ServerConnection::check(PGresult* result) const {
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY)
        return;
    throwServerError(result, m_conn);
}

void ServerConnection::exec(const QString& sql) {
    PGresult* result = PQexec(m_conn, serverSql(sql).toUtf8().constData());
    check(result);
    m_changes = QByteArray(PQcmdTuples(result)).toInt();
    PQclear(result);
}

void ServerConnection::copyIn(const QString& copy, const QByteArray& rows) {
    PGresult* started = PQexec(m_conn, copy.toUtf8().constData());
    if (!started || PQresultStatus(started) != PGRES_COPY_IN) {
        check(started);
        PQclear(started);
        throw EngineError(QStringLiteral("不是 COPY FROM STDIN 语句：%1").arg(copy));
    }
    PQclear(started);
    const bool sent = PQputCopyData(m_conn, rows.constData(), int(rows.size())) == 1;
    PQputCopyEnd(m_conn, sent ? nullptr : "not sent");
    // The outcome, then the end of the results of the statement.
    PGresult* result = PQgetResult(m_conn);
    while (PGresult* more = PQgetResult(m_conn))
        PQclear(more);
    check(result);
    m_changes = QByteArray(PQcmdTuples(result)).toInt();
    PQclear(result);
}

PGresult* ServerConnection::describe(const QByteArray& sql, int parameters) {
    const bool guarded = inTransaction() && !transactionFailed();
    if (guarded)
        exec(QStringLiteral("SAVEPOINT tallomer_describe"));
    PGresult* prepared = PQprepare(m_conn, "", sql.constData(), parameters, nullptr);
    if (guarded && PQresultStatus(prepared) != PGRES_COMMAND_OK)
        exec(QStringLiteral("ROLLBACK TO SAVEPOINT tallomer_describe; "
                            "RELEASE SAVEPOINT tallomer_describe"));
    check(prepared);
    PQclear(prepared);
    // Described before the release: any query replaces the unnamed prepared statement.
    PGresult* described = PQdescribePrepared(m_conn, "");
    if (guarded)
        exec(QStringLiteral("RELEASE SAVEPOINT tallomer_describe"));
    check(described);
    return described;
}

bool ServerConnection::inTransaction() const {
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

bool ServerConnection::transactionFailed() const {
    return PQtransactionStatus(m_conn) == PQTRANS_INERROR;
}

const ServerColumnOrigin& ServerConnection::columnOrigin(unsigned table, int column) {
    const quint64 key = (quint64(table) << 16) | quint64(column & 0xffff);
    auto found = m_origins.find(key);
    if (found != m_origins.end())
        return *found;
    ServerColumnOrigin origin;
    if (table != 0 && column > 0) {
        const QByteArray tableText = QByteArray::number(table);
        const QByteArray columnText = QByteArray::number(column);
        const char* params[] = {tableText.constData(), columnText.constData()};
        PGresult* result = PQexecParams(
            m_conn,
            "SELECT c.relname, a.attname, t.typname, a.attidentity <> '' OR a.attgenerated <> '' "
            "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
            "JOIN pg_type t ON t.oid = a.atttypid WHERE a.attrelid = $1::oid AND a.attnum = $2::int2",
            2, nullptr, params, nullptr, nullptr, 0);
        check(result);
        if (PQntuples(result) == 1) {
            origin.table = QString::fromUtf8(PQgetvalue(result, 0, 0));
            origin.column = QString::fromUtf8(PQgetvalue(result, 0, 1));
            origin.declaredType = fileDeclaredType(PQgetvalue(result, 0, 2));
            origin.isCounter = PQgetvalue(result, 0, 3)[0] == 't';
        }
        PQclear(result);
    }
    return *m_origins.insert(key, origin);
}

QString fileDeclaredType(const QByteArray& type) {
    if (type == "citext" || type == "text" || type == "varchar")
        return QStringLiteral("TEXT");
    if (type == "currency")
        return QStringLiteral("CURRENCY");
    if (type == "datetime")
        return QStringLiteral("DATETIME");
    if (type == "int8" || type == "int4" || type == "int2")
        return QStringLiteral("INTEGER");
    if (type == "float8" || type == "float4")
        return QStringLiteral("REAL");
    return QString();
}

void throwServerError(PGresult* result, PGconn* connection) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QByteArray code = state ? QByteArray(state) : QByteArray();
    const char* table = result ? PQresultErrorField(result, PG_DIAG_TABLE_NAME) : nullptr;
    const char* detail = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL) : nullptr;
    const QString tableName = table ? QString::fromUtf8(table) : QString();
    const QString detailText = detail ? QString::fromUtf8(detail) : QString();
    QString message = primary ? QString::fromUtf8(primary)
                              : QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    if (result)
        PQclear(result);
    if (code == "22003")
        throw CurrencyOverflow();
    throw EngineError(serverErrorText(QString::fromLatin1(code), message, tableName, detailText));
}

} // namespace store
