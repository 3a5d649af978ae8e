#pragma once

// What the killed child and the tests that check its leftovers agree on.

#include "stats/StatisticsFill.h"

#include <QStringList>

namespace store {
class Query;
}

namespace faults {

/// The two statistics the child alternates between: 0 and 1.
stats::SummaryCriteria statisticsCriteria(int which);

/// The month the saving child adds its entries to, as the journal window opens it.
QStringList savedMonthQuery();

/// Appends a new cash entry numbered `number` (its 备注 reads "fault-NUMBER")
/// to the open month query, ready to post.
void appendEntry(store::Query& journal, int number);

/// The 备注 of the entry numbered `number`.
QString entryNote(int number);

} // namespace faults
