#pragma once

#include "lists/GridColumn.h"
#include "lists/ListWindowSpec.h"

namespace journal {

/// The summary catalogue's row of the list-window table, and its grid columns.
lists::ListWindowSpec summarySpec();
QList<lists::GridColumn> summaryColumns();

/// The bank account catalogue's row of the list-window table, and its grid columns.
lists::ListWindowSpec bankAccountSpec();
QList<lists::GridColumn> bankAccountColumns();

} // namespace journal
