#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

class Database;

/// The column types of the program's tables, and how SQLite declares them.
enum class ColumnType { Text, Currency, DateTime, Counter, Integer };

struct ColumnDef {
    QString name;
    ColumnType type;
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;
};

/// Table names, as the SQL text of the windows writes them.
namespace table {
inline const QString cashJournal = QStringLiteral("现金日记帐");
inline const QString bankJournal = QStringLiteral("银行日记帐");
inline const QString summaries = QStringLiteral("摘要");
inline const QString bankAccounts = QStringLiteral("开户银行");
inline const QString operators = QStringLiteral("权限表");
inline const QString company = QStringLiteral("公司信息");
inline const QString closingDate = QStringLiteral("关帐日期");
inline const QString scratch = QStringLiteral("通用");
inline const QString chart = QStringLiteral("图形显示");
// Beside the nine: the bank's statement lines and their matches with the bank journal.
inline const QString bankStatement = QStringLiteral("银行对账单");
inline const QString bankMatches = QStringLiteral("银行对账");
} // namespace table

/// The nine tables with every column the program reads or writes.
const QList<TableDef>& schemaTables();

/// The indexes of the nine tables, as CREATE INDEX statements.
QStringList indexStatements();

/// Creates the nine tables, their indexes and the engine table holding the
/// verifier of the database password, in one transaction.
void createSchema(Database& db, const QString& password);

/// The statement that creates a table with its declared column types.
QString createTableSql(const TableDef& table);
/// Makes the table in the book, in its engine's own terms; a name beginning
/// with "temp." makes a table of this connection alone.
void createTable(Database& db, const TableDef& table);
/// What is wrong with one table of a database file: missing, a missing
/// column or a column of another type.
QStringList tableProblems(Database& db, const TableDef& table);

/// What is wrong with a database file's tables, empty when nothing is: a
/// missing table or column, or a column of another type.
QStringList schemaProblems(Database& db);

} // namespace store
