#pragma once

struct sqlite3;

namespace store {

/// Makes text comparisons of a connection ignore the case of every cased
/// letter: NOCASE (the collation of every text column) and like() fold
/// Unicode letter case, not only a-z.
void registerTextComparisons(sqlite3* db);

/// Puts back the order of SQLite's own NOCASE (a-z folded only) on a
/// connection that reads a book whose indexes were built in that order and
/// cannot rebuild them; like() still folds every letter.
void useAsciiCaseOrder(sqlite3* db);

} // namespace store
