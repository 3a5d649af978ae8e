#include "TextIndexOrder.h"

#include "Database.h"
#include "EngineError.h"
#include "EngineTable.h"
#include "Statement.h"
#include "TextFolding.h"
#include "Transaction.h"

#include <QChar>
#include <QStringList>

#include <sqlite3.h>

namespace store {

namespace {

const QString kKey = QStringLiteral("text order");

// Named with the Unicode version of the case folding: a later version may
// fold more letters, and the indexes are checked again.
QString foldedOrderName() {
    return QStringLiteral("folded case, Qt Unicode tables %1")
        .arg(int(QChar::currentUnicodeVersion()));
}

QString quotedName(const QString& name) {
    QString body = name;
    body.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + body + QLatin1Char('"');
}

// Whether any text in a column of a NOCASE index holds a letter that the
// folded order places elsewhere than SQLite's own NOCASE did.
bool indexedTextChangesOrder(Database& db) {
    QList<QPair<QString, QString>> columns; // table, column
    Statement indexes(
        db, QStringLiteral(
                "SELECT m.tbl_name, x.name FROM sqlite_master m, pragma_index_xinfo(m.name) x "
                "WHERE m.type = 'index' AND x.key = 1 AND x.name IS NOT NULL "
                "AND upper(x.coll) = 'NOCASE'"));
    while (indexes.step())
        columns.append({indexes.text(0), indexes.text(1)});
    for (const auto& [table, column] : columns) {
        Statement values(db, QStringLiteral("SELECT DISTINCT %1 COLLATE BINARY FROM %2")
                                 .arg(quotedName(column), quotedName(table)));
        while (values.step()) {
            if (hasFoldingBeyondAscii(values.text(0)))
                return true;
        }
    }
    return false;
}

} // namespace

void recordFoldedTextOrder(Database& db) {
    EngineTable::setValue(db, kKey, foldedOrderName());
}

void keepTextIndexOrder(Database& db) {
    if (db.isServer())
        return;
    if (EngineTable::value(db, kKey) == foldedOrderName())
        return;
    const bool changes = indexedTextChangesOrder(db);
    if (sqlite3_db_readonly(db.handle(), "main") != 0) {
        if (changes)
            db.useAsciiCaseOrder();
        return;
    }
    try {
        Transaction unit(db);
        if (changes)
            db.exec(QStringLiteral("REINDEX NOCASE"));
        recordFoldedTextOrder(db);
        unit.commit();
    } catch (const EngineError&) {
        // Busy or out of space: this connection keeps to the old order, the next one tries again.
        if (changes)
            db.useAsciiCaseOrder();
    }
}

} // namespace store
