#pragma once

#include "store/Connection.h"

#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace testing_support {

class ServerDatabase;

/// A fresh book made by the same code as `tallomer-db create`, with the
/// program's connection open on it: a file in a temporary folder, or, in the
/// server runs of the suites, a new database on the test server.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();

    QString folder() const { return m_dir.path(); }
    /// The book's name: its file, or its connection string on the server.
    QString path() const { return m_path; }
    bool onServer() const { return m_server != nullptr; }
    store::Connection& connection() { return *m_connection; }
    store::Database& db() { return m_connection->database(); }

    /// Closes and reopens the connection, as a new run of the program would.
    void reopen();
    /// Runs a statement directly.
    void exec(const QString& sql);
    /// The first column of the first row of a select, null when there is none.
    QVariant scalar(const QString& sql);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ServerDatabase> m_server;
    QString m_path;
    std::unique_ptr<store::Connection> m_connection;
    QString m_previousFolder;
};

} // namespace testing_support
