#pragma once

#include "store/JournalKind.h"

#include <QString>

#include <functional>
#include <optional>

namespace store {
class Connection;
}

namespace tools {

/// A line of the command's report, for standard output or standard error.
using ReportLine = std::function<void(const QString&)>;

/// A refused row's text as the reports show it under its reason: every line
/// of it indented.
QString indentedRowText(QString text);

/// Reports every refused row of `file` (its line, reason and text) and the
/// line that says nothing was written; a row has `line`, `text` and `reason`.
template <typename Rows>
void reportRefusedRows(const QString& file, const Rows& refused, const QString& prefix,
                       const ReportLine& err) {
    for (const auto& row : refused) {
        err(QStringLiteral("%1 第 %2 行：%3").arg(file).arg(row.line).arg(row.reason));
        err(indentedRowText(row.text));
    }
    err(prefix + QStringLiteral("有 %1 行不能导入，没有写入任何记录！").arg(refused.size()));
}

/// The operator an import stamps: the one asked for, which the book must
/// have, else 系统管理员 where there is one, else none. Nothing, with the
/// message reported, when the book lacks the one asked for.
std::optional<QString> importOperator(store::Connection& connection,
                                      const std::optional<QString>& asked, const QString& prefix,
                                      const ReportLine& err);

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
