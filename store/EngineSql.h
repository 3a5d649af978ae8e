#pragma once

#include <QString>

namespace store {

/// The statement as the engine runs it; the SQL text of the windows stays as
/// they build it. Two additions, neither of which changes which rows match:
/// - "(摘要 like 'x%')" on a text column becomes the range of texts that
///   begin with x once folded, so that an index on it is searched, not
///   scanned (like() folds every letter's case, which SQLite's own prefix
///   optimisation cannot know); a pattern with more wildcards keeps its LIKE
///   beside the range. Only where `foldedTextOrder`: the indexes are in the
///   order of the folded texts.
/// - a text column in the ORDER BY sorts in pinyin order, as Chinese readers
///   expect names and summaries in a list.
QString engineSql(const QString& sql, bool foldedTextOrder);

} // namespace store
