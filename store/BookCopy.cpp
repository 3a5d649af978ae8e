#include "BookCopy.h"

#include "AddedTables.h"
#include "BookLocation.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "EngineError.h"
#include "EngineTable.h"
#include "Schema.h"
#include "ServerConnection.h"
#include "Statement.h"
#include "Transaction.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <memory>

namespace store {

namespace {

using T = ColumnType;

// Rows read at a time, so that a server's answer never holds a whole table.
constexpr int kPageRows = 5000;
// Rows sent to a server in one COPY.
constexpr qsizetype kCopyBytes = 1 << 20;
// Rows between two reports of progress.
constexpr qint64 kProgressRows = 10000;

const QString kEngineTable = QStringLiteral("_engine");

bool hasCounter(const TableDef& t) {
    return std::any_of(t.columns.begin(), t.columns.end(),
                       [](const ColumnDef& c) { return c.type == T::Counter; });
}

QStringList columnNames(const TableDef& t) {
    QStringList names;
    for (const ColumnDef& c : t.columns)
        names << c.name;
    return names;
}

// The engine's own rows (format, password verifier, failed logins ...) travel with the book.
TableDef engineTable() {
    return {kEngineTable, {{QStringLiteral("key"), T::Text}, {QStringLiteral("value"), T::Text}}};
}

QList<TableDef> everyTable() {
    QList<TableDef> tables = schemaTables();
    tables << addedTables() << engineTable();
    return tables;
}

// A value as its column's type reads it on either engine: a file book may
// keep a whole day serial as an integer where a server keeps a double.
QVariant cell(const Statement& s, int column, ColumnType type) {
    if (s.isNull(column))
        return QVariant();
    switch (type) {
    case T::Text:
        return s.text(column);
    case T::DateTime:
        return s.real(column);
    case T::Currency:
    case T::Counter:
    case T::Integer:
        break;
    }
    return qlonglong(s.int64(column));
}

void bindCell(Statement& s, int index, const QVariant& value, ColumnType type) {
    if (value.isNull())
        s.bind(index, QVariant());
    else if (type == T::Text)
        s.bindText(index, value.toString());
    else if (type == T::DateTime)
        s.bind(index, value.toDouble());
    else
        s.bindInt64(index, value.toLongLong());
}

// A server keeps the schema version among the engine's rows, a file in its
// header: it goes from book to book on its own, never as a row.
QString versionLeftOut(const TableDef& t) {
    return t.name == kEngineTable
               ? QStringLiteral(" AND key <> '%1'").arg(EngineTable::kSchemaVersionKey)
               : QString();
}

/// The rows of a table in rowid order, each its rowid and then its columns,
/// read a page at a time.
class RowPages {
public:
    RowPages(Database& db, const TableDef& t)
        : m_db(db)
        , m_table(t)
        , m_sql(QStringLiteral(
                    "SELECT rowid AS k, %1 FROM %2 WHERE rowid > ?%3 ORDER BY rowid LIMIT %4")
                    .arg(columnNames(t).join(QStringLiteral(", ")), t.name, versionLeftOut(t))
                    .arg(kPageRows)) {}

    bool next(QVariantList& row) {
        if (!m_page || !m_page->step()) {
            if (m_page && m_inPage < kPageRows)
                return false;
            m_page = std::make_unique<Statement>(m_db, m_sql);
            m_page->bindInt64(1, m_lastKey);
            m_inPage = 0;
            if (!m_page->step())
                return false;
        }
        ++m_inPage;
        row.clear();
        m_lastKey = m_page->int64(0);
        row << qlonglong(m_lastKey);
        for (int c = 0; c < m_table.columns.size(); ++c)
            row << cell(*m_page, c + 1, m_table.columns[c].type);
        return true;
    }

private:
    Database& m_db;
    const TableDef& m_table;
    QString m_sql;
    std::unique_ptr<Statement> m_page;
    qint64 m_lastKey = std::numeric_limits<qint64>::min();
    int m_inPage = 0;
};

// One value in COPY's text format: \N for null, text with its backslashes and
// line and field ends escaped, a double with every digit it needs to come back the same.
void appendCopyValue(QByteArray& line, const QVariant& value, ColumnType type) {
    if (value.isNull()) {
        line += "\\N";
        return;
    }
    if (type == T::DateTime) {
        line += QByteArray::number(value.toDouble(), 'g', 17);
        return;
    }
    if (type != T::Text) {
        line += QByteArray::number(value.toLongLong());
        return;
    }
    for (const char c : value.toString().toUtf8()) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

/// Inserts rows as RowPages reads them, keeping each row's rowid: a table
/// with a counter keeps it in the counter, another one names the rowid. A
/// server takes them through COPY, a megabyte at a time (four to five times
/// as fast as inserts of many rows each); a file through one prepared insert.
class RowWriter {
public:
    RowWriter(Database& db, const TableDef& t)
        : m_db(db)
        , m_table(t)
        , m_keyed(!hasCounter(t)) {
        QStringList names = columnNames(t);
        if (m_keyed)
            names.prepend(db.isServer() ? QStringLiteral("_rowid") : QStringLiteral("rowid"));
        const QString list = names.join(QStringLiteral(", "));
        if (db.isServer()) {
            m_copy = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(t.name, list);
            return;
        }
        const QString marks =
            QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "));
        m_insert = std::make_unique<Statement>(
            db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t.name, list, marks));
    }

    void add(const QVariantList& row) {
        // The row is its rowid, then its columns.
        const int first = m_keyed ? 0 : 1;
        if (m_insert) {
            m_insert->reset();
            for (int c = first; c < row.size(); ++c)
                bindCell(*m_insert, c - first + 1, row[c], type(c));
            m_insert->step();
            return;
        }
        for (int c = first; c < row.size(); ++c) {
            if (c > first)
                m_rows += '\t';
            appendCopyValue(m_rows, row[c], type(c));
        }
        m_rows += '\n';
        if (m_rows.size() >= kCopyBytes)
            finish();
    }

    void finish() {
        if (m_rows.isEmpty())
            return;
        m_db.server()->copyIn(m_copy, m_rows);
        m_rows.clear();
    }

private:
    // The type of the value at `index` of a row: the rowid, then the columns.
    ColumnType type(int index) const {
        return index == 0 ? T::Integer : m_table.columns[index - 1].type;
    }

    Database& m_db;
    const TableDef& m_table;
    bool m_keyed;
    std::unique_ptr<Statement> m_insert;
    QString m_copy;
    QByteArray m_rows;
};

/// Reads the whole source in one snapshot, so that a desk saving meanwhile
/// never leaves half its work in the copy.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Database& db)
        : m_db(db)
        , m_own(!db.inTransaction()) {
        if (m_own)
            db.exec(db.isServer() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                                  : QStringLiteral("BEGIN"));
    }
    ~ReadSnapshot() {
        if (!m_own)
            return;
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const EngineError&) {
            // Nothing was written: a lost connection ends the transaction all the same.
        }
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Database& m_db;
    bool m_own;
};

qint64 rowCount(Database& db, const QString& table) {
    Statement count(db, QStringLiteral("SELECT count(*) FROM ") + table);
    return count.step() ? count.int64(0) : 0;
}

[[noreturn]] void differs(const QString& table, const QString& how) {
    throw EngineError(QStringLiteral("复制后核对不符：表“%1”%2，没有复制").arg(table, how));
}

void verifyTable(Database& source, Database& target, const TableDef& t) {
    RowPages original(source, t);
    RowPages copy(target, t);
    QVariantList a;
    QVariantList b;
    for (qint64 n = 1;; ++n) {
        const bool hasA = original.next(a);
        const bool hasB = copy.next(b);
        if (!hasA && !hasB)
            return;
        if (hasA != hasB)
            differs(t.name, QStringLiteral("的行数不同"));
        if (a != b)
            differs(t.name,
                    QStringLiteral("的第 %1 行（rowid %2）不同").arg(n).arg(a[0].toLongLong()));
    }
}

// The target's counter goes on where the source's would: past every rowid
// copied, and past rows the source once had and deleted.
void carryCounter(Database& source, Database& target, const TableDef& t, qint64 lastKey) {
    // A file counts only the counters it declares; a server each table's hidden rowid too.
    if (!hasCounter(t) && !target.isServer())
        return;
    const qint64 sourceCounter =
        hasCounter(t) || source.isServer() ? source.lastCounter(t.name) : 0;
    target.setLastCounter(t.name, std::max(sourceCounter, lastKey));
}

// Copies the rows of every table of `source` into `target`, whose tables are
// emptied first, and reads them back; inside the caller's transaction.
BookCopyReport copyRows(Database& source, Database& target, const CopyProgress& progress) {
    const ReadSnapshot snapshot(source);
    QList<TableDef> tables;
    for (const TableDef& t : everyTable()) {
        if (!target.hasTable(t.name))
            continue;
        target.exec(QStringLiteral("DELETE FROM ") + t.name);
        if (source.hasTable(t.name))
            tables << t;
    }
    BookCopyReport report;
    qint64 total = 0;
    for (const TableDef& t : tables)
        total += rowCount(source, t.name);
    qint64 done = 0;
    for (const TableDef& t : tables) {
        RowPages rows(source, t);
        RowWriter writer(target, t);
        QVariantList row;
        qint64 copied = 0;
        qint64 lastKey = 0;
        while (rows.next(row)) {
            writer.add(row);
            lastKey = row[0].toLongLong();
            ++copied;
            if (progress && ++done % kProgressRows == 0)
                progress(done, total);
        }
        writer.finish();
        carryCounter(source, target, t, lastKey);
        report.tables.append({t.name, copied});
    }
    if (progress)
        progress(total, total);
    for (const TableDef& t : tables)
        verifyTable(source, target, t);
    report.schemaVersion = source.schemaVersion();
    return report;
}

// The indexes of a new book other than those that keep values unique (which
// stay), as the statements that make them again. Built once over the copied
// rows they take a fraction of the time they take kept up row by row.
QStringList dropIndexes(Database& db) {
    QStringList names;
    QStringList statements;
    {
        Statement list(
            db,
            db.isServer()
                ? QStringLiteral("SELECT c.relname, pg_get_indexdef(i.indexrelid) FROM pg_index i "
                                 "JOIN pg_class c ON c.oid = i.indexrelid "
                                 "WHERE NOT i.indisunique AND c.relnamespace = "
                                 "current_schema()::regnamespace")
                : QStringLiteral("SELECT name, sql FROM sqlite_master "
                                 "WHERE type = 'index' AND sql IS NOT NULL"));
        while (list.step()) {
            names << list.text(0);
            statements << list.text(1);
        }
    }
    for (const QString& name : names)
        db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(name));
    return statements;
}

// A new book in `target`, the empty database just opened: the tables as the
// source has them, then its rows and version.
BookCopyReport copyIntoNewBook(Database& source, Database& target, const CopyProgress& progress) {
    Transaction unit(target);
    createSchema(target, QString());
    for (const TableDef& t : addedTables()) {
        if (!source.hasTable(t.name))
            target.exec(QStringLiteral("DROP TABLE ") + t.name);
    }
    const QStringList indexes = dropIndexes(target);
    BookCopyReport report = copyRows(source, target, progress);
    for (const QString& index : indexes)
        target.exec(index);
    target.setSchemaVersion(report.schemaVersion);
    unit.commit();
    return report;
}

} // namespace

qint64 BookCopyReport::totalRows() const {
    qint64 rows = 0;
    for (const Table& t : tables)
        rows += t.rows;
    return rows;
}

BookCopyReport copyBook(Database& source, const QString& target, const CopyProgress& progress) {
    if (isServerBook(target)) {
        Database db(std::make_unique<ServerConnection>(target));
        if (db.hasTable(kEngineTable) || db.hasTable(table::cashJournal))
            throw EngineError(QStringLiteral("数据库“%1”中已经有一本帐，不能复制到那里")
                                  .arg(shownBookName(target)));
        return copyIntoNewBook(source, db, progress);
    }
    if (QFileInfo::exists(target))
        throw EngineError(QStringLiteral("数据库文件“%1”已经存在").arg(target));
    BookCopyReport report;
    createFileWhole(target, [&](const QString& temporary) {
        report = copyBookToEmptyFile(source, temporary, progress);
    });
    return report;
}

BookCopyReport copyBookToEmptyFile(Database& source, const QString& file,
                                   const CopyProgress& progress) {
    Database db(file, Database::OpenMode::Create);
    return copyIntoNewBook(source, db, progress);
}

BookCopyReport replaceBookRows(Database& source, Database& target, const CopyProgress& progress) {
    Transaction unit(target);
    // The target keeps its own tables, and so their version, which a server
    // keeps among the engine's rows that the copy replaces.
    const int version = target.schemaVersion();
    BookCopyReport report = copyRows(source, target, progress);
    target.setSchemaVersion(version);
    unit.commit();
    return report;
}

} // namespace store
