#include "TestDatabase.h"

#include <QDir>

#include "TestServer.h"

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

namespace testing_support {

TestDatabase::TestDatabase() {
    if (testsOnServer()) {
        m_server = std::make_unique<ServerDatabase>();
        m_path = m_server->connectionString();
        // A server book's safety copies go to the data folder, the program's
        // current folder: the test's own folder here, not where it was started.
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    } else {
        m_path = m_dir.filePath(QStringLiteral("xjrjz.mdb"));
    }
    store::createBook(m_path, store::standardPassword());
    reopen();
}

TestDatabase::~TestDatabase() {
    // The connection goes before the database it is on.
    m_connection.reset();
    if (!m_previousFolder.isEmpty())
        QDir::setCurrent(m_previousFolder);
}

void TestDatabase::reopen() {
    m_connection = std::make_unique<store::Connection>();
    m_connection->setConnectionString(store::ConnectionString::forFile(m_path));
    m_connection->open();
}

void TestDatabase::exec(const QString& sql) { db().exec(sql); }

QVariant TestDatabase::scalar(const QString& sql) {
    store::Statement s(db(), sql);
    return s.step() ? s.value(0) : QVariant();
}

} // namespace testing_support
