#pragma once

#include "ListExport.h"

#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace store {
class Connection;
}

namespace tools {

/// Whether the list's window has "打印": the two catalogues have none.
bool listPrints(ExportList list);

/// Whether the operator table holds this name.
bool hasOperator(store::Connection& connection, const QString& name);

struct PrintRequest {
    ExportList list = ExportList::CashMonth;
    QDate month;          // the journal lists: any day of the month
    QString bankAccount;  // the bank month list
    QString path;         // the PDF file, written whole or not at all
    QString operatorName; // named after the grid as the one who printed
    QDateTime printedAt = QDateTime::currentDateTime();
};

struct PrintResult {
    int records = 0;
    int pages = 0; // 0: the list was empty and nothing was written
};

/// Lays the list out with its window's print setup and fonts, as its "打印"
/// does, and writes every page to the PDF file through the page rendering of
/// the preview and the printer. Writes nothing for an empty list, which the
/// window does not print either. Throws store::EngineError for an engine
/// failure, a sum beyond the amount range or a file that cannot be written.
PrintResult printList(store::Connection& connection, const PrintRequest& request);

/// Lays `table` out with `setup` (its substitutions already made) and writes
/// every page to the PDF file at `path`, whole or not at all; returns the
/// pages written. Throws store::EngineError for a file that cannot be written.
int writeListPdf(lists::TableSnapshot table, const lists::PrintSetup& setup, const QString& path,
                 const QDateTime& printedAt);

} // namespace tools
