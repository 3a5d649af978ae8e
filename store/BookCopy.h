#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace store {

class Database;

/// What a whole-book copy wrote: the rows of each table, in copy order.
struct BookCopyReport {
    struct Table {
        QString name;
        qint64 rows = 0;
    };
    QList<Table> tables;
    int schemaVersion = 0;
    qint64 totalRows() const;
};

/// Told how far a copy has come: rows written so far out of all rows.
using CopyProgress = std::function<void(qint64 copied, qint64 total)>;

/// Copies every row of every table of `source` (the nine, the added tables it
/// holds with their version, the engine's own rows with the database password
/// and failed logins) to the new book `target`, a file path or a connection
/// string (see isServerBook()), keeping rowids and counters. The copy is
/// written in one transaction and read back table by table, row by row in
/// rowid order, before it is committed. A new file appears whole or not at
/// all; a server database must hold no book yet. Throws EngineError (for a
/// mismatch naming the table that differs) and leaves the target as it was.
BookCopyReport copyBook(Database& source, const QString& target, const CopyProgress& progress = {});

/// As copyBook(), into `file`, an empty file made for it (a temporary that
/// later takes its name).
BookCopyReport copyBookToEmptyFile(Database& source, const QString& file,
                                   const CopyProgress& progress = {});

/// Replaces every row of the book `target` with those of `source` in one
/// transaction, verified as copyBook() verifies; on any failure the target
/// keeps its rows.
BookCopyReport replaceBookRows(Database& source, Database& target,
                               const CopyProgress& progress = {});

} // namespace store
