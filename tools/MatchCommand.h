#pragma once

#include "ImportCommand.h"

#include <QDate>
#include <QString>

#include <optional>

namespace tools {

struct MatchRequest {
    QString book;
    QString bankAccount;                 // --bank
    int days = 3;                        // --days
    std::optional<QDate> month;          // --month; nothing: every day of the book
    std::optional<QString> operatorName; // --operator; default 系统管理员 where there is one
};

/// tallomer-db match: the automatic matching of the 银行对账 window over one
/// account's month, or over every entry and line not matched yet. Prints a
/// title line and one tab-separated line for each pair made (the entry, then
/// the statement line), then the counts. Returns the exit status: 0 done,
/// 2 an operator or account not in the book.
int runMatch(const MatchRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
