#include "support/DataModuleFixture.h"
#include "support/RefusedChanges.h"

#include "stats/StatisticsFill.h"
#include "store/Currency.h"
#include "store/EngineError.h"
#include "store/Statement.h"

#include <QSignalSpy>

#include <map>

using stats::DateRangeProblem;
using stats::YearProblem;
using store::Currency;
using store::JournalKind;

namespace {

class Fills : public DataModuleFixture {
protected:
    void SetUp() override {
        DataModuleFixture::SetUp();
        db.exec(QStringLiteral("delete from 摘要"));
        db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('工资', '减少'), ('收款', '增加'), "
                               "('收款退回', '减少'), ('差旅', '减少')"));
        dm->q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用")});
    }
    void entry(const char* table, const char* date, const char* summary, const char* debit, const char* credit,
               const char* voucher = "", const char* bank = "") {
        db.exec(QStringLiteral("insert into %1 (日期, 摘要, 借方, 贷方, 凭证号%2) values (cdate('%3'), '%4', %5, %6, '%7'%8)")
                    .arg(QString::fromUtf8(table), *bank ? QStringLiteral(", 开户银行") : QString(),
                         QString::fromUtf8(date), QString::fromUtf8(summary),
                         *debit ? QStringLiteral("ccur('%1')").arg(QLatin1String(debit)) : QStringLiteral("null"),
                         *credit ? QStringLiteral("ccur('%1')").arg(QLatin1String(credit)) : QStringLiteral("null"),
                         QString::fromUtf8(voucher),
                         *bank ? QStringLiteral(", '%1'").arg(QString::fromUtf8(bank)) : QString()));
    }
    /// 通用 as "摘要:增加/减少" lines, in row order, read straight from the table.
    QStringList scratchRows() {
        QStringList rows;
        // The program's own connection: on a server book 通用 belongs to it alone.
        store::Statement read(dm->ADO_xjrjz.database(), QStringLiteral("select 摘要, 月份, 现金增加, 现金减少, 收入差价 from 通用 order by rowid"));
        while (read.step()) {
            rows << QStringLiteral("%1%2:%3/%4/%5")
                        .arg(read.text(0), read.text(1),
                             read.isNull(2) ? QStringLiteral("-") : Currency::fromRaw(read.int64(2)).toString(),
                             read.isNull(3) ? QStringLiteral("-") : Currency::fromRaw(read.int64(3)).toString(),
                             read.isNull(4) ? QStringLiteral("-") : Currency::fromRaw(read.int64(4)).toString());
        }
        return rows;
    }
    void fillSummaries(const char* from, const char* to, JournalKind kind = JournalKind::Cash,
                       const char* voucher = "", const char* bank = "") {
        stats::SummaryCriteria c;
        c.kind = kind;
        c.fromText = QString::fromUtf8(from);
        c.toText = QString::fromUtf8(to);
        c.voucher = QString::fromUtf8(voucher);
        c.bank = QString::fromUtf8(bank);
        stats::fillSummaryTotals(dm->q_tongyong, dm->q_zy, dm->q_xjrjz, c);
    }
};

} // namespace

TEST(StatisticsChecks, DateRangeAndYear) {
    EXPECT_EQ(stats::checkDateRange(QString(), QStringLiteral(" ")), DateRangeProblem::BothEmpty);
    EXPECT_EQ(stats::checkDateRange(QStringLiteral("2005-3-1"), QString()), DateRangeProblem::OneEmpty);
    EXPECT_EQ(stats::checkDateRange(QString(), QStringLiteral("2005-3-1")), DateRangeProblem::OneEmpty);
    EXPECT_EQ(stats::checkDateRange(QStringLiteral("2005-3-5"), QStringLiteral("2005-3-4")), DateRangeProblem::Reversed);
    EXPECT_EQ(stats::checkDateRange(QStringLiteral("2005-3-5"), QStringLiteral("2005-3-5")), DateRangeProblem::None);
    EXPECT_EQ(stats::checkDateRange(QStringLiteral("2005-2-30"), QStringLiteral("2005-3-5")), DateRangeProblem::Unreadable);
    EXPECT_EQ(stats::dateRangeMessage(DateRangeProblem::BothEmpty), QStringLiteral("日期不能为空,请重新输入!"));
    EXPECT_EQ(stats::dateRangeMessage(DateRangeProblem::OneEmpty), QStringLiteral("日期输入错误,请重新输入!"));
    EXPECT_EQ(stats::dateRangeMessage(DateRangeProblem::Reversed), QStringLiteral("日期从大于日期到,请重新输入!"));

    stats::StatisticsYear year;
    EXPECT_EQ(stats::checkYear(QStringLiteral("2005年"), &year), YearProblem::None);
    EXPECT_EQ(year.number, 2005);
    EXPECT_EQ(stats::checkYear(QStringLiteral(" 2005 "), &year), YearProblem::None);
    EXPECT_EQ(year.number, 2005);
    EXPECT_EQ(stats::checkYear(QStringLiteral("   ")), YearProblem::Empty);
    EXPECT_EQ(stats::checkYear(QStringLiteral("abcd")), YearProblem::NotANumber);
    EXPECT_EQ(stats::yearMessage(YearProblem::Empty), QStringLiteral("没有输入统计年度,请重新输入!"));
    EXPECT_EQ(stats::yearMessage(YearProblem::NotANumber), QStringLiteral("统计年度输入不正确,请重新输入!"));
}

TEST_F(Fills, SummaryTotalsFollowTheCatalogueAndCountPrefixes) {
    entry("现金日记帐", "2005-3-1", "工资", "", "1000");
    entry("现金日记帐", "2005-3-1", "工资", "", "0.5");
    entry("现金日记帐", "2005-3-2", "收款", "200", "");
    entry("现金日记帐", "2005-3-2", "收款", "", "50");
    entry("现金日记帐", "2005-3-3", "收款退回", "", "30");
    entry("现金日记帐", "2005-3-31", "其他", "7", "");
    entry("现金日记帐", "2005-4-1", "差旅", "", "9");
    fillSummaries("2005-3-1", "2005-3-31");
    // Catalogue order; a credits-only summary shows its credit; a summary with
    // both shows only its debit; 收款 also counts the 收款退回 entry.
    EXPECT_EQ(scratchRows(), QStringList({"工资:-/1000.5/-", "收款:200/-/-", "收款退回:-/30/-"}));
    EXPECT_EQ(dm->q_tongyong.currentIndex(), 0);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    EXPECT_FALSE(dm->q_zy.isOpen());
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("发车日期")).asDateTime(),
              store::DateTime::fromDate(QDate(2005, 3, 1)));
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("收车日期")).asString(), QStringLiteral("2005-3-31"));
    // The end day counts whole; a second fill replaces the rows.
    fillSummaries("2005-4-1", "2005-4-1");
    EXPECT_EQ(scratchRows(), QStringList({"差旅:-/9/-"}));
}

TEST_F(Fills, SummaryTotalsAgreeWithIndependentSums) {
    std::map<QString, std::pair<qint64, qint64>> expected; // summary -> raw debit, credit
    const char* names[] = {"工资", "收款", "收款退回", "差旅"};
    for (int i = 0; i < 200; ++i) {
        const char* name = names[i % 4];
        const qint64 cents = 1 + (i * 7919) % 100000;
        const bool debit = (i * 31) % 3 == 0;
        const QString amount = Currency::fromRaw(cents * 100).toString();
        entry("现金日记帐", QStringLiteral("2005-%1-%2").arg(1 + i % 12).arg(1 + i % 28).toUtf8().constData(), name,
              debit ? amount.toUtf8().constData() : "", debit ? "" : amount.toUtf8().constData());
        for (const char* catalogue : names) {
            if (QString::fromUtf8(name).startsWith(QString::fromUtf8(catalogue)))
                (debit ? expected[QString::fromUtf8(catalogue)].first : expected[QString::fromUtf8(catalogue)].second) +=
                    cents * 100;
        }
    }
    fillSummaries("2005-1-1", "2005-12-31");
    QStringList want;
    for (const char* catalogue : names) {
        const auto& [d, c] = expected[QString::fromUtf8(catalogue)];
        want << QStringLiteral("%1:%2/%3/-").arg(QString::fromUtf8(catalogue),
                                                 d > 0 ? Currency::fromRaw(d).toString() : QStringLiteral("-"),
                                                 d > 0 ? QStringLiteral("-") : Currency::fromRaw(c).toString());
    }
    EXPECT_EQ(scratchRows(), want);
}

TEST_F(Fills, VoucherAndBankConditions) {
    entry("银行日记帐", "2005-3-1", "收款", "10", "", "V1", "工行");
    entry("银行日记帐", "2005-3-1", "收款", "20", "", "V1", "农行");
    entry("银行日记帐", "2005-3-1", "收款", "40", "", "V2", "工行");
    fillSummaries("2005-3-1", "2005-3-1", JournalKind::Bank, "V1", "工行");
    EXPECT_EQ(scratchRows(), QStringList({"收款:10/-/-"}));
    fillSummaries("2005-3-1", "2005-3-1", JournalKind::Bank, "V1", "");
    EXPECT_EQ(scratchRows(), QStringList({"收款:30/-/-"}));
    fillSummaries("2005-3-1", "2005-3-1", JournalKind::Bank, "", "没有这个户");
    EXPECT_TRUE(scratchRows().isEmpty());
    // A quote in a criterion is a character like any other.
    fillSummaries("2005-3-1", "2005-3-1", JournalKind::Bank, "O'1", "");
    EXPECT_TRUE(scratchRows().isEmpty());
}

TEST_F(Fills, MonthTotalsWithLeapDaysAndNetIncome) {
    entry("现金日记帐", "2008-2-29", "收款", "100", "");
    entry("现金日记帐", "2008-12-31", "工资", "", "30");
    entry("现金日记帐", "2008-3-15", "收款", "5", "");
    entry("现金日记帐", "2008-3-16", "工资", "", "8.25");
    entry("现金日记帐", "2009-1-1", "收款", "1", "");
    QSignalSpy resets(&dm->q_tongyong, &store::Query::reset);
    stats::fillMonthTotals(dm->q_tongyong, dm->q_xjrjz, JournalKind::Cash, 2008, QString());
    EXPECT_EQ(scratchRows(), QStringList({"02月:100/0/100", "03月:5/8.25/-3.25", "12月:0/30/-30"}));
    EXPECT_EQ(dm->q_tongyong.sql().last(), QStringLiteral(" order by 月份"));
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("年度")).asString(), QStringLiteral("2008"));
    EXPECT_EQ(resets.count(), 1) << "views see one refresh, at the end";
}

TEST_F(Fills, AFailedFillLeavesTheFormerRows) {
    entry("现金日记帐", "2005-3-1", "工资", "", "1");
    fillSummaries("2005-3-1", "2005-3-31");
    testing_support::refuseChanges(dm->ADO_xjrjz.database(), QStringLiteral("insert"), QStringLiteral("通用"),
                  QStringLiteral("new.摘要='收款'"), QStringLiteral("full"));
    entry("现金日记帐", "2005-3-2", "收款", "5", "");
    EXPECT_THROW(fillSummaries("2005-3-1", "2005-3-31"), store::EngineError);
    EXPECT_EQ(scratchRows(), QStringList({"工资:-/1/-"}));
    EXPECT_EQ(dm->q_tongyong.recordCount(), 1);
    EXPECT_FALSE(dm->q_tongyong.controlsDisabled());
}
