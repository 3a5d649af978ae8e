#include "store/BookkeepingPeriod.h"
#include "store/SqlText.h"
#include "store/ServerDialect.h"

#include <gtest/gtest.h>

using store::BookkeepingPeriod;
using store::DateTime;

namespace {
BookkeepingPeriod periodOf(int y, int m, int d, QTime t = QTime(0, 0)) {
    return BookkeepingPeriod(DateTime::fromDateTime(QDate(y, m, d), t));
}
} // namespace

TEST(BookkeepingPeriod, FebruaryFollowsTheGregorianLeapRule) {
    for (int year : {2000, 2004, 2008})
        EXPECT_EQ(periodOf(year, 2, 10).lastDayText(), QStringLiteral("%1-2-29").arg(year));
    for (int year : {1900, 2005, 2100})
        EXPECT_EQ(periodOf(year, 2, 10).lastDayText(), QStringLiteral("%1-2-28").arg(year));
}

TEST(BookkeepingPeriod, TextsAndClause) {
    const BookkeepingPeriod december = periodOf(2005, 12, 31, QTime(23, 0));
    EXPECT_EQ(december.firstDayText(), QStringLiteral("2005-12-1"));
    EXPECT_EQ(december.lastDayText(), QStringLiteral("2005-12-31"));
    const BookkeepingPeriod september = periodOf(2005, 9, 15);
    EXPECT_EQ(september.firstDayText(), QStringLiteral("2005-9-1"));
    EXPECT_EQ(september.lastDayText(), QStringLiteral("2005-9-30"));
    EXPECT_EQ(september.clause(),
              QStringLiteral("(日期 between cdate('2005-9-1') and cdate('2005-9-30'))"));
    EXPECT_TRUE(september.contains(QDate(2005, 9, 1)));
    EXPECT_TRUE(september.contains(QDate(2005, 9, 30)));
    EXPECT_FALSE(september.contains(QDate(2005, 10, 1)));
    EXPECT_FALSE(september.contains(QDate(2005, 8, 31)));
    // No closing date stored: December 1899.
    const BookkeepingPeriod none{DateTime()};
    EXPECT_EQ(none.firstDayText(), QStringLiteral("1899-12-1"));
    EXPECT_EQ(none.lastDayText(), QStringLiteral("1899-12-31"));
}

TEST(SqlText, LiteralFormsAndQuoting) {
    using namespace store::sql;
    EXPECT_EQ(quoted(QStringLiteral("O'Brien's")), QStringLiteral("'O''Brien''s'"));
    EXPECT_EQ(quoted(QStringLiteral("50%_x")), QStringLiteral("'50%_x'"));
    EXPECT_EQ(startOfDayLiteral(QStringLiteral("2005-3-1")), QStringLiteral("cdate('2005-3-1 0:0:0')"));
    EXPECT_EQ(endOfDayLiteral(QStringLiteral("2005-3-1")), QStringLiteral("cdate('2005-3-1 23:59:59')"));
    EXPECT_EQ(amountRange(QStringLiteral("借方"), QStringLiteral("100"), QStringLiteral("1,000.00")),
              QStringLiteral("(借方 between ccur('100') and ccur('1,000.00'))"));
    EXPECT_EQ(equals(QStringLiteral("凭证号"), QStringLiteral("12")), QStringLiteral("(凭证号='12')"));
    EXPECT_EQ(contains(QStringLiteral("明细"), QStringLiteral("a'b")), QStringLiteral("(明细 like '%a''b%')"));
    EXPECT_EQ(startsWith(QStringLiteral("摘要"), QStringLiteral("现金")), QStringLiteral("(摘要 like '现金%')"));
}

TEST(SqlText, CriteriaJoinWithoutBlanks) {
    using namespace store::sql;
    Criteria criteria;
    EXPECT_TRUE(criteria.isEmpty());
    criteria.add(contains(QStringLiteral("凭证号"), QStringLiteral("1")));
    criteria.add(startsWith(QStringLiteral("摘要"), QStringLiteral("现金")),
                 QStringLiteral("and") + contains(QStringLiteral("摘要"), QStringLiteral("现金")));
    EXPECT_EQ(criteria.text(), QStringLiteral("(凭证号 like '%1%')and(摘要 like '%现金%')"));

    Criteria alone;
    alone.add(startsWith(QStringLiteral("摘要"), QStringLiteral("现金")),
              QStringLiteral("and") + contains(QStringLiteral("摘要"), QStringLiteral("现金")));
    alone.add(dateRange(dateLiteral(QStringLiteral("2005-3-1")), dateLiteral(QStringLiteral("2005-3-2"))));
    EXPECT_EQ(alone.text(), QStringLiteral("(摘要 like '现金%')and(日期 between cdate('2005-3-1') and "
                                           "cdate('2005-3-2'))"));
}

TEST(ServerDialect, TurnsTheFileBooksSpellingsIntoTheServersOutsideQuotedText) {
    int parameters = 0;
    EXPECT_EQ(store::serverSql(QStringLiteral("select rowid, 'rowid ?' from temp.通用 where a = ? and b = ?"),
                               &parameters),
              QStringLiteral("select _rowid, 'rowid ?' from pg_temp.通用 where a = $1 and b = $2"));
    EXPECT_EQ(parameters, 2);
    // A date constant is read here once; one that does not read stays for the server to refuse.
    EXPECT_EQ(store::serverSql(QStringLiteral("日期 between cdate('2005-3-1') and CDate( '2005-3-31 23:59:59' )")),
              QStringLiteral("日期 between CAST(38412 AS double precision) and "
                             "CAST(38442.999988425923 AS double precision)"));
    EXPECT_EQ(store::serverSql(QStringLiteral("cdate('2005-2-30'), cdate(x), 'cdate(''2005-3-1'')'")),
              QStringLiteral("cdate('2005-2-30'), cdate(x), 'cdate(''2005-3-1'')'"));
}
