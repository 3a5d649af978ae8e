// The daily funds report over the turn of a month, against figures worked
// out by hand, and its balances against plain sums of the entries.

#include "support/DailyFundsMonth.h"
#include "support/TestDatabase.h"

#include "stats/DailyFunds.h"

#include <gtest/gtest.h>

namespace {

using stats::DailyAccounts;
using stats::DailyFundsCriteria;

QStringList lines(const stats::DailyFundsReport& report) {
    QStringList result;
    for (const stats::DailyFundsRow& row : report.rows)
        result << stats::dailyFundsCells(row).join(QLatin1Char('|'));
    result << stats::dailyFundsFooter(report).join(QLatin1Char('|'));
    return result;
}

class DailyFunds : public ::testing::Test {
protected:
    void SetUp() override { testing_support::addDailyFundsMonth(db.db()); }

    QStringList report(DailyAccounts accounts, const QString& bank = {}, bool everyDay = false) {
        DailyFundsCriteria criteria;
        criteria.from = QDate(2024, 1, 31);
        criteria.to = QDate(2024, 2, 3);
        criteria.accounts = accounts;
        criteria.bank = bank;
        criteria.everyDay = everyDay;
        return lines(stats::dailyFunds(db.db(), criteria));
    }

    testing_support::TestDatabase db;
};

TEST_F(DailyFunds, AllAccountsCarryTheirBalancesAcrossTheMonthWithSubtotalsPerDay) {
    EXPECT_EQ(report(DailyAccounts::All),
              QStringList({
                  "2024-1-31|现金|1,000.00|0.00|200.50|799.50|0|1",
                  "2024-1-31|工商银行基本户|10,000.00|500.00|0.00|10,500.00|1|0",
                  "2024-1-31|小计|13,000.00|500.00|200.50|13,299.50|1|1",
                  "2024-2-1|现金|799.50|300.25|0.00|1,099.75|1|0",
                  "2024-2-1|工商银行基本户|10,500.00|0.00|1,200.00|9,300.00|0|1",
                  "2024-2-1|小计|13,299.50|300.25|1,200.00|12,399.75|1|1",
                  "2024-2-3|现金|1,099.75|20.00|50.00|1,069.75|1|1",
                  "2024-2-3|建设银行一般户|2,000.00|0.00|300.00|1,700.00|0|1",
                  "2024-2-3|小计|12,399.75|20.00|350.00|12,069.75|1|2",
                  "合计||13,000.00|820.25|1,750.50|12,069.75|3|4",
              }));
}

TEST_F(DailyFunds, EveryDayShowsTheDaysAndAccountsWithoutEntries) {
    const QStringList rows = report(DailyAccounts::Bank, {}, true);
    ASSERT_EQ(rows.size(), 4 * 3 + 1);
    EXPECT_EQ(rows[0], "2024-1-31|工商银行基本户|10,000.00|500.00|0.00|10,500.00|1|0");
    EXPECT_EQ(rows[1], "2024-1-31|建设银行一般户|2,000.00|0.00|0.00|2,000.00|0|0");
    EXPECT_EQ(rows[6], "2024-2-2|工商银行基本户|9,300.00|0.00|0.00|9,300.00|0|0");
    EXPECT_EQ(rows[8], "2024-2-2|小计|11,300.00|0.00|0.00|11,300.00|0|0");
    EXPECT_EQ(rows[12], "合计||12,000.00|500.00|1,500.00|11,000.00|1|2");
}

TEST_F(DailyFunds, OneAccountHasNoSubtotalsAndItsOwnFooter) {
    EXPECT_EQ(report(DailyAccounts::Bank, testing_support::kSecondBank),
              QStringList({"2024-2-3|建设银行一般户|2,000.00|0.00|300.00|1,700.00|0|1",
                           "合计||2,000.00|0.00|300.00|1,700.00|0|1"}));
    EXPECT_EQ(report(DailyAccounts::Cash).size(), 4);
}

TEST_F(DailyFunds, ASumBeyondTheAmountRangeIsRefused) {
    testing_support::addDailyEntry(db.db(), {}, QDateTime(QDate(2024, 1, 1), QTime()),
                                   Q_INT64_C(50000000000000000));
    testing_support::addDailyEntry(db.db(), {}, QDateTime(QDate(2024, 1, 2), QTime()),
                                   Q_INT64_C(50000000000000000));
    EXPECT_THROW(report(DailyAccounts::Cash), store::CurrencyOverflow);
}

} // namespace
