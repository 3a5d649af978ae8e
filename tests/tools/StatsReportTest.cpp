#include "support/TestDatabase.h"

#include "store/Currency.h"
#include "tools/DemoData.h"
#include "tools/StatsReport.h"

#include <gtest/gtest.h>

using testing_support::TestDatabase;

TEST(StatsReport, PrintsWhatTheFillWroteAndRefusesBadCriteria) {
    TestDatabase t;
    t.exec(QStringLiteral("update 关帐日期 set 关帐日期=cdate('2005-12-5')"));
    tools::DemoOptions options;
    options.entries = 800;
    options.years = 1;
    tools::addDemoData(t.connection(), options);

    tools::StatsRequest month;
    month.statistic = QStringLiteral("month");
    month.year = QStringLiteral("2005年");
    QString problem;
    const QStringList rows = tools::runStatistic(t.connection(), month, &problem);
    EXPECT_TRUE(problem.isEmpty());
    ASSERT_EQ(rows.size(), 13);
    EXPECT_EQ(rows[0], QStringLiteral("年度\t月份\t现金增加\t现金减少\t收入差价"));
    // The year's net income agrees with a sum computed straight from the journal.
    store::Currency net;
    for (int i = 1; i < rows.size(); ++i)
        net += *store::Currency::parse(rows[i].section(QLatin1Char('\t'), 4, 4));
    const qint64 expected = t.scalar(QStringLiteral(
        "select coalesce(sum(借方),0)-coalesce(sum(贷方),0) from 现金日记帐 "
        "where 日期 between cdate('2005-1-1') and cdate('2005-12-31 23:59:59')")).toLongLong();
    EXPECT_EQ(net.raw(), expected);

    tools::StatsRequest voucher;
    voucher.statistic = QStringLiteral("voucher");
    voucher.from = QStringLiteral("2005-1-1");
    voucher.to = QStringLiteral("2005-12-31");
    voucher.voucher = QStringLiteral("  ");
    EXPECT_TRUE(tools::runStatistic(t.connection(), voucher, &problem).isEmpty());
    EXPECT_EQ(problem, QStringLiteral("凭证号不能为空,请重新输入!"));
    voucher.from.clear();
    tools::runStatistic(t.connection(), voucher, &problem);
    EXPECT_EQ(problem, QStringLiteral("日期输入错误,请重新输入!")) << "the dates are checked first";
}
