#include "StatementImport.h"

#include "BankStatementLines.h"

#include "store/Transaction.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>

namespace journal {

namespace {

QString duplicateKey(const StatementLine& line) {
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(line.date.toJulianDay())
        .arg(line.in.raw())
        .arg(line.out.raw())
        .arg(line.balance ? QString::number(line.balance->raw()) : QStringLiteral("-"))
        .arg(line.reference.toLower());
}

} // namespace

StatementImportResult importStatement(store::Database& db, const QList<lists::ImportRow>& rows,
                                      const StatementImportOptions& options) {
    StatementReading reading = readStatement(rows);
    StatementImportResult result;
    result.refused = reading.refused;
    result.lines = int(reading.lines.size());
    if (!result.refused.isEmpty() || reading.lines.isEmpty())
        return result;

    const QDateTime now = QDateTime::currentDateTime();
    for (StatementLine& line : reading.lines) {
        line.account = options.account;
        line.operatorName = options.operatorName;
        line.sourceFile = options.sourceFile;
        line.importedAt = now;
    }
    const auto [earliest, latest] =
        std::minmax_element(reading.lines.begin(), reading.lines.end(),
                            [](const auto& a, const auto& b) { return a.date < b.date; });
    result.first = earliest->date;
    result.last = latest->date;

    // A line the book holds n times already: its first n copies in the file are those.
    BankStatementLines book(db);
    QHash<QString, int> held;
    for (const StatementLine& line : book.lines(options.account, result.first, result.last))
        ++held[duplicateKey(line)];
    QList<StatementLine> fresh;
    for (const StatementLine& line : reading.lines) {
        int& copies = held[duplicateKey(line)];
        if (copies > 0) {
            --copies;
            ++result.alreadyThere;
        } else {
            fresh.append(line);
        }
    }
    result.added = int(fresh.size());
    if (options.dryRun || fresh.isEmpty())
        return result;
    store::Transaction unit(db);
    book.insert(fresh);
    unit.commit();
    result.written = true;
    return result;
}

} // namespace journal
