#pragma once

#include "ImportCommand.h"

#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

#include <QString>

#include <optional>

namespace store {
class Connection;
}

namespace tools {

/// Where a command that makes one table (a report) puts it: standard output,
/// or a file in one of the five export formats, or a printed PDF.
struct TableOutput {
    QString book;
    std::optional<QString> format;                       // --format; else the extension of --out
    QString out;                                         // --out; empty: standard output
    QString operatorName = QStringLiteral("系统管理员"); // --operator, named on a printed page
};

/// Checks --format and --out before anything is read: "pdf" or an export
/// type, a file to write that is not the book. Sets `format` (nothing for
/// standard output); returns 0, or 2 after the message with `prefix`.
int checkTableOutput(const TableOutput& output, const QString& prefix,
                     std::optional<QString>& format, const ReportLine& err);

/// A PDF needs an operator of the book to name; returns 0, or 2 after the message.
int checkPrintingOperator(store::Connection& connection, const TableOutput& output,
                          const std::optional<QString>& format, const QString& prefix,
                          const ReportLine& err);

/// The table as tab-separated lines under `title`: the column titles, the
/// rows, the footer.
QStringList tableLines(const QString& title, const lists::TableSnapshot& table);

/// Writes the table to the file in `format` ("pdf" through the print setup);
/// tells on `out` what was written, `what` naming it.
void writeTableFile(const lists::TableSnapshot& table, const lists::PrintSetup& setup,
                    const TableOutput& output, const QString& format, const QString& what,
                    const ReportLine& out, const ReportLine& err);

} // namespace tools
