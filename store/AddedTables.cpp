#include "AddedTables.h"

#include "Database.h"
#include "Statement.h"
#include "Transaction.h"

namespace store {

namespace {

using T = ColumnType;

// A statement line is looked up by its account and day (the statement
// window, the matching, the reconciliation as of a day); a match by either
// of its sides.
const char* const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS 银行对账单_开户银行 ON 银行对账单 (开户银行, 日期)",
    "CREATE INDEX IF NOT EXISTS 银行对账_日记帐编号 ON 银行对账 (日记帐编号)",
    "CREATE INDEX IF NOT EXISTS 银行对账_对账单编号 ON 银行对账 (对账单编号)",
    "CREATE INDEX IF NOT EXISTS 银行对账_组号 ON 银行对账 (组号)",
};

} // namespace

QStringList addedIndexStatements() {
    QStringList statements;
    for (const char* index : kIndexes)
        statements << QString::fromUtf8(index);
    return statements;
}

const QList<TableDef>& addedTables() {
    static const QList<TableDef> tables = {
        {table::bankStatement,
         {{QStringLiteral("编号"), T::Counter},
          {QStringLiteral("开户银行"), T::Text},
          {QStringLiteral("日期"), T::DateTime},
          {QStringLiteral("摘要"), T::Text},
          {QStringLiteral("收入"), T::Currency},
          {QStringLiteral("支出"), T::Currency},
          {QStringLiteral("余额"), T::Currency},
          {QStringLiteral("流水号"), T::Text},
          {QStringLiteral("对方户名"), T::Text},
          {QStringLiteral("来源文件"), T::Text},
          {QStringLiteral("来源行"), T::Integer},
          {QStringLiteral("操作员"), T::Text},
          {QStringLiteral("操作日期"), T::DateTime}}},
        // One row for each entry and each line of a match; the rows of one
        // match share its 组号, so that several entries can match one line
        // and one entry several lines.
        {table::bankMatches,
         {{QStringLiteral("编号"), T::Counter},
          {QStringLiteral("组号"), T::Integer},
          {QStringLiteral("日记帐编号"), T::Integer},
          {QStringLiteral("对账单编号"), T::Integer},
          {QStringLiteral("操作员"), T::Text},
          {QStringLiteral("操作日期"), T::DateTime}}},
    };
    return tables;
}

bool hasAddedTables(Database& db) {
    for (const TableDef& t : addedTables()) {
        if (!db.hasTable(t.name))
            return false;
    }
    return true;
}

void ensureAddedTables(Database& db) {
    if (db.schemaVersion() >= kAddedTablesVersion && hasAddedTables(db))
        return;
    Transaction unit(db);
    for (const TableDef& t : addedTables()) {
        if (!db.hasTable(t.name))
            createTable(db, t);
    }
    for (const QString& index : addedIndexStatements())
        db.exec(index);
    db.setSchemaVersion(kAddedTablesVersion);
    unit.commit();
}

QStringList addedTableProblems(Database& db) {
    QStringList problems;
    if (db.schemaVersion() == 0 && !hasAddedTables(db))
        return problems;
    for (const TableDef& t : addedTables())
        problems << tableProblems(db, t);
    return problems;
}

} // namespace store
