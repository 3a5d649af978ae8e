#pragma once

#include "lists/ListWindowTraits.h"
#include "lists/TableSnapshot.h"
#include "store/JournalKind.h"

#include <QDate>
#include <QString>

#include <optional>

namespace store {
class Connection;
}

namespace tools {

/// The lists tallomer-db exports, each as its window shows it.
enum class ExportList { CashMonth, BankMonth, Summaries, BankAccounts, Operators };

/// "cash-month", "bank-month", "summaries", "banks" or "operators".
std::optional<ExportList> exportListNamed(const QString& name);

/// The export type (1 to 5) of a format named by its extension ("txt", "csv",
/// "htm", "rtf", "xls"); nothing for any other name.
std::optional<int> exportTypeNamed(const QString& extension);

/// A month written "YYYY-MM" (or "YYYY-M"); nothing for any other text.
std::optional<QDate> monthNamed(const QString& text);

/// The month being kept: that of the closing date.
QDate closingMonth(store::Connection& connection);

/// Whether the bank account catalogue holds this account.
bool hasBankAccount(store::Connection& connection, const QString& account);

/// A list as its window holds it: the window's traits, and the snapshot of
/// the window's statement through its column table with every column visible.
struct ListSnapshot {
    lists::ListWindowTraits traits;
    lists::TableSnapshot snapshot;
};

/// `month` and `bankAccount` choose the journal lists' rows. `forPrint`: as
/// the window prints it, without the two-colour rows. Throws
/// store::EngineError for an engine failure or a sum beyond the amount range.
ListSnapshot listSnapshot(store::Connection& connection, ExportList list, const QDate& month,
                          const QString& bankAccount, bool forPrint = false);

struct ExportRequest {
    ExportList list = ExportList::CashMonth;
    int type = 1;          // 1 to 5, as lists::writeExport numbers them
    QString path;          // written whole or not at all
    QDate month;           // the journal lists: any day of the month
    QString bankAccount;   // the bank month list
};

struct ExportSummary {
    int records = 0;   // records written
    int cutLabels = 0; // worksheet labels cut at 255 bytes
};

/// Opens the list's query with the statement its window uses, takes the
/// snapshot through the window's column table with every column visible, and
/// writes it in the chosen format.
/// Throws store::EngineError for an engine failure or a file that cannot be
/// written, with the reason (a worksheet with too many rows included).
ExportSummary exportList(store::Connection& connection, const ExportRequest& request);

/// Writes `snapshot` to `path` in the format of `type` (1 to 5), whole or not
/// at all, and returns the worksheet labels cut to fit. Throws
/// store::EngineError for a file that cannot be written, with the reason (a
/// worksheet with too many rows included).
int writeExportFile(int type, const lists::TableSnapshot& snapshot, const QString& path);

} // namespace tools
