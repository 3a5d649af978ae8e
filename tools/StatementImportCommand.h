#pragma once

#include "ImportCommand.h"

#include <QString>

#include <optional>

namespace tools {

struct StatementImportRequest {
    QString book;
    QString file;                        // --from
    QString bankAccount;                 // --bank
    std::optional<QString> operatorName; // --operator; default 系统管理员 where there is one
    bool dryRun = false;
};

/// tallomer-db statement-import: brings a bank's statement into 银行对账单
/// as the 银行对账单 window's 导入 does, all lines or none, reporting each
/// refused line with its line, text and reason. Returns the exit status:
/// 0 brought in (or, in a dry run, every line passes), 1 lines refused or
/// the file unusable, 2 an operator or account not in the book.
int runStatementImport(const StatementImportRequest& request, const ReportLine& out,
                       const ReportLine& err);

} // namespace tools
