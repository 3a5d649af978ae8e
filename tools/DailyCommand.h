#pragma once

#include "ImportCommand.h"

#include <QString>

#include <optional>

namespace tools {

struct DailyRequest {
    QString book;
    QString from;                // --from; with --to, the closing date when neither is given
    QString to;                  // --to
    std::optional<QString> kind; // --kind cash|bank; every account when not given
    QString bank;                // --bank: one bank account
    bool everyDay = false;       // --every-day
};

/// tallomer-db daily: the daily funds report of a range of days, its title,
/// column titles, rows and totals as tab-separated lines. Returns the exit
/// status: 0 made, 1 a sum beyond the amount range, 2 a request the book
/// does not allow.
int runDaily(const DailyRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
