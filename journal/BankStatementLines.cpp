#include "BankStatementLines.h"

#include "store/AddedTables.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QVariant>

namespace journal {

namespace {

using store::Currency;

// The columns a line is written with; its number 编号 is the book's to give.
const QString kWrittenColumns = QStringLiteral("开户银行, 日期, 摘要, 收入, 支出, 余额, 流水号, "
                                               "对方户名, 来源文件, 来源行, 操作员, 操作日期");
const QString kColumns = QStringLiteral("编号, ") + kWrittenColumns;

double daySerial(const QDate& day) {
    return store::DateTime::fromDate(day).serial();
}

// Days are kept whole: the first moment of `day` up to the first of the next.
double endOfDaySerial(const QDate& day) {
    return daySerial(day.addDays(1));
}

QVariant amountValue(const std::optional<Currency>& amount) {
    return amount ? QVariant(qlonglong(amount->raw())) : QVariant();
}

StatementLine readLine(const store::Statement& row) {
    StatementLine line;
    line.id = row.int64(0);
    line.account = row.text(1);
    line.date = store::DateTime::fromSerial(row.real(2)).date();
    line.text = row.text(3);
    line.in = Currency::fromRaw(row.int64(4));
    line.out = Currency::fromRaw(row.int64(5));
    if (!row.isNull(6))
        line.balance = Currency::fromRaw(row.int64(6));
    line.reference = row.text(7);
    line.counterparty = row.text(8);
    line.sourceFile = row.text(9);
    line.sourceLine = int(row.int64(10));
    line.operatorName = row.text(11);
    if (!row.isNull(12)) {
        const store::DateTime stamp = store::DateTime::fromSerial(row.real(12));
        line.importedAt = QDateTime(stamp.date(), stamp.time());
    }
    return line;
}

} // namespace

BankStatementLines::BankStatementLines(store::Database& db)
    : m_db(db) {}

QList<StatementLine> BankStatementLines::lines(const QString& account, const QDate& from,
                                               const QDate& to) const {
    QList<StatementLine> result;
    if (!store::hasAddedTables(m_db))
        return result;
    store::Statement query(m_db, QStringLiteral("SELECT %1 FROM 银行对账单 WHERE 开户银行 = ? "
                                                "AND 日期 >= ? AND 日期 < ? ORDER BY 日期, 编号")
                                     .arg(kColumns));
    query.bindText(1, account);
    query.bind(2, daySerial(from));
    query.bind(3, endOfDaySerial(to));
    while (query.step())
        result.append(readLine(query));
    return result;
}

bool BankStatementLines::contains(const StatementLine& line) const {
    if (!store::hasAddedTables(m_db))
        return false;
    store::Statement query(m_db,
                           QStringLiteral("SELECT 1 FROM 银行对账单 WHERE 开户银行 = ? "
                                          "AND 日期 >= ? AND 日期 < ? AND 收入 = ? AND 支出 = ? "
                                          "AND 余额 IS NOT DISTINCT FROM ? "
                                          "AND 流水号 IS NOT DISTINCT FROM ? LIMIT 1"));
    query.bindText(1, line.account);
    query.bind(2, daySerial(line.date));
    query.bind(3, endOfDaySerial(line.date));
    query.bindInt64(4, line.in.raw());
    query.bindInt64(5, line.out.raw());
    query.bind(6, amountValue(line.balance));
    query.bind(7, line.reference.isEmpty() ? QVariant() : QVariant(line.reference));
    return query.step();
}

void BankStatementLines::insert(StatementLine& line) {
    QList<StatementLine> one = {line};
    insert(one);
    line.id = one.first().id;
}

void BankStatementLines::insert(QList<StatementLine>& lines) {
    store::Statement insert(m_db, QStringLiteral("INSERT INTO 银行对账单 (%1) VALUES "
                                                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                      .arg(kWrittenColumns));
    for (StatementLine& line : lines) {
        insert.reset();
        insert.bindText(1, line.account);
        insert.bind(2, daySerial(line.date));
        insert.bind(3, line.text.isEmpty() ? QVariant() : QVariant(line.text));
        insert.bindInt64(4, line.in.raw());
        insert.bindInt64(5, line.out.raw());
        insert.bind(6, amountValue(line.balance));
        insert.bind(7, line.reference.isEmpty() ? QVariant() : QVariant(line.reference));
        insert.bind(8, line.counterparty.isEmpty() ? QVariant() : QVariant(line.counterparty));
        insert.bind(9, line.sourceFile);
        insert.bindInt64(10, line.sourceLine);
        insert.bind(11, line.operatorName);
        insert.bind(12, store::DateTime::fromQDateTime(line.importedAt).serial());
        insert.step();
        line.id = m_db.lastInsertRowId();
    }
}

} // namespace journal
