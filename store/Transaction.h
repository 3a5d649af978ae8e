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
    bool m_done = false;
};

} // namespace store
