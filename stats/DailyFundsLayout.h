#pragma once

#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

namespace stats {

struct DailyFundsReport;

/// The report as the table the print preview lays out and the exports write:
/// the window's columns, its rows, the totals as the footer; every date and
/// amount kept whole.
lists::TableSnapshot dailyFundsTable(const DailyFundsReport& report);

/// The print setup of the report: the list windows' one under its title.
lists::PrintSetup dailyFundsPrintSetup();

} // namespace stats
