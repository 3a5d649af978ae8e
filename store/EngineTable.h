#pragma once

#include <QString>

namespace store {

class Database;

/// The engine's own table `_engine` in every database file: its format and a
/// salted verifier of the database password. Not one of the program's tables.
class EngineTable {
public:
    static const QString kFormat;
    /// The key of a server book's schema version (a file keeps it in its header).
    static const QString kSchemaVersionKey;

    /// Creates the table and stores the verifier of `password`.
    static void create(Database& db, const QString& password);
    /// Replaces the stored verifier.
    static void setPassword(Database& db, const QString& password);
    /// A setting of the engine kept with the book; empty when there is none.
    static QString value(Database& db, const QString& key);
    static void setValue(Database& db, const QString& key, const QString& value);
    /// Throws EngineError unless the file is one of ours and `password` is its password.
    static void verify(Database& db, const QString& password);
};

} // namespace store
