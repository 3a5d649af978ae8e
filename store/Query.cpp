#include "Query.h"

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "SqlScan.h"
#include "Statement.h"

#include <QScopeGuard>


#include <algorithm>
#include <memory>
#include <vector>

namespace store {

namespace {

const QString kRowIdColumn = QStringLiteral("tallomer_rowid");

[[noreturn]] void fail(const QString& message) { throw EngineError(message); }

} // namespace

// ---- Field ----

QString Field::name() const { return m_query->fieldName(m_index); }
FieldType Field::type() const { return m_query->fieldType(m_index); }
bool Field::isNull() const { return m_query->currentValue(m_index).isNull(); }
QVariant Field::value() const { return m_query->currentValue(m_index); }
QString Field::asString() const { return valueToString(value(), type()); }
Currency Field::asCurrency() const { return valueToCurrency(value(), type()); }
DateTime Field::asDateTime() const { return valueToDateTime(value(), type()); }
qint64 Field::asInteger() const { return valueToInteger(value(), type()); }

void Field::setValue(const QVariant& value) { m_query->setCurrentValue(m_index, value); }
void Field::setString(const QString& text) { setValue(valueFromString(text, type())); }
void Field::clear() { setValue(QVariant()); }

void Field::setCurrency(Currency amount) {
    switch (type()) {
    case FieldType::Text:
        setValue(amount.toString());
        break;
    case FieldType::Float:
        setValue(double(amount.raw()) / Currency::kScale);
        break;
    default:
        setValue(qlonglong(amount.raw()));
    }
}

void Field::setDateTime(DateTime moment) {
    if (type() == FieldType::Text)
        setValue(moment.toString());
    else
        setValue(moment.serial());
}

void Field::setInteger(qint64 value) {
    if (type() == FieldType::Currency)
        setCurrency(Currency::fromUnits(value));
    else
        setValue(qlonglong(value));
}

// ---- Query ----

Query::Query(Connection* connection, QObject* parent) : QObject(parent), m_connection(connection) {
    connect(connection, &Connection::aboutToClose, this, &Query::close);
}

Query::~Query() = default;

Statement& Query::cachedStatement(const QString& sql) {
    auto& slot = m_statements[sql];
    if (!slot)
        slot = std::make_unique<Statement>(m_connection->database(), sql);
    else
        slot->reset();
    return *slot;
}

void Query::setSqlLine(int index, const QString& line) {
    if (index < 0 || index >= m_sql.size())
        fail(QStringLiteral("列表序号越界（%1）").arg(index));
    m_sql[index] = line;
}

void Query::emitIfEnabled(const std::function<void()>& emitter) {
    if (m_disableCount == 0)
        emitter();
}

void Query::openWith(const QStringList& lines) {
    close();
    m_sql = lines;
    open();
}

int Query::execWith(const QStringList& lines) {
    close();
    m_sql = lines;
    return execSql();
}

namespace {

// Whether the result columns from `first` on all come straight from the
// columns of one table, which is then the one a row's rowid addresses.
bool columnsOfOneTable(const Statement& statement, int first, QString& table) {
    if (statement.columnCount() <= first)
        return false;
    table = statement.tableName(first);
    for (int c = first; c < statement.columnCount(); ++c) {
        if (statement.tableName(c).isEmpty() || statement.tableName(c) != table ||
            statement.originName(c).isEmpty())
            return false;
    }
    return true;
}

/// The values of a text column as the rows are fetched. Journal columns hold
/// few distinct texts (summaries, attributes, handlers, operators), so a
/// value equal to a recent one shares that one's string instead of decoding
/// and allocating its own; a column whose values rarely repeat stops looking.
class TextColumnReader {
public:
    QVariant read(const Statement& statement, int column) {
        const QByteArrayView view = statement.textBytes(column);
        if (m_looking) {
            for (const Recent& r : m_recent) {
                if (r.bytes == view)
                    return r.value;
            }
            if (++m_misses > kMissLimit)
                m_looking = false;
        }
        QVariant value(QString::fromUtf8(view));
        if (m_looking) {
            m_recent[m_next] = {view.toByteArray(), value};
            m_next = (m_next + 1) % kRecent;
        }
        return value;
    }

private:
    static constexpr int kRecent = 8;
    static constexpr int kMissLimit = 256;
    struct Recent {
        QByteArray bytes;
        QVariant value;
    };
    Recent m_recent[kRecent];
    int m_next = 0;
    int m_misses = 0;
    bool m_looking = true;
};

} // namespace

void Query::open() {
    if (isOpen())
        return;
    Database& db = m_connection->database();
    const QString original = sqlText();
    // A plain select is prepared once, with the rowid in front: its rows are
    // addressable when every other column comes from one table. The rowid
    // column adds nothing else to the result, an aggregate's included. Any
    // other statement, or one whose rowid no single table answers, runs as written.
    std::unique_ptr<Statement> statement;
    bool withRowId = false;
    bool addressable = false;
    m_tableName.clear();
    // A server refuses the rowid beside an aggregate: no trial there.
    if (isPlainSingleTableSelect(original) && !(db.isServer() && callsAnAggregate(original))) {
        // On a server a failed statement spoils the open transaction, so the
        // trial runs under a savepoint there.
        const bool guarded = db.isServer() && db.inTransaction();
        if (guarded)
            db.exec(QStringLiteral("SAVEPOINT tallomer_numbered"));
        try {
            auto numbered = std::make_unique<Statement>(db, withRowIdColumn(original, kRowIdColumn));
            addressable = columnsOfOneTable(*numbered, 1, m_tableName);
            statement = std::move(numbered);
            withRowId = true;
            if (guarded)
                db.exec(QStringLiteral("RELEASE SAVEPOINT tallomer_numbered"));
        } catch (const EngineError&) {
            // e.g. a rowid that more than one table would answer, or an
            // aggregate, which a server does not take beside a plain column
            if (guarded)
                db.exec(QStringLiteral("ROLLBACK TO SAVEPOINT tallomer_numbered; "
                                       "RELEASE SAVEPOINT tallomer_numbered"));
        }
    }
    if (!addressable)
        m_tableName.clear();
    if (!withRowId)
        statement = std::make_unique<Statement>(db, original);
    if (statement->columnCount() <= (withRowId ? 1 : 0))
        fail(QStringLiteral("该语句不返回记录，不能打开"));

    const int first = withRowId ? 1 : 0;
    const int count = statement->columnCount();
    QList<Column> columns;
    for (int c = first; c < count; ++c) {
        Column column{statement->columnName(c), statement->originName(c),
                      fieldTypeFromDeclaration(statement->declaredType(c)), false};
        if (addressable && column.type == FieldType::Integer && statement->isCounterColumn(c)) {
            column.isCounter = true;
            column.type = FieldType::Counter;
        }
        columns.append(column);
    }
    std::vector<TextColumnReader> texts(count);
    QList<Row> rows;
    while (statement->step()) {
        Row row;
        row.values.reserve(count - first);
        if (addressable)
            row.rowid = statement->int64(0);
        for (int c = first; c < count; ++c) {
            if (statement->isText(c))
                row.values.append(texts[c].read(*statement, c));
            else
                row.values.append(statement->value(c));
        }
        rows.append(std::move(row));
    }
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    m_state = QueryState::Browse;
    emitIfEnabled([this] {
        emit reset();
        emit stateChanged(m_state);
        emit currentChanged(m_current);
    });
}

int Query::execSql() {
    Database& db = m_connection->database();
    Statement statement(db, sqlText());
    while (statement.step()) {
    }
    return db.changes();
}

void Query::close() {
    if (!isOpen())
        return;
    emitIfEnabled([this] { emit aboutToClose(); });
    m_statements.clear();
    m_columns.clear();
    m_rows.clear();
    m_buffer = Row();
    m_changed.clear();
    m_modified = false;
    m_tableName.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = QueryState::Inactive;
    emitIfEnabled([this] {
        emit reset();
        emit stateChanged(m_state);
        emit currentChanged(m_current);
    });
}

bool Query::checkBrowseMode() {
    if (!isOpen())
        fail(QStringLiteral("数据集已经关闭，不能进行这个操作"));
    if (m_state != QueryState::Edit && m_state != QueryState::Insert)
        return true;
    updateRecord();
    if (!m_modified) {
        cancel();
        return true;
    }
    if (m_leaveRowCheck) {
        // A move asked for while the check runs (behind its message) stays put.
        if (m_askingToLeave)
            return false;
        m_askingToLeave = true;
        const auto asked = qScopeGuard([this] { m_askingToLeave = false; });
        if (!m_leaveRowCheck())
            return false;
        if (m_state != QueryState::Edit && m_state != QueryState::Insert)
            return true; // the check stored the row, or dropped it
    }
    post();
    return true;
}

void Query::first() {
    if (!checkBrowseMode())
        return;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emitIfEnabled([this] { emit currentChanged(m_current); });
}

void Query::last() {
    if (!checkBrowseMode())
        return;
    m_current = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    emitIfEnabled([this] { emit currentChanged(m_current); });
}

void Query::next() {
    if (!checkBrowseMode())
        return;
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        m_bof = m_eof = false;
        emitIfEnabled([this] { emit currentChanged(m_current); });
    } else {
        m_eof = true;
        m_bof = m_rows.isEmpty();
    }
}

void Query::prior() {
    if (!checkBrowseMode())
        return;
    if (m_current > 0) {
        --m_current;
        m_bof = m_eof = false;
        emitIfEnabled([this] { emit currentChanged(m_current); });
    } else {
        m_bof = true;
        m_eof = m_rows.isEmpty();
    }
}

void Query::moveTo(int index) {
    if (!checkBrowseMode())
        return;
    if (m_rows.isEmpty())
        return;
    index = std::clamp(index, 0, int(m_rows.size()) - 1);
    m_bof = m_eof = false;
    if (index == m_current)
        return;
    m_current = index;
    emitIfEnabled([this] { emit currentChanged(m_current); });
}

Field Query::field(int index) {
    if (index < 0 || index >= m_columns.size())
        fail(QStringLiteral("字段序号 %1 超出了范围").arg(index));
    return Field(this, index);
}

int Query::fieldIndex(const QString& name) const {
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<Field> Query::findField(const QString& name) {
    const int i = fieldIndex(name);
    if (i < 0)
        return std::nullopt;
    return Field(this, i);
}

Field Query::fieldByName(const QString& name) {
    const int i = fieldIndex(name);
    if (i < 0)
        fail(QStringLiteral("找不到字段“%1”").arg(name));
    return Field(this, i);
}

const QVariant& Query::currentValue(int column) const {
    static const QVariant null;
    if (column < 0 || column >= m_columns.size())
        return null;
    if (m_state == QueryState::Edit || m_state == QueryState::Insert)
        return m_buffer.values.at(column);
    if (m_current < 0)
        return null;
    return m_rows.at(m_current).values.at(column);
}

QVariant Query::valueAt(int row, int column) const {
    if (row == m_current)
        return currentValue(column);
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return QVariant();
    return m_rows.at(row).values.at(column);
}

void Query::setCurrentValue(int column, const QVariant& value) {
    if (m_state != QueryState::Edit && m_state != QueryState::Insert)
        fail(QStringLiteral("数据集不在编辑或插入状态"));
    if (m_buffer.values.at(column) == value && m_buffer.values.at(column).isNull() == value.isNull() &&
        m_buffer.values.at(column).typeId() == value.typeId())
        return;
    m_buffer.values[column] = value;
    m_changed[column] = true;
    m_modified = true;
    emitIfEnabled([this, column] {
        emit fieldChanged(column);
        emit rowChanged(m_current);
    });
}

void Query::requireCurrentRow() const {
    if (!isOpen())
        fail(QStringLiteral("数据集已经关闭，不能进行这个操作"));
    if (m_current < 0)
        fail(QStringLiteral("数据集是空的，不能进行这个操作"));
}

void Query::setState(QueryState state) {
    if (m_state == state)
        return;
    m_state = state;
    emitIfEnabled([this] { emit stateChanged(m_state); });
}

void Query::edit() {
    if (!isOpen())
        fail(QStringLiteral("数据集已经关闭，不能进行这个操作"));
    if (m_state == QueryState::Edit || m_state == QueryState::Insert)
        return;
    if (isReadOnly())
        fail(QStringLiteral("数据集是只读的，不能修改"));
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    m_buffer = m_rows.at(m_current);
    m_changed = QList<bool>(m_columns.size(), false);
    m_modified = false;
    setState(QueryState::Edit);
}

void Query::append() {
    if (!checkBrowseMode())
        return;
    if (isReadOnly())
        fail(QStringLiteral("数据集是只读的，不能修改"));
    m_buffer = Row();
    m_buffer.values = QList<QVariant>(m_columns.size());
    m_changed = QList<bool>(m_columns.size(), false);
    m_modified = false;
    m_rows.append(m_buffer);
    m_current = int(m_rows.size()) - 1;
    m_bof = m_eof = false;
    m_state = QueryState::Insert;
    emitIfEnabled([this] {
        emit rowInserted(m_current);
        emit currentChanged(m_current);
        emit stateChanged(m_state);
    });
}

void Query::updateRecord() {
    if (m_state == QueryState::Edit || m_state == QueryState::Insert)
        emit updateRecordRequested();
}

void Query::post() {
    if (m_state != QueryState::Edit && m_state != QueryState::Insert)
        fail(QStringLiteral("数据集不在编辑或插入状态"));
    updateRecord();
    if (m_state == QueryState::Edit)
        postUpdate();
    else
        postInsert();
    m_modified = false;
    setState(QueryState::Browse);
    emitIfEnabled([this] { emit rowChanged(m_current); });
}

void Query::postUpdate() {
    QStringList assignments;
    QList<QVariant> values;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_changed.at(c)) {
            assignments << m_columns[c].origin + QStringLiteral("=?");
            values << m_buffer.values.at(c);
        }
    }
    if (!assignments.isEmpty()) {
        Database& db = m_connection->database();
        Statement& update = cachedStatement(QStringLiteral("UPDATE %1 SET %2 WHERE _ROWID_=?")
                                 .arg(m_tableName, assignments.join(QLatin1Char(','))));
        int i = 1;
        for (const QVariant& v : values)
            update.bind(i++, v);
        update.bindInt64(i, m_buffer.rowid);
        update.step();
        if (db.changes() == 0)
            fail(QStringLiteral("找不到要更新的记录，它可能在读出之后已被修改或删除"));
    }
    m_rows[m_current] = m_buffer;
}

void Query::postInsert() {
    QStringList names;
    QList<QVariant> values;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_changed.at(c) && !m_buffer.values.at(c).isNull()) {
            names << m_columns[c].origin;
            values << m_buffer.values.at(c);
        }
    }
    Database& db = m_connection->database();
    const QString sql = names.isEmpty()
                      ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tableName)
                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(m_tableName, names.join(QLatin1Char(',')),
                                 QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    Statement& insert = cachedStatement(sql);
    int i = 1;
    for (const QVariant& v : values)
        insert.bind(i++, v);
    insert.step();
    m_rows[m_current] = insertedRow(insert, db.lastInsertRowId());
}

Query::Row Query::insertedRow(const Statement& insert, qint64 rowid) {
    Row row;
    row.rowid = rowid;
    for (const Column& c : m_columns) {
        const std::optional<QVariant> value = insert.insertedValue(c.origin);
        if (!value)
            return readRow(rowid);
        row.values.append(*value);
    }
    return row;
}

Query::Row Query::readRow(qint64 rowid) {
    QStringList names;
    for (const Column& c : m_columns)
        names << c.origin;
    Statement& select = cachedStatement(QStringLiteral("SELECT %1 FROM %2 WHERE _ROWID_=?")
                                            .arg(names.join(QLatin1Char(',')), m_tableName));
    select.bindInt64(1, rowid);
    Row row;
    row.rowid = rowid;
    if (select.step()) {
        for (int c = 0; c < m_columns.size(); ++c)
            row.values.append(select.value(c));
    } else {
        row.values = m_buffer.values;
    }
    select.reset(); // a pending row would keep a read transaction open
    return row;
}

void Query::cancel() {
    if (m_state == QueryState::Edit) {
        m_buffer = Row();
        m_modified = false;
        setState(QueryState::Browse);
        emitIfEnabled([this] { emit rowChanged(m_current); });
    } else if (m_state == QueryState::Insert) {
        m_buffer = Row();
        m_modified = false;
        m_state = QueryState::Browse;
        removeRow(m_current);
        m_eof = m_bof = m_rows.isEmpty();
        emitIfEnabled([this] {
            emit stateChanged(m_state);
            emit currentChanged(m_current);
        });
    }
}

void Query::removeRow(int row) {
    // Views take the row away while it is still there, then see the rest.
    emitIfEnabled([this, row] { emit rowAboutToBeRemoved(row); });
    m_rows.removeAt(row);
    m_current = std::min(row, int(m_rows.size()) - 1);
    emitIfEnabled([this, row] { emit rowRemoved(row); });
}

void Query::deleteCurrent() {
    if (m_state == QueryState::Insert) {
        cancel();
        return;
    }
    if (m_state == QueryState::Edit)
        cancel();
    requireCurrentRow();
    if (isReadOnly())
        fail(QStringLiteral("数据集是只读的，不能修改"));
    Statement& remove = cachedStatement(QStringLiteral("DELETE FROM %1 WHERE _ROWID_=?").arg(m_tableName));
    remove.bindInt64(1, m_rows.at(m_current).rowid);
    remove.step();
    const int removed = m_current;
    removeRow(removed);
    m_eof = m_rows.isEmpty() || removed >= m_rows.size();
    m_bof = m_rows.isEmpty();
    emitIfEnabled([this] { emit currentChanged(m_current); });
}

qint64 Query::currentRowId() const {
    if (m_current < 0)
        return 0;
    return m_rows.at(m_current).rowid;
}

qint64 Query::rowIdAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).rowid : 0;
}

void Query::setStoredValue(int row, int column, const QVariant& value) {
    if (m_state != QueryState::Browse)
        fail(QStringLiteral("数据集正在编辑或插入"));
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        fail(QStringLiteral("记录或字段序号越界"));
    m_rows[row].values[column] = value;
    emitIfEnabled([this, row] { emit rowChanged(row); });
}

void Query::disableControls() { ++m_disableCount; }

void Query::enableControls() {
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        emit reset();
        emit stateChanged(m_state);
        emit currentChanged(m_current);
    }
}

// ---- LeaveRowCheck ----

LeaveRowCheck::LeaveRowCheck(Query* query, std::function<bool()> check) : m_query(query) {
    if (query)
        query->setLeaveRowCheck(std::move(check));
}

LeaveRowCheck::~LeaveRowCheck() {
    if (m_query)
        m_query->setLeaveRowCheck({});
}

} // namespace store
