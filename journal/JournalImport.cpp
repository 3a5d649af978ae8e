#include "JournalImport.h"

#include "BalanceRecomputation.h"
#include "EntryRules.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/JournalLock.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

namespace journal {

namespace {

using store::Currency;
using store::JournalKind;

enum Column { Date, Summary, Detail, Debit, Credit, Voucher, Handler, Invoice, Note, Bank, Balance, ColumnCount };

struct ColumnTitle {
    Column column;
    const char* titles[2];
};

const ColumnTitle kTitles[] = {
    {Date, {"日期", nullptr}},          {Summary, {"摘要", nullptr}},
    {Detail, {"明细", nullptr}},        {Debit, {"借方(增加)", "借方"}},
    {Credit, {"贷方(减少)", "贷方"}},   {Voucher, {"凭证号", nullptr}},
    {Handler, {"经办人", nullptr}},     {Invoice, {"发票单位", nullptr}},
    {Note, {"备注", nullptr}},          {Bank, {"开户银行", nullptr}},
    {Balance, {"余额", nullptr}},
};

QString titleOf(Column column) {
    for (const ColumnTitle& t : kTitles) {
        if (t.column == column)
            return QString::fromUtf8(t.titles[0]);
    }
    return QString();
}

std::optional<Column> columnTitled(const QString& title) {
    for (const ColumnTitle& t : kTitles) {
        for (const char* name : t.titles) {
            if (name && title == QString::fromUtf8(name))
                return t.column;
        }
    }
    return std::nullopt;
}

/// Where each column stands in the file; -1 for one it lacks.
struct ColumnPlaces {
    int at[ColumnCount];
    int width = 0;
};

ColumnPlaces placeColumns(const lists::ImportRow& titleRow, const ImportOptions& options) {
    ColumnPlaces places;
    std::fill(std::begin(places.at), std::end(places.at), -1);
    places.width = int(titleRow.cells.size());
    for (int i = 0; i < titleRow.cells.size(); ++i) {
        const QString title = titleRow.cells[i].trimmed();
        if (title.isEmpty())
            continue;
        const std::optional<Column> column = columnTitled(title);
        if (!column || (*column == Bank && options.kind == JournalKind::Cash))
            throw lists::ImportFileError(QStringLiteral("不认识的列“%1”（第 %2 列），没有导入任何记录！")
                                      .arg(title)
                                      .arg(i + 1));
        if (places.at[*column] >= 0)
            throw lists::ImportFileError(QStringLiteral("列“%1”出现了两次，没有导入任何记录！").arg(title));
        places.at[*column] = i;
    }
    QList<Column> required = {Date, Summary, Debit, Credit};
    if (options.kind == JournalKind::Bank && options.bankAccount.isEmpty())
        required << Bank;
    for (const Column column : required) {
        if (places.at[column] < 0) {
            QString name = titleOf(column);
            if (column == Debit || column == Credit)
                name += QStringLiteral("”或“") + name.left(2);
            throw lists::ImportFileError(QStringLiteral("缺少“%1”列，没有导入任何记录！").arg(name));
        }
    }
    return places;
}

/// One row ready to be written.
struct Entry {
    double date = 0;
    QString summary;
    QString attribute;
    std::optional<Currency> debit;
    std::optional<Currency> credit;
    QString cells[ColumnCount];
    QString bank;
};

/// The catalogues a row is checked against, looked up as the database's
/// "=" compares text: letter case aside.
class Catalogue {
public:
    void add(const QString& name, const QString& value) {
        const QString key = name.toLower();
        if (!m_items.contains(key))
            m_items.insert(key, {name, value});
    }
    const std::pair<QString, QString>* find(const QString& name) const {
        const auto it = m_items.constFind(name.toLower());
        return it == m_items.constEnd() ? nullptr : &it.value();
    }

private:
    QHash<QString, std::pair<QString, QString>> m_items;
};

Catalogue readCatalogue(store::Database& db, const QString& sql) {
    Catalogue catalogue;
    store::Statement read(db, sql);
    while (read.step())
        catalogue.add(read.text(0), read.columnCount() > 1 ? read.text(1) : QString());
    return catalogue;
}

int decimalsOf(const QString& amount) {
    const QString t = amount.trimmed();
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(t.size() - point - 1);
}

/// An amount cell: nothing for an empty one, else the amount or the reason it is none.
std::optional<Currency> readAmount(const QString& text, const QString& side, QString& reason) {
    if (text.trimmed().isEmpty())
        return std::nullopt;
    std::optional<Currency> amount;
    try {
        amount = Currency::parse(text);
    } catch (const store::CurrencyOverflow& e) {
        reason = side + QStringLiteral("：") + e.message();
        return std::nullopt;
    }
    if (!amount)
        reason = QStringLiteral("%1“%2”不是金额,请重新输入!").arg(side, text.trimmed());
    else if (decimalsOf(text) > 4)
        reason = QStringLiteral("%1“%2”超过四位小数,请重新输入!").arg(side, text.trimmed());
    return reason.isEmpty() ? amount : std::nullopt;
}

bool isEmptyRow(const lists::ImportRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const QString& c) { return c.trimmed().isEmpty(); });
}

QVariant textValue(const QString& text) { return text.isNull() ? QVariant() : QVariant(text); }

QVariant amountValue(const std::optional<Currency>& amount) {
    return amount ? QVariant(qlonglong(amount->raw())) : QVariant();
}

// Every so many rows, so that telling costs nothing beside the work.
void reportProgress(const ImportOptions& options, qsizetype done, qsizetype total) {
    if (options.progress && done % 1000 == 0)
        options.progress(done, total);
}

/// The first counter to give: above every counter the table has given, so
/// that each new row gets a larger one than any before it.
qint64 nextCounter(store::Database& db, const QString& table) {
    qint64 next = 1;
    {
        store::Statement s(db, QStringLiteral("select max(编号) from ") + table);
        if (s.step() && !s.isNull(0))
            next = s.int64(0) + 1;
    }
    return std::max(next, db.lastCounter(table) + 1);
}

/// Writes the rows and re-balances their months; returns how many months (and accounts).
int write(store::Connection& connection, const QList<Entry>& entries, const ImportOptions& options,
           const QList<AddedSummary>& added) {
    store::Database& db = connection.database();
    const QString table = store::journalTable(options.kind);
    const bool bank = options.kind == JournalKind::Bank;
    const double stamp = store::DateTime::now().serial();
    const QVariant operatorName = options.operatorName.isEmpty() ? QVariant() : QVariant(options.operatorName);
    store::Transaction unit(db);
    std::set<std::pair<qint64, QString>> months; // first day (julian), account
    for (const Entry& e : entries) {
        const QDate day = store::DateTime::fromSerial(e.date).date();
        months.insert({QDate(day.year(), day.month(), 1).toJulianDay(), e.bank});
    }
    // Another desk's import numbers its entries after these ones, and no desk
    // writes these months until they are balanced and stored.
    store::JournalLock::lockCounters(db, options.kind);
    for (const auto& [julian, account] : months) {
        const QDate first = QDate::fromJulianDay(julian);
        store::JournalLock::lockMonth(db, options.kind, first.year(), first.month(), account);
    }
    {
        store::Statement addSummary(db, QStringLiteral("insert into 摘要 (摘要, 属性, 操作员, 操作日期) "
                                                       "values (?, ?, ?, ?)"));
        for (const AddedSummary& s : added) {
            addSummary.reset();
            addSummary.bindText(1, s.name);
            addSummary.bindText(2, s.attribute);
            addSummary.bind(3, operatorName);
            addSummary.bind(4, stamp);
            addSummary.step();
        }
    }
    {
        store::Statement insert(
            db, QStringLiteral("insert into %1 (编号, 日期, 摘要, 属性, 明细, 借方, 贷方, 余额, 凭证号, "
                               "经办人, 发票单位, 备注, 操作员, 操作日期%2) values "
                               "(?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?%3)")
                    .arg(table, bank ? QStringLiteral(", 开户银行") : QString(),
                         bank ? QStringLiteral(", ?") : QString()));
        // The journal lists a month "order by 日期+编号": each counter is the
        // least that keeps the rows in the file's order.
        qint64 counter = nextCounter(db, table) - 1;
        double lastKey = -1e300;
        qsizetype done = 0;
        for (const Entry& e : entries) {
            reportProgress(options, done++, entries.size());
            counter = std::max(counter + 1, qint64(std::ceil(lastKey - e.date)));
            lastKey = e.date + double(counter);
            insert.reset();
            insert.bindInt64(1, counter);
            insert.bind(2, e.date);
            insert.bindText(3, e.summary);
            insert.bindText(4, e.attribute);
            insert.bind(5, textValue(e.cells[Detail]));
            insert.bind(6, amountValue(e.debit));
            insert.bind(7, amountValue(e.credit));
            insert.bind(8, textValue(e.cells[Voucher]));
            insert.bind(9, textValue(e.cells[Handler]));
            insert.bind(10, textValue(e.cells[Invoice]));
            insert.bind(11, textValue(e.cells[Note]));
            insert.bind(12, operatorName);
            insert.bind(13, stamp);
            if (bank)
                insert.bindText(14, e.bank);
            insert.step();
        }
        // Rows inserted with their own counters leave a server's counter
        // behind them: the next entry saved would take one of theirs.
        if (counter > db.lastCounter(table))
            db.setLastCounter(table, counter);
    }
    store::Query query(&connection);
    for (const auto& [julian, account] : months) {
        const store::BookkeepingPeriod period(store::DateTime::fromDate(QDate::fromJulianDay(julian)));
        BalanceRecomputation::run(query, options.kind, period, account);
    }
    query.close();
    unit.commit();
    return int(months.size());
}

} // namespace

ImportResult importJournal(store::Connection& connection, const QList<lists::ImportRow>& rows,
                           const ImportOptions& options) {
    ImportResult result;
    if (rows.isEmpty())
        throw lists::ImportFileError(QStringLiteral("文件是空的，没有标题行！"));
    const ColumnPlaces places = placeColumns(rows.first(), options);
    store::Database& db = connection.database();
    Catalogue summaries = readCatalogue(db, QStringLiteral("select 摘要, 属性 from 摘要 order by 代码"));
    const Catalogue accounts = readCatalogue(db, QStringLiteral("select 项目 from 开户银行"));
    const bool bank = options.kind == JournalKind::Bank;

    QList<Entry> entries;
    entries.reserve(rows.size());
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const lists::ImportRow& row = rows[r];
        reportProgress(options, r, rows.size());
        if (isEmptyRow(row))
            continue;
        Entry e;
        for (int c = 0; c < ColumnCount; ++c) {
            const int at = places.at[c];
            e.cells[c] = at >= 0 && at < row.cells.size() ? row.cells[at] : QString();
        }
        if (e.cells[Date].trimmed() == QStringLiteral("记录数"))
            continue;
        auto refuse = [&](const QString& reason) { result.refused.append({row.line, row.text, reason}); };
        // A value too many or too few (a quote that runs on, a tab typed
        // into a cell) moves every value after it: no column can be trusted.
        if (row.cells.size() != places.width) {
            refuse(QStringLiteral("这一行有 %1 列，标题行有 %2 列，不能确定各个值的列！")
                       .arg(row.cells.size())
                       .arg(places.width));
            continue;
        }
        bool untitled = false;
        for (int i = 0; i < places.width && !untitled; ++i)
            untitled = rows.first().cells[i].trimmed().isEmpty() && !row.cells[i].trimmed().isEmpty();
        if (untitled) {
            refuse(QStringLiteral("这一行有标题行中没有的列！"));
            continue;
        }
        if (e.cells[Date].trimmed().isEmpty()) {
            refuse(noDateText());
            continue;
        }
        const std::optional<store::DateTime> day = store::DateTime::parseDay(e.cells[Date]);
        if (!day) {
            refuse(unreadableDateText());
            continue;
        }
        e.date = day->serial();
        QString reason;
        e.debit = readAmount(e.cells[Debit], QStringLiteral("借方"), reason);
        if (reason.isEmpty())
            e.credit = readAmount(e.cells[Credit], QStringLiteral("贷方"), reason);
        if (!reason.isEmpty()) {
            refuse(reason);
            continue;
        }
        const Currency debit = e.debit.value_or(Currency());
        const Currency credit = e.credit.value_or(Currency());
        const EntryProblem problem = checkEntry(e.cells[Summary], debit, credit);
        if (problem != EntryProblem::None) {
            refuse(entryProblemText(problem));
            continue;
        }
        const QString summary = e.cells[Summary].trimmed();
        const std::pair<QString, QString>* known = summaries.find(summary);
        if (!known && options.addSummaries) {
            const QString attribute = debit.isZero() ? QStringLiteral("减少") : QStringLiteral("增加");
            summaries.add(summary, attribute);
            result.addedSummaries.append({summary, attribute});
            known = summaries.find(summary);
        }
        if (!known) {
            refuse(QStringLiteral("摘要“%1”不在摘要设置中,请先增加这个摘要(%2)!")
                       .arg(summary, options.addSummariesChoice));
            continue;
        }
        e.summary = known->first;
        e.attribute = known->second;
        if (bank) {
            const QString named = e.cells[Bank].trimmed();
            const QString account = named.isEmpty() ? options.bankAccount : named;
            const std::pair<QString, QString>* found = accounts.find(account);
            if (account.isEmpty()) {
                refuse(QStringLiteral("开户银行不能为空,请重新输入!"));
                continue;
            }
            if (!found) {
                refuse(QStringLiteral("开户银行“%1”不在开户银行设置中!").arg(account));
                continue;
            }
            if (!options.bankAccount.isEmpty() && found != accounts.find(options.bankAccount)) {
                refuse(QStringLiteral("开户银行“%1”与%2“%3”不同!")
                           .arg(account, options.chosenAccountName, options.bankAccount));
                continue;
            }
            e.bank = found->first;
        }
        entries.append(e);
        result.passedLines.append(row.line);
    }
    result.entries = int(entries.size());
    if (!result.refused.isEmpty() || options.dryRun)
        return result;

    result.recomputedMonths = write(connection, entries, options, result.addedSummaries);
    result.written = true;
    return result;
}

} // namespace journal
