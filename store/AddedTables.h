#pragma once

#include "Schema.h"

#include <QList>
#include <QStringList>

namespace store {

class Database;

/// The tables the program keeps beside the nine: the lines of the banks'
/// statements (银行对账单) and which of them match which bank journal
/// entries (银行对账). Their version is the book's `pragma user_version`, so
/// that a later build can tell what to migrate; a book of an earlier build
/// has version 0 and none of them.
constexpr int kAddedTablesVersion = 1;

const QList<TableDef>& addedTables();
/// Their indexes, as CREATE INDEX IF NOT EXISTS statements.
QStringList addedIndexStatements();

/// Makes the added tables and their indexes a book lacks and records the
/// version, in one transaction; does nothing on a book that has them.
/// Throws EngineError when the book cannot be written.
void ensureAddedTables(Database& db);

/// Whether the book holds the added tables (a book of an earlier build
/// opened to read may not: it then has no statement lines and no matches).
bool hasAddedTables(Database& db);

/// What is wrong with the added tables of a book that has them; empty for a
/// book of an earlier build, which lacks them rightly.
QStringList addedTableProblems(Database& db);

} // namespace store
