#pragma once

#include "lists/GridColumn.h"
#include "lists/ListWindowTraits.h"

namespace journal {

/// The summary catalogue's row of the list-window table, and its grid columns.
lists::ListWindowTraits summaryTraits();
QList<lists::GridColumn> summaryColumns();

/// The bank account catalogue's row of the list-window table, and its grid columns.
lists::ListWindowTraits bankAccountTraits();
QList<lists::GridColumn> bankAccountColumns();

} // namespace journal
