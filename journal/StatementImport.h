#pragma once

#include "StatementReading.h"

#include <QDate>
#include <QList>
#include <QString>

namespace store {
class Database;
}

namespace journal {

struct StatementImportOptions {
    /// The bank account (开户银行 项目) the statement is of; the caller
    /// makes sure the catalogue has it.
    QString account;
    /// Stamped in 操作员 of every line brought in.
    QString operatorName;
    /// The file's name, kept with every line in 来源文件.
    QString sourceFile;
    /// Checks and counts, writes nothing.
    bool dryRun = false;
};

struct StatementImportResult {
    int lines = 0;                       // statement lines in the file
    int added = 0;                       // new ones: written, unless a dry run
    int alreadyThere = 0;                // lines the book holds already
    QList<RefusedStatementLine> refused; // in file order; when any, nothing is written
    QDate first;                         // the days the file's lines cover
    QDate last;
    bool written = false;
};

/// Brings the lines of a bank's statement (对账单), as online banking saves
/// it and readStatement() reads and checks it, into 银行对账单: when no line
/// is refused, all or none.
///
/// A line the book holds already (same account, day, amounts, balance and
/// reference) is counted, not added again, so an overlapping statement can
/// come in twice; identical lines within one file are all kept. The new
/// lines go in within one transaction, in time order, stamped with the
/// operator and the time of the import.
///
/// Throws lists::ImportFileError for a file without a statement's title row.
StatementImportResult importStatement(store::Database& db, const QList<lists::ImportRow>& rows,
                                      const StatementImportOptions& options);

} // namespace journal
