#pragma once

#include "ImportCommand.h"

#include "journal/SearchCriteria.h"

namespace tools {

struct SearchRequest {
    QString book;
    store::JournalKind kind = store::JournalKind::Cash;
    journal::SearchFields fields; // as given; upper-cased as the dialog's fields type them
};

/// tallomer-db search: the journal search dialog's checks and criteria text,
/// then the matching entries of all months in the order the journal window
/// shows them after a search, one line each, tab-separated, after a title
/// line naming every column of the window; cells as the grid shows them,
/// with a tab or line break inside a cell written as one blank. The criteria
/// text goes to standard error. Returns the exit status: 0 entries found,
/// 1 none, 2 a check failed (with the dialog's message) or no criterion.
int runSearch(const SearchRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
