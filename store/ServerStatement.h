#pragma once

#include <QByteArray>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

struct pg_result;

namespace store {

class ServerConnection;
struct ServerColumnOrigin;

/// One statement on a server book, with SQLite's step-by-step reading: it
/// runs at the first step with the values bound then, and its rows are read
/// one by one from the result. The `_rowid` column every server table has is
/// left out of the result's columns unless the statement names it otherwise.
class ServerStatement {
public:
    ServerStatement(ServerConnection& connection, const QString& sql);
    ~ServerStatement();
    ServerStatement(const ServerStatement&) = delete;
    ServerStatement& operator=(const ServerStatement&) = delete;

    bool step();
    void reset();

    void bindNull(int index);
    void bindText(int index, const QString& value);
    void bindInt64(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindBlob(int index, const QByteArray& value);

    int columnCount() const;
    QString columnName(int column) const;
    QString declaredType(int column) const;
    QString tableName(int column) const;
    QString originName(int column) const;
    bool isCounterColumn(int column) const;

    bool isNull(int column) const;
    bool isText(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    QByteArrayView textBytes(int column) const;
    QVariant value(int column) const;
    /// A column of the row an INSERT ... VALUES of one row stored; none for
    /// any other statement.
    std::optional<QVariant> insertedValue(const QString& column) const;

private:
    struct Parameter {
        std::optional<QByteArray> value;
        unsigned type = 0;
        bool binary = false;
    };
    Parameter& parameter(int index);
    /// Runs the statement with its bound parameters; the result is kept for step().
    void execute() const;
    /// Prepares the statement under a name of its own for parameters of these types.
    void prepare(const std::vector<unsigned>& types) const;
    void deallocate() const;
    pg_result* description() const;
    QVariant fieldValue(int row, int field) const;
    pg_result* firstBranchDescription() const;
    const std::vector<int>& fields() const;
    int field(int column) const;
    const ServerColumnOrigin& origin(int column) const;
    const char* cell(int column) const;

    ServerConnection& m_connection;
    std::shared_ptr<const bool> m_connectionAlive;
    QByteArray m_sql;
    bool m_returnsRowId = false;
    std::vector<Parameter> m_parameters;
    mutable pg_result* m_result = nullptr;
    mutable pg_result* m_description = nullptr;
    /// The description of a UNION's first select, whose columns name the tables.
    mutable pg_result* m_firstBranch = nullptr;
    mutable bool m_firstBranchTried = false;
    mutable std::vector<int> m_fields; // visible column -> result field
    mutable bool m_fieldsKnown = false;
    mutable int m_row = -1;
    mutable int m_executions = 0;
    mutable QByteArray m_preparedName;
    mutable std::vector<unsigned> m_preparedTypes;
};

} // namespace store
