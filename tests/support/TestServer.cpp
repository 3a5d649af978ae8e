#include "TestServer.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <libpq-fe.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace testing_support {

namespace {

std::runtime_error serverError(const char* what, PGconn* conn) {
    return std::runtime_error(std::string(what) + ": " + PQerrorMessage(conn));
}

// A libpq value, quoted when it would not stand alone in a key=value string.
QString quotedValue(const QString& value) {
    static const QString plain =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-:@%,+");
    bool needsQuotes = value.isEmpty();
    for (QChar c : value)
        needsQuotes = needsQuotes || !plain.contains(c);
    if (!needsQuotes)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString uniqueDatabaseName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("t_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QString quotedIdentifier(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

bool testsOnServer() {
    return qgetenv("TALLOMER_TEST_ENGINE") == "server";
}

QString serverAdminConnection() {
    const QString connection = qEnvironmentVariable("TALLOMER_TEST_SERVER");
    if (connection.isEmpty())
        throw std::runtime_error(
            "TALLOMER_TEST_SERVER is not set: scripts/test starts a PostgreSQL server for the "
            "server runs of the tests; start one with scripts/test-server start DIR and export "
            "its line");
    return connection;
}

QString withDatabaseName(const QString& connection, const QString& name) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(connection.toUtf8().constData(), &error);
    if (!options) {
        const std::string why = error ? error : "out of memory";
        PQfreemem(error);
        throw std::runtime_error("not a libpq connection string: " + why);
    }
    QStringList parts;
    for (const PQconninfoOption* o = options; o->keyword; ++o) {
        if (o->val && qstrcmp(o->keyword, "dbname") != 0)
            parts << QString::fromUtf8(o->keyword) + QLatin1Char('=') +
                         quotedValue(QString::fromUtf8(o->val));
    }
    PQconninfoFree(options);
    parts << QStringLiteral("dbname=") + quotedValue(name);
    return parts.join(QLatin1Char(' '));
}

ServerSession::ServerSession(const QString& connection)
    : m_conn(PQconnectdb(connection.toUtf8().constData())) {
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const std::runtime_error error = serverError("cannot connect to the test server", m_conn);
        PQfinish(m_conn);
        throw error;
    }
    // Notices (a dropped database that was not there) are no failure.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
    PQsetClientEncoding(m_conn, "UTF8");
}

ServerSession::~ServerSession() {
    PQfinish(m_conn);
}

void ServerSession::exec(const QString& sql) {
    scalar(sql);
}

QString ServerSession::scalar(const QString& sql) {
    PGresult* result = PQexec(m_conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        PQclear(result);
        throw serverError(sql.toUtf8().constData(), m_conn);
    }
    QString value;
    if (PQntuples(result) > 0 && PQnfields(result) > 0 && !PQgetisnull(result, 0, 0))
        value = QString::fromUtf8(PQgetvalue(result, 0, 0));
    PQclear(result);
    return value;
}

ServerDatabase::ServerDatabase()
    : m_admin(serverAdminConnection())
    , m_name(uniqueDatabaseName()) {
    ServerSession(m_admin).exec(
        QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C.UTF-8'")
            .arg(quotedIdentifier(m_name)));
}

ServerDatabase::~ServerDatabase() {
    try {
        ServerSession(m_admin).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                                        .arg(quotedIdentifier(m_name)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "could not drop test database %s: %s\n", qPrintable(m_name), e.what());
    }
}

} // namespace testing_support
