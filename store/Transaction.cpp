#include "Transaction.h"

#include "Database.h"
#include "EngineError.h"
#include "ServerConnection.h"

namespace store {

Transaction::Transaction(Database& db) : m_db(db) {
    m_outermostOnServer = db.isServer() && !db.inTransaction();
    m_db.exec(m_outermostOnServer ? QStringLiteral("BEGIN")
                                  : QStringLiteral("SAVEPOINT tallomer_unit"));
}

Transaction::~Transaction() {
    if (m_done)
        return;
    try {
        m_db.exec(m_outermostOnServer
                      ? QStringLiteral("ROLLBACK")
                      : QStringLiteral("ROLLBACK TO tallomer_unit; RELEASE tallomer_unit"));
    } catch (...) {
        // A destructor must not throw; the engine already dropped the savepoint.
    }
}

void Transaction::commit() {
    if (m_outermostOnServer) {
        // The server ends a transaction in which a statement failed with a
        // rollback, even when asked to commit: that must not read as success.
        if (m_db.server()->transactionFailed())
            throw EngineError(QStringLiteral("这次操作中已有一步失败，全部没有保存"));
        m_db.exec(QStringLiteral("COMMIT"));
    } else {
        m_db.exec(QStringLiteral("RELEASE tallomer_unit"));
    }
    m_done = true;
}

} // namespace store
