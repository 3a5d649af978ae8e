#include "ServerStatement.h"

#include "Currency.h"
#include "EngineError.h"
#include "ServerConnection.h"
#include "ServerDialect.h"

#include <libpq-fe.h>

#include <atomic>
#include <cctype>

namespace store {

namespace {

// Type numbers of the server's built-in types.
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

bool isSelect(const QByteArray& sql) {
    const QByteArray start = sql.trimmed().left(7).toLower();
    return start.startsWith("select") && (start.size() == 6 || !std::isalnum(uchar(start[6])));
}

// Where the first UNION outside quotes and parentheses begins, or -1.
qsizetype topLevelUnion(const QByteArray& sql) {
    int depth = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            if (end < 0)
                return -1;
            i = end; // a doubled quote reads as two literals, which is as good here
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (depth == 0 && (c == 'u' || c == 'U') &&
                   (i == 0 || !std::isalnum(uchar(sql[i - 1]))) &&
                   sql.mid(i, 5).toLower() == "union" &&
                   (i + 5 >= sql.size() || !std::isalnum(uchar(sql[i + 5])))) {
            return i;
        }
    }
    return -1;
}

bool isHiddenRowId(const char* name) {
    return qstrcmp(name, "_rowid") == 0;
}

qint64 integerText(const char* text) {
    bool ok = false;
    const QByteArray bytes(text);
    const qint64 value = bytes.toLongLong(&ok);
    if (ok)
        return value;
    const int dot = bytes.indexOf('.');
    if (dot >= 0) {
        const qint64 whole = bytes.left(dot).toLongLong(&ok);
        if (ok)
            return whole;
    }
    // A sum beyond 64 bits: the server's numeric does not overflow where SQLite's sum() does.
    throw CurrencyOverflow();
}

} // namespace

ServerStatement::ServerStatement(ServerConnection& connection, const QString& sql)
    : m_connection(connection)
    , m_connectionAlive(connection.alive()) {
    int parameters = 0;
    QString text = serverSql(sql, &parameters);
    if (isInsertOfValues(text)) {
        while (!text.isEmpty() && (text.back().isSpace() || text.back() == QLatin1Char(';')))
            text.chop(1);
        // The whole row: the program reads back what it inserted.
        text += QStringLiteral(" RETURNING *");
        m_returnsRowId = true;
    }
    m_sql = text.toUtf8();
    if (m_sql.contains('\0'))
        throw EngineError(QStringLiteral("SQL 语句中含有 NUL 字符，任何语句都不能带有这个字符"));
    if (text.trimmed().isEmpty())
        throw EngineError(QStringLiteral("SQL 语句是空的"));
    m_parameters.resize(parameters);
}

ServerStatement::~ServerStatement() {
    deallocate();
    PQclear(m_firstBranch);
    PQclear(m_result);
    PQclear(m_description);
}

ServerStatement::Parameter& ServerStatement::parameter(int index) {
    if (index < 1 || index > int(m_parameters.size()))
        throw EngineError(QStringLiteral("参数序号越界（%1）").arg(index));
    return m_parameters[size_t(index - 1)];
}

void ServerStatement::bindNull(int index) { parameter(index) = Parameter{}; }

void ServerStatement::bindText(int index, const QString& value) {
    QByteArray utf8 = value.toUtf8();
    // The server refuses a NUL in text; SQLite keeps the text up to it.
    if (const qsizetype nul = utf8.indexOf('\0'); nul >= 0)
        utf8.truncate(nul);
    parameter(index) = Parameter{utf8, 0, false};
}

void ServerStatement::bindInt64(int index, qint64 value) {
    parameter(index) = Parameter{QByteArray::number(value), kInt8, false};
}

void ServerStatement::bindDouble(int index, double value) {
    parameter(index) = Parameter{QByteArray::number(value, 'g', 17), kFloat8, false};
}

void ServerStatement::bindBlob(int index, const QByteArray& value) {
    parameter(index) = Parameter{value, kBytea, true};
}

bool ServerStatement::step() {
    if (!m_result)
        execute();
    if (m_returnsRowId)
        return false;
    ++m_row;
    return m_row < PQntuples(m_result);
}

void ServerStatement::execute() const {
    {
        const int count = int(m_parameters.size());
        const size_t n = m_parameters.size();
        std::vector<Oid> types(n);
        std::vector<const char*> values(n);
        std::vector<int> lengths(n);
        std::vector<int> formats(n);
        for (int i = 0; i < count; ++i) {
            const Parameter& p = m_parameters[size_t(i)];
            types[size_t(i)] = p.type;
            values[size_t(i)] = p.value ? p.value->constData() : nullptr;
            lengths[size_t(i)] = p.value ? int(p.value->size()) : 0;
            formats[size_t(i)] = p.binary ? 1 : 0;
        }
        PGresult* result = nullptr;
        if (m_executions++ == 0 || count == 0) {
            result = PQexecParams(m_connection.handle(), m_sql.constData(), count, types.data(),
                                  values.data(), lengths.data(), formats.data(), 0);
        } else {
            // A statement run again is prepared once, so the server plans it once.
            prepare(types);
            result = PQexecPrepared(m_connection.handle(), m_preparedName.constData(), count,
                                    values.data(), lengths.data(), formats.data(), 0);
        }
        m_connection.check(result);
        m_result = result;
        m_row = -1;
        m_fieldsKnown = false;
        if (m_returnsRowId) {
            const int rows = PQntuples(m_result);
            const int rowid = PQfnumber(m_result, "_rowid");
            if (rows > 0 && rowid >= 0)
                m_connection.setLastInsertRowId(
                    integerText(PQgetvalue(m_result, rows - 1, rowid)));
            m_connection.setChanges(rows);
            return;
        }
        if (PQresultStatus(m_result) == PGRES_COMMAND_OK)
            m_connection.setChanges(QByteArray(PQcmdTuples(m_result)).toInt());
    }
}

void ServerStatement::prepare(const std::vector<unsigned>& types) const {
    if (!m_preparedName.isEmpty() && types == m_preparedTypes)
        return;
    deallocate();
    static std::atomic<quint64> next{0};
    const QByteArray name = "tallomer_" + QByteArray::number(++next);
    PGresult* prepared = PQprepare(m_connection.handle(), name.constData(), m_sql.constData(),
                                   int(types.size()), types.data());
    m_connection.check(prepared);
    PQclear(prepared);
    m_preparedName = name;
    m_preparedTypes = types;
}

void ServerStatement::deallocate() const {
    if (m_preparedName.isEmpty() || !*m_connectionAlive)
        return;
    // In a failed transaction the server refuses; the statement then lasts
    // as long as the connection, which does no harm.
    const QByteArray deallocation = "DEALLOCATE " + m_preparedName;
    PQclear(PQexec(m_connection.handle(), deallocation.constData()));
    m_preparedName.clear();
}

void ServerStatement::reset() {
    PQclear(m_result);
    m_result = nullptr;
    m_row = -1;
    for (Parameter& p : m_parameters)
        p = Parameter{};
}

PGresult* ServerStatement::description() const {
    if (m_result && !m_returnsRowId)
        return m_result;
    if (!m_description) {
        if (m_returnsRowId)
            return nullptr;
        // A select without parameters is described by its result, in one
        // exchange with the server rather than three; its first step reads it.
        if (m_parameters.empty() && isSelect(m_sql)) {
            execute();
            return m_result;
        }
        m_description = m_connection.describe(m_sql, int(m_parameters.size()));
    }
    return m_description;
}

const std::vector<int>& ServerStatement::fields() const {
    if (!m_fieldsKnown) {
        m_fields.clear();
        PGresult* result = description();
        const int count = result ? PQnfields(result) : 0;
        for (int f = 0; f < count; ++f) {
            if (!isHiddenRowId(PQfname(result, f)))
                m_fields.push_back(f);
        }
        m_fieldsKnown = true;
    }
    return m_fields;
}

int ServerStatement::field(int column) const {
    const std::vector<int>& known = fields();
    if (column < 0 || column >= int(known.size()))
        throw EngineError(QStringLiteral("字段序号越界（%1）").arg(column));
    return known[size_t(column)];
}

int ServerStatement::columnCount() const {
    return m_returnsRowId ? 0 : int(fields().size());
}

QString ServerStatement::columnName(int column) const {
    return QString::fromUtf8(PQfname(description(), field(column)));
}

const ServerColumnOrigin& ServerStatement::origin(int column) const {
    PGresult* result = description();
    const int f = field(column);
    // The server names no table for a UNION's columns; a file book takes
    // each column's type from the first select, and so does this.
    if (PQftable(result, f) == 0) {
        if (PGresult* first = firstBranchDescription(); first && f < PQnfields(first))
            return m_connection.columnOrigin(PQftable(first, f), PQftablecol(first, f));
    }
    return m_connection.columnOrigin(PQftable(result, f), PQftablecol(result, f));
}

PGresult* ServerStatement::firstBranchDescription() const {
    if (m_firstBranchTried)
        return m_firstBranch;
    m_firstBranchTried = true;
    const qsizetype unionAt = topLevelUnion(m_sql);
    if (unionAt < 0)
        return nullptr;
    try {
        // Its parameters' types are the server's to infer.
        m_firstBranch = m_connection.describe(m_sql.left(unionAt), 0);
    } catch (const EngineError&) {
        // the columns then stay without a table, as the server gave them
    }
    return m_firstBranch;
}

QString ServerStatement::declaredType(int column) const { return origin(column).declaredType; }

QString ServerStatement::tableName(int column) const { return origin(column).table; }

QString ServerStatement::originName(int column) const { return origin(column).column; }

bool ServerStatement::isCounterColumn(int column) const { return origin(column).isCounter; }

const char* ServerStatement::cell(int column) const {
    if (!m_result || m_row < 0 || m_row >= PQntuples(m_result))
        return nullptr;
    const int f = field(column);
    return PQgetisnull(m_result, m_row, f) ? nullptr : PQgetvalue(m_result, m_row, f);
}

bool ServerStatement::isNull(int column) const { return cell(column) == nullptr; }

bool ServerStatement::isText(int column) const {
    if (!cell(column))
        return false;
    switch (PQftype(m_result, field(column))) {
    case kBool:
    case kBytea:
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid:
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return false;
    default:
        return true;
    }
}

qint64 ServerStatement::int64(int column) const {
    const char* text = cell(column);
    if (!text)
        return 0;
    const Oid type = PQftype(m_result, field(column));
    if (type == kFloat8 || type == kFloat4)
        return qint64(std::strtod(text, nullptr));
    if (type == kBool)
        return text[0] == 't' ? 1 : 0;
    return integerText(text);
}

double ServerStatement::real(int column) const {
    const char* text = cell(column);
    if (!text)
        return 0;
    if (PQftype(m_result, field(column)) == kBool)
        return text[0] == 't' ? 1 : 0;
    return std::strtod(text, nullptr);
}

QByteArrayView ServerStatement::textBytes(int column) const {
    const char* text = cell(column);
    if (!text)
        return {};
    return QByteArrayView(text, PQgetlength(m_result, m_row, field(column)));
}

QVariant ServerStatement::value(int column) const {
    if (!cell(column))
        return QVariant();
    return fieldValue(m_row, field(column));
}

QVariant ServerStatement::fieldValue(int row, int f) const {
    if (PQgetisnull(m_result, row, f))
        return QVariant();
    const char* text = PQgetvalue(m_result, row, f);
    switch (PQftype(m_result, f)) {
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid:
        return QVariant(qlonglong(integerText(text)));
    case kBool:
        return QVariant(qlonglong(text[0] == 't' ? 1 : 0));
    case kFloat4:
    case kFloat8:
        return QVariant(std::strtod(text, nullptr));
    case kNumeric:
        if (!QByteArrayView(text).contains('.'))
            return QVariant(qlonglong(integerText(text)));
        return QVariant(std::strtod(text, nullptr));
    case kBytea: {
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
        QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return QVariant(data);
    }
    default:
        return QVariant(QString::fromUtf8(text, PQgetlength(m_result, row, f)));
    }
}

std::optional<QVariant> ServerStatement::insertedValue(const QString& column) const {
    if (!m_returnsRowId || !m_result || PQntuples(m_result) != 1)
        return std::nullopt;
    const QByteArray name = column.toUtf8();
    for (int f = 0; f < PQnfields(m_result); ++f) {
        if (name == PQfname(m_result, f))
            return fieldValue(0, f);
    }
    return std::nullopt;
}

} // namespace store
