#pragma once

#include "store/JournalKind.h"

#include "lists/GridColumn.h"
#include "lists/ListWindowTraits.h"

namespace stats {

/// The three statistics, each shown in a list window per journal kind.
enum class Statistic { Summary, Month, Voucher };

/// The statistics window's row of the list-window table.
lists::ListWindowTraits statsTraits(Statistic statistic, store::JournalKind kind);

/// The grid columns: by summary and by voucher share theirs, by month has its own.
QList<lists::GridColumn> statsColumns(Statistic statistic);

} // namespace stats
