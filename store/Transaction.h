#pragma once

namespace store {

class Database;

/// A unit of work: rolled back unless commit() ran. Nests, through savepoints,
/// inside a transaction already open on the same database.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    // A server opens a savepoint only inside a transaction: the outermost
    // unit on a server book begins and ends the transaction itself.
    bool m_outermostOnServer = false;
    bool m_done = false;
};

} // namespace store
