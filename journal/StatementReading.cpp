#include "StatementReading.h"

#include "StatementColumns.h"
#include "StatementValues.h"

#include <algorithm>

namespace journal {

namespace {

using store::Currency;

/// A line read from the file, its amount signed (in above zero) as the
/// columns give it; for 借方/贷方, 贷方 counts as in until the balance says.
struct ReadLine {
    qsizetype row = 0;
    StatementLine line;
    Currency net;
};

QString cellOf(const lists::ImportRow& row, int column) {
    return column >= 0 && column < row.cells.size() ? row.cells[column].trimmed() : QString();
}

bool isBlankRow(const lists::ImportRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const QString& c) { return c.trimmed().isEmpty(); });
}

// A totals row under the table: no day, and a cell that says what it sums.
bool isTotalsRow(const lists::ImportRow& row) {
    static const QStringList starts = {QStringLiteral("合计"),   QStringLiteral("总计"),
                                       QStringLiteral("小计"),   QStringLiteral("本页"),
                                       QStringLiteral("本期"),   QStringLiteral("累计"),
                                       QStringLiteral("记录数"), QStringLiteral("共")};
    return std::any_of(row.cells.begin(), row.cells.end(), [](const QString& cell) {
        const QString text = cell.trimmed();
        return std::any_of(starts.begin(), starts.end(),
                           [&](const QString& s) { return text.startsWith(s); });
    });
}

/// The amount cells of a row as its columns give them: in and out, debit
/// and credit, or the signed amount.
QList<std::pair<QString, QString>> amountCells(const lists::ImportRow& row,
                                               const StatementColumns& columns) {
    QList<StatementRole> roles;
    switch (columns.amounts) {
    case AmountColumns::InOut:
        roles = {StatementRole::In, StatementRole::Out};
        break;
    case AmountColumns::DebitCredit:
        roles = {StatementRole::Credit, StatementRole::Debit};
        break;
    case AmountColumns::Signed:
        roles = {StatementRole::Signed};
        break;
    }
    QList<std::pair<QString, QString>> cells;
    for (const StatementRole role : roles)
        cells.append({columns.title(role), cellOf(row, columns.column(role))});
    return cells;
}

/// The row as a line, or the reason it is none.
std::optional<ReadLine> readRow(const lists::ImportRow& row, const StatementColumns& columns,
                                QString& reason) {
    ReadLine read;
    StatementLine& line = read.line;
    const QString dayText = cellOf(row, columns.column(StatementRole::Date));
    if (dayText.isEmpty()) {
        reason = QStringLiteral("没有日期");
        return std::nullopt;
    }
    const std::optional<QDate> day = readStatementDay(dayText);
    if (!day) {
        reason = QStringLiteral("日期“%1”不是四位年份的日子").arg(dayText);
        return std::nullopt;
    }
    line.date = *day;
    // The first column is money in, the second out.
    const QList<std::pair<QString, QString>> cells = amountCells(row, columns);
    QList<std::optional<Currency>> amounts;
    for (const auto& [title, text] : cells) {
        amounts << readStatementAmount(text, title, reason);
        if (!reason.isEmpty())
            return std::nullopt;
        if (amounts.last() && amounts.last()->isZero())
            amounts.last().reset();
    }
    const qsizetype given =
        std::count_if(amounts.begin(), amounts.end(), [](const auto& a) { return bool(a); });
    if (given == 0) {
        reason = QStringLiteral("没有金额");
        return std::nullopt;
    }
    if (given > 1) {
        reason = QStringLiteral("%1和%2只能有一个有金额").arg(cells[0].first, cells[1].first);
        return std::nullopt;
    }
    read.net = amounts[0] ? *amounts[0] : -*amounts[1];
    const QString balance = cellOf(row, columns.column(StatementRole::Balance));
    line.balance = readStatementAmount(balance, columns.title(StatementRole::Balance), reason);
    if (!reason.isEmpty())
        return std::nullopt;
    line.text = cellOf(row, columns.column(StatementRole::Text));
    line.reference = cellOf(row, columns.column(StatementRole::Reference));
    line.counterparty = cellOf(row, columns.column(StatementRole::Counterparty));
    line.sourceLine = row.line;
    return read;
}

/// How far the balance follows, line by line in `order` with the amounts
/// taken as `sign` gives them: the number of lines that fit, and for the
/// first that does not, why.
struct BalanceFit {
    qsizetype fitting = 0;
    QString reason;
    bool whole() const { return reason.isEmpty(); }
};

BalanceFit followBalance(const QList<ReadLine>& lines, const QList<qsizetype>& order, int sign) {
    BalanceFit fit;
    std::optional<Currency> before;
    Currency in, out;
    for (const qsizetype i : order) {
        const ReadLine& read = lines[i];
        const Currency amount = sign > 0 ? read.net : -read.net;
        (amount > Currency() ? in : out) += amount > Currency() ? amount : -amount;
        if (read.line.balance) {
            std::optional<Currency> expected;
            try {
                expected = before ? *before + in - out : *read.line.balance;
            } catch (const store::CurrencyOverflow&) {
            }
            if (!expected || *expected != *read.line.balance) {
                fit.reason =
                    QStringLiteral("余额不接续：上一个余额 %1，加收入 %2、减支出 %3，应为 "
                                   "%4，这一行的余额是 %5")
                        .arg(statementAmountText(*before), statementAmountText(in),
                             statementAmountText(out),
                             expected ? statementAmountText(*expected) : QStringLiteral("超出范围"),
                             statementAmountText(*read.line.balance));
                return fit;
            }
            before = read.line.balance;
            in = out = Currency();
        }
        ++fit.fitting;
    }
    return fit;
}

/// The order in which the lines happened: as listed, or newest first.
QList<QList<qsizetype>> possibleOrders(const QList<ReadLine>& lines) {
    bool later = false, earlier = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        later = later || lines[i].line.date > lines[i - 1].line.date;
        earlier = earlier || lines[i].line.date < lines[i - 1].line.date;
    }
    QList<qsizetype> listed(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        listed[i] = i;
    QList<qsizetype> reversed(listed.rbegin(), listed.rend());
    if (earlier && !later)
        return {reversed};
    if (!earlier && !later)
        return {listed, reversed};
    return {listed};
}

} // namespace

StatementReading readStatement(const QList<lists::ImportRow>& rows) {
    const std::optional<StatementColumns> columns = findStatementColumns(rows);
    if (!columns)
        throw lists::ImportFileError(QStringLiteral(
            "文件中找不到对账单的标题行：要有“交易日期”或“记账日期”列，以及“收入金额”和“支出金额”、"
            "“借方发生额”和“贷方发生额”或者“交易金额”列，没有导入任何记录！"));
    StatementReading reading;
    QList<ReadLine> lines;
    for (qsizetype r = columns->titleRow + 1; r < rows.size(); ++r) {
        const lists::ImportRow& row = rows[r];
        if (isBlankRow(row))
            continue;
        const bool hasDay =
            readStatementDay(cellOf(row, columns->column(StatementRole::Date))).has_value();
        const QList<std::pair<QString, QString>> amounts = amountCells(row, *columns);
        const bool hasAmount = std::any_of(amounts.begin(), amounts.end(),
                                           [](const auto& cell) { return !cell.second.isEmpty(); });
        if (!hasDay && (isTotalsRow(row) || !hasAmount))
            continue;
        QString reason;
        std::optional<ReadLine> read = readRow(row, *columns, reason);
        if (!read) {
            reading.refused.append({row.line, row.text, reason});
            continue;
        }
        read->row = r;
        lines.append(*read);
    }
    if (!reading.refused.isEmpty() || lines.isEmpty())
        return reading;

    // The direction of the amounts, and the order of the lines, in which the balance follows.
    const QList<int> signs =
        columns->amounts == AmountColumns::DebitCredit ? QList<int>{1, -1} : QList<int>{1};
    std::optional<std::pair<QList<qsizetype>, int>> chosen;
    BalanceFit best;
    qsizetype bestRow = -1;
    for (const int sign : signs) {
        for (const QList<qsizetype>& order : possibleOrders(lines)) {
            const BalanceFit fit = followBalance(lines, order, sign);
            if (fit.whole()) {
                chosen = {order, sign};
                break;
            }
            if (bestRow < 0 || fit.fitting > best.fitting) {
                best = fit;
                bestRow = order[fit.fitting];
            }
        }
        if (chosen)
            break;
    }
    if (!chosen) {
        const lists::ImportRow& row = rows[lines[bestRow].row];
        QString reason = best.reason;
        if (signs.size() > 1)
            reason += QStringLiteral("（借方、贷方按哪个方向都不接续）");
        reading.refused.append({row.line, row.text, reason});
        return reading;
    }
    for (const qsizetype i : chosen->first) {
        StatementLine line = lines[i].line;
        const Currency amount = chosen->second > 0 ? lines[i].net : -lines[i].net;
        (amount > Currency() ? line.in : line.out) = amount > Currency() ? amount : -amount;
        reading.lines.append(line);
    }
    return reading;
}

} // namespace journal
