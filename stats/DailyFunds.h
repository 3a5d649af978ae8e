#pragma once

#include "store/Currency.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class Database;
}

namespace stats {

/// Which accounts a daily funds report covers.
enum class DailyAccounts { All, Cash, Bank };

struct DailyFundsCriteria {
    QDate from;
    QDate to;
    DailyAccounts accounts = DailyAccounts::All;
    QString bank;          // Bank only: one account; empty: every bank account
    bool everyDay = false; // a row for every day and account, entries or not
};

/// One account on one day, or (subtotal) every account of the report on that day.
struct DailyFundsRow {
    QDate day;
    QString account;
    bool subtotal = false;
    store::Currency opening;
    store::Currency receipts;
    store::Currency payments;
    store::Currency closing;
    qint64 receiptCount = 0;
    qint64 paymentCount = 0;
};

/// The rows in day order, the accounts of a day in catalogue order (the cash
/// box first), and the range's totals: the opening of its first day, the sums
/// and counts, the closing of its last day.
struct DailyFundsReport {
    QList<DailyFundsRow> rows;
    DailyFundsRow totals;
};

/// The account name of the cash box in the report.
QString cashAccountName();
/// The name of a day's row over every account.
QString subtotalName();

/// The accounts the criteria cover: 现金 and/or the bank accounts of the catalogue.
QStringList dailyFundsAccounts(store::Database& db, const DailyFundsCriteria& criteria);

/// The report of the criteria's days. A balance is the sum of every entry of
/// the account before the day, in whatever month. Throws
/// store::CurrencyOverflow when a sum leaves the amount range.
DailyFundsReport dailyFunds(store::Database& db, const DailyFundsCriteria& criteria);

/// The column titles, as the window, the export and the command show them.
QStringList dailyFundsTitles();
/// The texts of a row's cells under those titles.
QStringList dailyFundsCells(const DailyFundsRow& row);
/// The footer's texts: "合计" and the totals.
QStringList dailyFundsFooter(const DailyFundsReport& report);

} // namespace stats
