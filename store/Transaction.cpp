#include "Transaction.h"

#include "Database.h"

namespace store {

Transaction::Transaction(Database& db) : m_db(db) {
    m_db.exec(QStringLiteral("SAVEPOINT tallomer_unit"));
}

Transaction::~Transaction() {
    if (m_done)
        return;
    try {
        m_db.exec(QStringLiteral("ROLLBACK TO tallomer_unit; RELEASE tallomer_unit"));
    } catch (...) {
        // A destructor must not throw; the engine already dropped the savepoint.
    }
}

void Transaction::commit() {
    m_db.exec(QStringLiteral("RELEASE tallomer_unit"));
    m_done = true;
}

} // namespace store
