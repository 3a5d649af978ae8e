#pragma once

#include "JournalKind.h"

#include "lists/GridColumn.h"
#include "lists/ListWindowTraits.h"

namespace journal {

/// The journal window's row of the list-window table, for each kind.
lists::ListWindowTraits journalTraits(JournalKind kind);

/// The grid columns of each journal window, in display order.
QList<lists::GridColumn> journalColumns(JournalKind kind);

} // namespace journal
