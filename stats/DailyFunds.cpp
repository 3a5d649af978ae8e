#include "DailyFunds.h"

#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QMap>

namespace stats {

namespace {

using store::Currency;

struct DayTotals {
    Currency receipts;
    Currency payments;
    qint64 receiptCount = 0;
    qint64 paymentCount = 0;
};

double firstMoment(const QDate& day) {
    return store::DateTime::fromDate(day).serial();
}

// The condition that picks one account's entries, and the journal they are in. The bank
// account is parameter `parameter`, the one after the statement's others: a server must see
// every parameter number in the text to know its type.
struct AccountSource {
    QString table;
    QString condition;
};

AccountSource sourceOf(const QString& account, int parameter) {
    if (account == cashAccountName())
        return {QStringLiteral("现金日记帐"), QStringLiteral("1 = 1")};
    return {QStringLiteral("银行日记帐"), QStringLiteral("开户银行 = ?%1").arg(parameter)};
}

void bindAccount(store::Statement& statement, const QString& account, int parameter) {
    if (account != cashAccountName())
        statement.bindText(parameter, account);
}

// Every entry before `from`, in any month: one sum over the journal's index
// that leads with the account (the cash journal's leads with the date).
Currency balanceBefore(store::Database& db, const QString& account, const QDate& from) {
    const AccountSource source = sourceOf(account, 2);
    store::Statement sums(db, QStringLiteral("SELECT sum(借方), sum(贷方) FROM %1 "
                                             "WHERE %2 AND 日期 < ?1")
                                  .arg(source.table, source.condition));
    sums.bind(1, firstMoment(from));
    bindAccount(sums, account, 2);
    sums.step();
    return sums.amount(0) - sums.amount(1);
}

QMap<QDate, DayTotals> daysOf(store::Database& db, const QString& account, const QDate& from,
                              const QDate& to) {
    const AccountSource source = sourceOf(account, 3);
    store::Statement entries(db, QStringLiteral("SELECT 日期, 借方, 贷方 FROM %1 "
                                                "WHERE %2 AND 日期 >= ?1 AND 日期 < ?2")
                                     .arg(source.table, source.condition));
    entries.bind(1, firstMoment(from));
    entries.bind(2, firstMoment(to.addDays(1)));
    bindAccount(entries, account, 3);
    QMap<QDate, DayTotals> days;
    while (entries.step()) {
        DayTotals& totals = days[store::DateTime::fromSerial(entries.real(0)).date()];
        const Currency in = entries.amount(1);
        const Currency out = entries.amount(2);
        totals.receipts += in;
        totals.payments += out;
        totals.receiptCount += in.isZero() ? 0 : 1;
        totals.paymentCount += out.isZero() ? 0 : 1;
    }
    return days;
}

void addTo(DailyFundsRow& sum, const DailyFundsRow& row) {
    sum.opening += row.opening;
    sum.receipts += row.receipts;
    sum.payments += row.payments;
    sum.closing += row.closing;
    sum.receiptCount += row.receiptCount;
    sum.paymentCount += row.paymentCount;
}

QString amountText(Currency amount) {
    return amount.format(2, true);
}

} // namespace

QString cashAccountName() {
    return QStringLiteral("现金");
}

QString subtotalName() {
    return QStringLiteral("小计");
}

QStringList dailyFundsAccounts(store::Database& db, const DailyFundsCriteria& criteria) {
    QStringList accounts;
    if (criteria.accounts != DailyAccounts::Bank)
        accounts << cashAccountName();
    if (criteria.accounts == DailyAccounts::Cash)
        return accounts;
    if (criteria.accounts == DailyAccounts::Bank && !criteria.bank.isEmpty())
        return accounts << criteria.bank;
    store::Statement names(db, QStringLiteral("SELECT 项目 FROM 开户银行 ORDER BY rowid"));
    while (names.step()) {
        const QString name = names.text(0);
        if (!name.trimmed().isEmpty() && !accounts.contains(name))
            accounts << name;
    }
    return accounts;
}

DailyFundsReport dailyFunds(store::Database& db, const DailyFundsCriteria& criteria) {
    const QStringList accounts = dailyFundsAccounts(db, criteria);
    QList<Currency> balances;
    QList<QMap<QDate, DayTotals>> days;
    QMap<QDate, bool> daysWithEntries;
    for (const QString& account : accounts) {
        balances << balanceBefore(db, account, criteria.from);
        days << daysOf(db, account, criteria.from, criteria.to);
        for (auto it = days.last().cbegin(); it != days.last().cend(); ++it)
            daysWithEntries.insert(it.key(), true);
    }

    DailyFundsReport report;
    report.totals.account = QStringLiteral("合计");
    for (const Currency& balance : balances)
        report.totals.opening += balance;
    report.totals.closing = report.totals.opening;
    const bool subtotals = accounts.size() > 1;
    for (QDate day = criteria.from; day.isValid() && day <= criteria.to; day = day.addDays(1)) {
        if (!criteria.everyDay && !daysWithEntries.contains(day))
            continue;
        DailyFundsRow subtotal;
        subtotal.day = day;
        subtotal.account = subtotalName();
        subtotal.subtotal = true;
        for (qsizetype i = 0; i < accounts.size(); ++i) {
            DailyFundsRow row;
            row.day = day;
            row.account = accounts[i];
            row.opening = balances[i];
            const auto found = days[i].constFind(day);
            if (found != days[i].cend()) {
                row.receipts = found->receipts;
                row.payments = found->payments;
                row.receiptCount = found->receiptCount;
                row.paymentCount = found->paymentCount;
            }
            row.closing = row.opening + row.receipts - row.payments;
            balances[i] = row.closing;
            addTo(subtotal, row);
            if (criteria.everyDay || found != days[i].cend())
                report.rows << row;
        }
        if (subtotals)
            report.rows << subtotal;
    }
    // The range's own sums, whether its days are shown or not.
    for (const QMap<QDate, DayTotals>& account : days) {
        for (const DayTotals& day : account) {
            report.totals.receipts += day.receipts;
            report.totals.payments += day.payments;
            report.totals.receiptCount += day.receiptCount;
            report.totals.paymentCount += day.paymentCount;
        }
    }
    report.totals.closing = report.totals.opening + report.totals.receipts - report.totals.payments;
    return report;
}

QStringList dailyFundsTitles() {
    return {QStringLiteral("日期"),     QStringLiteral("账户"),     QStringLiteral("上日余额"),
            QStringLiteral("本日收入"), QStringLiteral("本日支出"), QStringLiteral("本日余额"),
            QStringLiteral("收入笔数"), QStringLiteral("支出笔数")};
}

QStringList dailyFundsCells(const DailyFundsRow& row) {
    return {store::DateTime::fromDate(row.day).toShortDateString(),
            row.account,
            amountText(row.opening),
            amountText(row.receipts),
            amountText(row.payments),
            amountText(row.closing),
            QString::number(row.receiptCount),
            QString::number(row.paymentCount)};
}

QStringList dailyFundsFooter(const DailyFundsReport& report) {
    QStringList cells = dailyFundsCells(report.totals);
    cells[0] = QStringLiteral("合计");
    cells[1] = QString();
    return cells;
}

} // namespace stats
