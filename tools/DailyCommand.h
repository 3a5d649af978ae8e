#pragma once

#include "ImportCommand.h"

#include <QString>

#include <optional>

namespace tools {

struct DailyRequest {
    QString book;
    QString from;                  // --from; with --to, the closing date when neither is given
    QString to;                    // --to
    std::optional<QString> kind;   // --kind cash|bank; every account when not given
    QString bank;                  // --bank: one bank account
    bool everyDay = false;         // --every-day
    std::optional<QString> format; // --format; else the extension of --out
    QString out;                   // --out; empty: the report as text on standard output
    QString operatorName = QStringLiteral("系统管理员"); // --operator, named on a printed page
};

/// tallomer-db daily: the daily funds report of a range of days, its title,
/// column titles, rows and totals as tab-separated lines, or written to a file
/// in one of the five export formats or as the printed PDF. Returns the exit
/// status: 0 made, 1 a sum beyond the amount range, 2 a request the book
/// does not allow.
int runDaily(const DailyRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
