#pragma once

namespace store {

class Database;

/// Records in a new book that its text indexes are in the folded order of NOCASE.
void recordFoldedTextOrder(Database& db);

/// Books made by earlier builds have their text indexes in SQLite's own NOCASE
/// order, which folds a-z only; the folded order differs from it only where
/// an indexed text holds a cased letter beyond ASCII. The first connection
/// that can write rebuilds such indexes once and records it in the book; a
/// connection that cannot write compares in the old order instead.
void keepTextIndexOrder(Database& db);

} // namespace store
