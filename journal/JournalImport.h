#pragma once

#include "lists/ImportFileReader.h"

#include "store/JournalKind.h"

#include <QList>
#include <QString>

#include <functional>

namespace store {
class Connection;
}

namespace journal {

struct ImportOptions {
    store::JournalKind kind = store::JournalKind::Cash;
    /// Bank journal: the account of every row whose file names none.
    QString bankAccount;
    /// Stamped in 操作员 of every entry and added summary; empty: none.
    QString operatorName;
    /// A summary the catalogue lacks is added, with the attribute its amount
    /// side implies, instead of refusing the row.
    bool addSummaries = false;
    /// Checks and reports, writes nothing.
    bool dryRun = false;
    /// How a refusal names the way to add missing summaries, and the one
    /// account chosen for every row: the command's option or the window's control.
    QString addSummariesChoice = QStringLiteral("或用 --add-summaries");
    QString chosenAccountName = QStringLiteral("--bank 指定的");
    /// Told of the rows checked and then of the rows written, each out of all
    /// of them, now and then; may be empty.
    std::function<void(qsizetype done, qsizetype total)> progress;
};

struct RefusedRow {
    int line = 0;
    QString text;
    QString reason;
};

struct AddedSummary {
    QString name;
    QString attribute;
};

struct ImportResult {
    int entries = 0;                  // rows that pass (and, unless a dry run, were written)
    QList<RefusedRow> refused;        // in file order; when any, nothing is written
    QList<int> passedLines;           // the line of every row that passes, in file order
    QList<AddedSummary> addedSummaries;
    int recomputedMonths = 0;         // months (bank: months of one account) re-balanced
    bool written = false;
};

/// Brings the rows of an exported or spreadsheet-made journal into a
/// journal of the book. Columns are found by their titles in the first row;
/// each row is checked as the entry editor checks a save (a calendar day, a
/// summary, an amount on exactly one side), its summary must be one of the
/// catalogue's, whose attribute the entry takes, and a bank entry's account
/// one of the bank account catalogue's; a row with more or fewer cells than
/// the title row is refused. A file whose titles do not fit
/// throws lists::ImportFileError. Unless a row is refused or it is a dry run, every
/// row goes in within one transaction, in the file's order (within a month
/// the journal shows them as the file lists them), and the running balances
/// of every month (and account) they touch are recomputed as the journal
/// window does; the transaction is stored whole or not at all. Rows whose
/// date column reads "记录数" (an export's footer) and empty rows are passed
/// over.
ImportResult importJournal(store::Connection& connection, const QList<lists::ImportRow>& rows,
                           const ImportOptions& options);

} // namespace journal
