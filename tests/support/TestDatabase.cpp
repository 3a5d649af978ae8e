#include "TestDatabase.h"

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

namespace testing_support {

TestDatabase::TestDatabase() : m_path(m_dir.filePath(QStringLiteral("xjrjz.mdb"))) {
    store::createDatabaseFile(m_path, store::standardPassword());
    reopen();
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
