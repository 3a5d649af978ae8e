#pragma once

#include "store/JournalKind.h"

#include <QString>
#include <QStringList>

namespace store {
class Connection;
}

namespace tools {

/// A statistic asked for on the command line.
struct StatsRequest {
    QString statistic; // "summary", "month" or "voucher"
    store::JournalKind kind = store::JournalKind::Cash;
    QString from;      // summary and voucher: the date range
    QString to;
    QString voucher;   // voucher only
    QString year;      // month only, as the year field takes it ("2005", "2005年")
    QString bank;      // bank kind: one account, or every account when empty
};

/// Runs the statistic with the statistics windows' own checks and fill, and
/// returns the rows the fill wrote to 通用, tab-separated with a title line.
/// A refused criterion comes back as the window's message in `problem`.
QStringList runStatistic(store::Connection& connection, const StatsRequest& request, QString* problem);

} // namespace tools
