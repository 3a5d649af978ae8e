#pragma once

#include "store/JournalKind.h"

#include <QString>

#include <functional>
#include <optional>

namespace tools {

/// A line of the command's report, for standard output or standard error.
using ReportLine = std::function<void(const QString&)>;

struct ImportRequest {
    QString book;
    QString file;
    store::JournalKind kind = store::JournalKind::Cash;
    QString bankAccount;                 // --bank
    std::optional<QString> operatorName; // --operator; default 系统管理员 where there is one
    bool addSummaries = false;
    bool dryRun = false;
};

/// tallomer-db import: reads the file, checks every row and writes all of
/// them or none, reporting each refused row with its line, text and reason.
/// Returns the exit status: 0 imported (or, in a dry run, all rows pass),
/// 1 rows refused or the file unusable, 2 an operator or account not in the book.
int runImport(const ImportRequest& request, const ReportLine& out, const ReportLine& err);

} // namespace tools
