#pragma once

struct sqlite3;

namespace store {

/// Name of the collation that orders text as Chinese readers expect it: Han
/// characters by their pinyin, through the zh_CN collator.
inline constexpr char kPinyinCollation[] = "pinyin";

/// Makes text comparisons of a connection ignore the case of every cased
/// letter: NOCASE (the collation of every text column) and like() fold
/// Unicode letter case, not only a-z. Also registers the pinyin collation.
void registerTextComparisons(sqlite3* db);

/// Puts back the order of SQLite's own NOCASE (a-z folded only) on a
/// connection that reads a book whose indexes were built in that order and
/// cannot rebuild them; like() still folds every letter.
void useAsciiCaseOrder(sqlite3* db);

} // namespace store
