#include "support/RefusedChanges.h"
#include "support/TestDatabase.h"

#include "journal/BalanceRecomputation.h"
#include "store/BookkeepingPeriod.h"
#include "store/EngineError.h"
#include "store/Query.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using journal::BalanceRecomputation;
using journal::JournalKind;
using store::BookkeepingPeriod;
using store::Currency;
using store::DateTime;
using testing_support::TestDatabase;

namespace {

const BookkeepingPeriod kMarch(DateTime::fromDate(QDate(2005, 3, 20)));

QStringList balances(store::Query& q) {
    QStringList out;
    for (q.first(); !q.eof(); q.next())
        out << q.fieldByName(QStringLiteral("余额")).asString();
    return out;
}

} // namespace

TEST(BalanceRecomputation, MonthQueryTexts) {
    EXPECT_EQ(journal::monthQuery(JournalKind::Cash, kMarch),
              QStringList({QStringLiteral("select * from 现金日记帐"),
                           QStringLiteral("where (日期 between cdate('2005-3-1') and cdate('2005-3-31'))"),
                           QStringLiteral("order by 日期+编号")}));
    EXPECT_EQ(journal::monthQuery(JournalKind::Bank, kMarch, QStringLiteral("工行"))[1],
              QStringLiteral("where (开户银行='工行')and(日期 between cdate('2005-3-1') and cdate('2005-3-31'))"));
}

TEST(BalanceRecomputation, RunsFromZeroInJournalOrderWithinTheMonth) {
    TestDatabase t;
    t.exec(QStringLiteral(
        "insert into 现金日记帐 (编号, 日期, 借方, 贷方, 余额) values "
        "(1, cdate('2005-2-28'), ccur('999'), null, 123),"   // February: untouched
        "(2, cdate('2005-3-1'), null, ccur('100.25'), 0),"  // first entry a credit
        "(3, cdate('2005-3-2'), ccur('0.0001'), null, 0),"
        "(4, cdate('2005-3-31'), ccur('50'), ccur('0'), 0),"
        "(20, cdate('2005-3-20'), ccur('1'), null, 0),"     // back-dated: sorts after 3-31
        "(5, cdate('2005-4-1'), ccur('7'), null, 0)"));
    store::Query q(&t.connection());
    QSignalSpy resets(&q, &store::Query::reset);
    BalanceRecomputation::run(q, JournalKind::Cash, kMarch);
    EXPECT_EQ(q.currentIndex(), q.recordCount() - 1);
    EXPECT_FALSE(q.controlsDisabled());
    EXPECT_EQ(balances(q), QStringList({"-100.25", "-100.2499", "-50.2499", "-49.2499"}));
    EXPECT_EQ(t.scalar(QStringLiteral("select 余额 from 现金日记帐 where 编号=1")).toLongLong(), 123);
    EXPECT_EQ(t.scalar(QStringLiteral("select 余额 from 现金日记帐 where 编号=5")).toLongLong(), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select 余额 from 现金日记帐 where 编号=20")).toLongLong(), -492499);
}

TEST(BalanceRecomputation, BankAccountsRunIndependently) {
    TestDatabase t;
    t.exec(QStringLiteral(
        "insert into 银行日记帐 (日期, 借方, 开户银行) values "
        "(cdate('2005-3-1'), ccur('10'), 'A'), (cdate('2005-3-2'), ccur('5'), 'B'),"
        "(cdate('2005-3-3'), ccur('10'), 'a'), (cdate('2005-3-4'), ccur('5'), 'B')"));
    store::Query q(&t.connection());
    BalanceRecomputation::run(q, JournalKind::Bank, kMarch, QStringLiteral("B"));
    EXPECT_EQ(balances(q), QStringList({"5", "10"}));
    // Account names compare without regard to Latin case, as "=" does.
    BalanceRecomputation::run(q, JournalKind::Bank, kMarch, QStringLiteral("A"));
    EXPECT_EQ(balances(q), QStringList({"10", "20"}));
}

TEST(BalanceRecomputation, EmptyMonthStoresNothing) {
    TestDatabase t;
    store::Query q(&t.connection());
    BalanceRecomputation::run(q, JournalKind::Cash, kMarch);
    EXPECT_TRUE(q.isOpen());
    EXPECT_TRUE(q.isEmpty());
}

TEST(BalanceRecomputation, AFailureLeavesTheMonthAsItWas) {
    TestDatabase t;
    t.exec(QStringLiteral("insert into 现金日记帐 (日期, 借方, 余额) values "
                          "(cdate('2005-3-1'), ccur('10'), 7), (cdate('2005-3-2'), ccur('10'), 7)"));
    // A trigger refuses the second balance write, part-way through the pass.
    testing_support::refuseChanges(t.db(), QStringLiteral("update of 余额"),
                                   QStringLiteral("现金日记帐"), QStringLiteral("new.余额 > 100000"),
                                   QStringLiteral("refused"));
    store::Query q(&t.connection());
    EXPECT_THROW(BalanceRecomputation::run(q, JournalKind::Cash, kMarch), store::EngineError);
    EXPECT_FALSE(q.controlsDisabled());
    EXPECT_EQ(balances(q), QStringList({"0.0007", "0.0007"}));
    EXPECT_EQ(t.scalar(QStringLiteral("select sum(余额) from 现金日记帐")).toLongLong(), 14);
}
