#pragma once

#include <QString>

struct pg_conn;

namespace testing_support {

/// Whether this run puts its books on the PostgreSQL test server: the *.server registrations
/// of a suite set TALLOMER_TEST_ENGINE=server.
bool testsOnServer();

/// The connection string of the test server's `postgres` database as its superuser, from
/// TALLOMER_TEST_SERVER. Throws std::runtime_error saying how to get a server when it is unset.
QString serverAdminConnection();

/// `connection` (a key=value string or a URI) as a key=value string naming database `name`.
QString withDatabaseName(const QString& connection, const QString& name);

/// A libpq connection for what a test does on the server beside the program: making and
/// dropping databases, looking at what reached them. Failures throw std::runtime_error with
/// the server's message.
class ServerSession {
public:
    explicit ServerSession(const QString& connection);
    ~ServerSession();
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    void exec(const QString& sql);
    /// The first column of the first row as text; a null string for no row or SQL null.
    QString scalar(const QString& sql);

private:
    pg_conn* m_conn;
};

/// A fresh, empty database on the test server (UTF8, locale C.UTF-8), uniquely named so that
/// tests running at once never share one; dropped when it goes, even with sessions still on it.
class ServerDatabase {
public:
    ServerDatabase();
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    QString name() const { return m_name; }
    /// The admin connection string naming this database, as a libpq key=value string.
    QString connectionString() const { return withDatabaseName(m_admin, m_name); }

private:
    QString m_admin;
    QString m_name;
};

} // namespace testing_support

/// Passes over a test of what only a book file has (its side files, its
/// header, its file-level safety copies) in the server runs of a suite.
#define SKIP_FOR_SERVER_BOOK(why)                                                                  \
    if (testing_support::testsOnServer())                                                          \
    GTEST_SKIP() << "file books only: " << (why)
