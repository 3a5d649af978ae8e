#pragma once

#include "Currency.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

struct sqlite3_stmt;

namespace store {

class Database;
class ServerStatement;

/// One prepared statement of either engine; finalized when it goes out of scope.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    /// Advances to the next row; false once the statement is done.
    bool step();
    void reset();

    /// Binds 1-based parameters. A null QVariant binds NULL; a QString binds
    /// text, integral types an integer, double a real.
    void bind(int index, const QVariant& value);
    void bindText(int index, const QString& value);
    void bindInt64(int index, qint64 value);

    int columnCount() const;
    QString columnName(int column) const;
    /// Declared type of a result column that comes straight from a table column.
    QString declaredType(int column) const;
    QString tableName(int column) const;
    QString originName(int column) const;
    /// Whether a column straight from a table is that table's counter.
    bool isCounterColumn(int column) const;

    bool isNull(int column) const;
    qint64 int64(int column) const;
    /// An amount column: its ten-thousandths, a null amount or sum reading as 0.
    Currency amount(int column) const;
    double real(int column) const;
    QString text(int column) const;
    /// Whether the column's value in this row is text, and its UTF-8 bytes.
    bool isText(int column) const;
    QByteArrayView textBytes(int column) const;
    /// The column's value by its storage class (null, qlonglong, double, QString, QByteArray).
    QVariant value(int column) const;
    /// On a server book, a column of the row an INSERT ... VALUES of one row
    /// stored, as the server returned it with the insert; none on a file book,
    /// where reading the row back costs nothing.
    std::optional<QVariant> insertedValue(const QString& column) const;

private:
    void bindOnServer(int index, const QVariant& value);

    const Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    std::unique_ptr<ServerStatement> m_server;
};

} // namespace store
