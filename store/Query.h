#pragma once

#include "Currency.h"
#include "DateTime.h"
#include "FieldValue.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace store {

class Connection;
class Query;
class Statement;

enum class QueryState { Inactive, Browse, Edit, Insert };

/// A column of a query's current row, read and written by name. A handle:
/// cheap to copy, valid while its query keeps the same columns.
class Field {
public:
    Field(Query* query, int index) : m_query(query), m_index(index) {}

    int index() const { return m_index; }
    QString name() const;
    FieldType type() const;

    bool isNull() const;
    QVariant value() const;
    QString asString() const;
    Currency asCurrency() const;
    DateTime asDateTime() const;
    qint64 asInteger() const;

    /// Setters need the query in Edit or Insert state.
    void setValue(const QVariant& value);
    void setString(const QString& text);
    void setCurrency(Currency amount);
    void setDateTime(DateTime moment);
    void setInteger(qint64 value);
    void clear();

private:
    Query* m_query;
    int m_index;
};

/// The dataset the windows work on: SQL text as a list of lines, the rows of a
/// select fetched at once with a cursor over them, and row changes written to
/// the database one row at a time.
///
/// A select from one table keeps each row's rowid, so that post and delete
/// address that row; any other result (a join, an aggregate) is read-only.
/// Rows whose ORDER BY values tie come in rowid order, so the same statement
/// always yields the same order. Moving the cursor while a row is being edited
/// posts it, after asking the leave-row check a window may install; close()
/// cancels.
class Query : public QObject {
    Q_OBJECT
public:
    explicit Query(Connection* connection, QObject* parent = nullptr);
    ~Query() override;

    Connection* connection() const { return m_connection; }

    // SQL text, one entry per line; the engine receives the lines joined by
    // line breaks.
    const QStringList& sql() const { return m_sql; }
    void setSql(const QStringList& lines) { m_sql = lines; }
    void clearSql() { m_sql.clear(); }
    void addSql(const QString& line) { m_sql.append(line); }
    int sqlLineCount() const { return int(m_sql.size()); }
    void setSqlLine(int index, const QString& line);
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    /// Prepares the query the one way every window does: close it if open,
    /// replace its SQL text with these lines, then open it (a select) or
    /// execute it (any other statement, returning the rows it changed).
    void openWith(const QStringList& lines);
    int execWith(const QStringList& lines);

    /// Runs the select and fetches every row; the cursor stands on the first.
    void open();
    /// Runs a statement that returns no rows; the number of rows it changed.
    int execSql();
    /// Cancels a pending change and drops the rows.
    void close();
    bool isOpen() const { return m_state != QueryState::Inactive; }
    bool isReadOnly() const { return m_tableName.isEmpty(); }
    /// The one table a row-addressable select reads, empty otherwise.
    const QString& tableName() const { return m_tableName; }

    // Cursor.
    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    /// Index of the current row, -1 when there is none.
    int currentIndex() const { return m_current; }
    void first();
    void prior();
    void next();
    void last();
    /// Moves to a row by index (clamped).
    void moveTo(int index);
    /// What every move does first: a pending row without changes is
    /// cancelled, one with changes is posted once the leave-row check lets it
    /// go. False when the check keeps the row (it stays as typed, the cursor
    /// where it is); the moves then do nothing.
    bool checkBrowseMode();
    /// The check asked before a move leaves a row with changes. It may store
    /// the row itself (or drop it); returning false keeps the row. None by default.
    void setLeaveRowCheck(std::function<bool()> check) { m_leaveRowCheck = std::move(check); }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    // Columns.
    int fieldCount() const { return int(m_columns.size()); }
    Field field(int index);
    /// Throws EngineError when the query has no such column.
    Field fieldByName(const QString& name);
    std::optional<Field> findField(const QString& name);
    int fieldIndex(const QString& name) const;
    QString fieldName(int index) const { return m_columns.at(index).name; }
    FieldType fieldType(int index) const { return m_columns.at(index).type; }

    /// A stored value of any row, for views; the current row shows its pending edits.
    QVariant valueAt(int row, int column) const;

    // Row changes.
    QueryState state() const { return m_state; }
    /// Starts changing the current row; on an empty result it starts a new row.
    void edit();
    /// Adds a new empty row at the end and makes it current; nothing when the
    /// row being left keeps the cursor (see checkBrowseMode).
    void append();
    /// Writes the pending row to its table, at once. On failure the row stays
    /// in Edit or Insert state and EngineError is thrown.
    void post();
    /// Drops the pending changes; a new row disappears.
    void cancel();
    /// Deletes the current row from its table, at once.
    void deleteCurrent();
    /// Whether a field of the pending row was set.
    bool isModified() const { return m_modified; }
    /// Asks the bound controls to put their pending edits into the row.
    void updateRecord();
    /// The rowid of the current row, 0 when there is none.
    qint64 currentRowId() const;
    /// The rowid of a row of the result.
    qint64 rowIdAt(int row) const;
    /// Sets a value of a row in the result (in Browse state) to what the
    /// caller has already written to the table itself, e.g. many rows in one
    /// statement; the table is not written.
    void setStoredValue(int row, int column, const QVariant& value);

    /// Suspends the signals views follow, while a long fill runs; the views
    /// are refreshed once when the last enableControls() comes.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    /// The whole set of rows changed: opened, closed, or controls re-enabled.
    void reset();
    void rowInserted(int row);
    /// Before a row leaves the set, while it is still there; rowRemoved follows.
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged(store::QueryState state);
    void fieldChanged(int column);
    /// Bound controls answer by putting their pending edits into the row.
    void updateRecordRequested();
    /// Before the rows are dropped on close.
    void aboutToClose();

private:
    friend class Field;

    struct Column {
        QString name;   // as the result names it
        QString origin; // the table column it comes from
        FieldType type;
        bool isCounter;
    };
    struct Row {
        qint64 rowid = 0;
        QList<QVariant> values;
    };

    const QVariant& currentValue(int column) const;
    void setCurrentValue(int column, const QVariant& value);
    void requireCurrentRow() const;
    /// Drops a row from the set between rowAboutToBeRemoved and rowRemoved;
    /// the row after it becomes current, or the new last.
    void removeRow(int row);
    void setState(QueryState state);
    void postUpdate();
    void postInsert();
    Row readRow(qint64 rowid);
    /// The row an insert stored: as the server returned it, else read back.
    Row insertedRow(const Statement& insert, qint64 rowid);
    void emitIfEnabled(const std::function<void()>& emitter);
    /// Row writes reuse their prepared statements while the query is open.
    Statement& cachedStatement(const QString& sql);

    Connection* m_connection;
    QStringList m_sql;
    QList<Column> m_columns;
    QList<Row> m_rows;
    QString m_tableName;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    QueryState m_state = QueryState::Inactive;
    Row m_buffer; // the pending row in Edit and Insert state
    QList<bool> m_changed;
    bool m_modified = false;
    int m_disableCount = 0;
    std::function<bool()> m_leaveRowCheck;
    bool m_askingToLeave = false;
    std::map<QString, std::unique_ptr<Statement>> m_statements;
};

/// A leave-row check installed on a query for the lifetime of its owner.
class LeaveRowCheck {
public:
    LeaveRowCheck(Query* query, std::function<bool()> check);
    ~LeaveRowCheck();
    LeaveRowCheck(const LeaveRowCheck&) = delete;
    LeaveRowCheck& operator=(const LeaveRowCheck&) = delete;

private:
    QPointer<Query> m_query;
};

} // namespace store
