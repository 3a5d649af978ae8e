#pragma once

#include "store/Connection.h"

#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace testing_support {

/// A fresh database in a temporary folder, made by the same code as
/// `tallomer-db create`, with the program's connection open on it.
class TestDatabase {
public:
    TestDatabase();

    QString folder() const { return m_dir.path(); }
    QString path() const { return m_path; }
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
    QString m_path;
    std::unique_ptr<store::Connection> m_connection;
};

} // namespace testing_support
