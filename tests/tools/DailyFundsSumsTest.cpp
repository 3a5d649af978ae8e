// The daily funds report's balances against plain SQL on a demo book of
// 100,000 entries: for every day of a year and every account, the balance
// before the day is the sum of all the account's entries of earlier days,
// worked out here with a running sum over the days that have entries.

#include "stats/DailyFunds.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/Statement.h"
#include "support/TestDatabase.h"
#include "tools/DemoData.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

using store::Currency;

struct DaySums {
    Currency debit;
    Currency credit;
    Currency after; // every entry up to the end of the day
};

// Day serial -> sums, per account ("现金" for the cash journal).
QMap<QString, QMap<qint64, DaySums>> sumsBySql(store::Database& db) {
    const QString sql = QStringLiteral(
        "WITH d AS (SELECT %1 AS a, CAST(日期 AS INTEGER) AS day, coalesce(sum(借方), 0) AS dr, "
        "coalesce(sum(贷方), 0) AS cr FROM %2 GROUP BY 1, 2) "
        "SELECT a, day, dr, cr, sum(dr - cr) OVER (PARTITION BY a ORDER BY day) FROM d");
    QMap<QString, QMap<qint64, DaySums>> sums;
    for (const auto& [account, table] :
         {std::pair{QStringLiteral("'现金'"), QStringLiteral("现金日记帐")},
          std::pair{QStringLiteral("开户银行"), QStringLiteral("银行日记帐")}}) {
        store::Statement rows(db, sql.arg(account, table));
        while (rows.step()) {
            sums[rows.text(0)][rows.int64(1)] = {Currency::fromRaw(rows.int64(2)),
                                                 Currency::fromRaw(rows.int64(3)),
                                                 Currency::fromRaw(rows.int64(4))};
        }
    }
    return sums;
}

TEST(DailyFundsSums, EveryDayOfAYearMatchesPlainSums) {
    testing_support::TestDatabase book;
    tools::DemoOptions options;
    options.entries = 100000;
    options.years = 3;
    options.bankAccounts = 3;
    tools::addDemoData(book.connection(), options);

    stats::DailyFundsCriteria criteria;
    criteria.to =
        store::DateTime::fromSerial(book.scalar(QStringLiteral("SELECT max(日期) FROM 现金日记帐")).toDouble())
            .date();
    ASSERT_TRUE(criteria.to.isValid());
    criteria.from = criteria.to.addYears(-1).addDays(1);
    criteria.everyDay = true;
    const stats::DailyFundsReport report = stats::dailyFunds(book.db(), criteria);
    const auto sums = sumsBySql(book.db());
    ASSERT_EQ(sums.size(), 4);

    int checked = 0;
    for (const stats::DailyFundsRow& row : report.rows) {
        if (row.subtotal)
            continue;
        const qint64 day = qint64(store::DateTime::fromDate(row.day).serial());
        const QMap<qint64, DaySums>& days = sums[row.account];
        // The last day with entries before this one holds the balance.
        auto before = days.lowerBound(day);
        const Currency opening = before == days.cbegin() ? Currency() : std::prev(before)->after;
        const DaySums today = days.value(day);
        ASSERT_EQ(row.opening, opening)
            << row.account.toStdString() << " " << row.day.toString().toStdString();
        ASSERT_EQ(row.receipts, today.debit);
        ASSERT_EQ(row.payments, today.credit);
        ASSERT_EQ(row.closing, opening + today.debit - today.credit);
        ++checked;
    }
    EXPECT_EQ(checked, 4 * criteria.from.daysTo(criteria.to.addDays(1)));
}

} // namespace
