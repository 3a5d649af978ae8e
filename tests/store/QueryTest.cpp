#include "support/TestDatabase.h"

#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Transaction.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using store::Currency;
using store::DateTime;
using store::Query;
using store::QueryState;
using testing_support::TestDatabase;

namespace {

QStringList cashMonth() {
    return {QStringLiteral("select * from 现金日记帐"),
            QStringLiteral("where (日期 between cdate('2005-3-1') and cdate('2005-3-31'))"),
            QStringLiteral("order by 日期+编号")};
}

void appendEntry(Query& q, int day, const char* voucher, const char* debit) {
    q.append();
    q.fieldByName(QStringLiteral("日期")).setDateTime(DateTime::fromDate(QDate(2005, 3, day)));
    q.fieldByName(QStringLiteral("凭证号")).setString(QString::fromUtf8(voucher));
    q.fieldByName(QStringLiteral("借方")).setString(QString::fromUtf8(debit));
    q.post();
}

} // namespace

TEST(Query, ChangesArePostedAtOnceAndSurviveReopening) {
    TestDatabase t;
    {
        Query q(&t.connection());
        q.openWith(cashMonth());
        EXPECT_TRUE(q.isEmpty());
        EXPECT_TRUE(q.eof());
        appendEntry(q, 1, "a", "10.5");
        appendEntry(q, 2, "b", "20");
        appendEntry(q, 3, "c", "30");
        EXPECT_EQ(q.state(), QueryState::Browse);
        // The counter comes back after each insert, larger each time.
        EXPECT_EQ(q.fieldByName(QStringLiteral("编号")).asInteger(), 3);
        q.first();
        q.edit();
        q.fieldByName(QStringLiteral("明细")).setString(QStringLiteral("改过"));
        q.post();
        q.next();
        q.deleteCurrent();
        EXPECT_EQ(q.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("c"));
        q.edit();
        q.fieldByName(QStringLiteral("明细")).setString(QStringLiteral("不要"));
        q.cancel();
        EXPECT_EQ(q.fieldByName(QStringLiteral("明细")).asString(), QString());
        q.append();
        q.fieldByName(QStringLiteral("凭证号")).setString(QStringLiteral("x"));
        q.cancel();
        EXPECT_EQ(q.recordCount(), 2);
    }
    t.reopen();
    Query q(&t.connection());
    q.openWith(cashMonth());
    ASSERT_EQ(q.recordCount(), 2);
    EXPECT_EQ(q.fieldByName(QStringLiteral("明细")).asString(), QStringLiteral("改过"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("借方")).asCurrency(), Currency::fromRaw(105000));
    EXPECT_EQ(q.fieldByName(QStringLiteral("借方")).asString(), QStringLiteral("10.5"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("日期")).asString(), QStringLiteral("2005-3-1"));
    q.next();
    EXPECT_EQ(q.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("c"));
    EXPECT_TRUE(q.fieldByName(QStringLiteral("贷方")).isNull());
    EXPECT_EQ(q.fieldByName(QStringLiteral("贷方")).asCurrency(), Currency());
    EXPECT_TRUE(q.fieldByName(QStringLiteral("操作日期")).asDateTime().isZero());
}

TEST(Query, NewCounterIsLargerThanAnyBeforeEvenAfterDeletingTheLast) {
    TestDatabase t;
    Query q(&t.connection());
    q.openWith(cashMonth());
    appendEntry(q, 1, "a", "1");
    appendEntry(q, 1, "b", "1");
    q.last();
    const qint64 last = q.fieldByName(QStringLiteral("编号")).asInteger();
    q.deleteCurrent();
    appendEntry(q, 1, "c", "1");
    EXPECT_GT(q.fieldByName(QStringLiteral("编号")).asInteger(), last);
}

TEST(Query, EditOnAnEmptyResultStartsANewRow) {
    TestDatabase t;
    t.exec(QStringLiteral("delete from 关帐日期"));
    Query q(&t.connection());
    q.openWith({QStringLiteral("select * from 关帐日期")});
    ASSERT_TRUE(q.isEmpty());
    EXPECT_TRUE(q.fieldByName(QStringLiteral("关帐日期")).asDateTime().isZero());
    q.edit();
    EXPECT_EQ(q.state(), QueryState::Insert);
    q.fieldByName(QStringLiteral("关帐日期")).setString(QStringLiteral("2005-3-15"));
    q.post();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from 关帐日期")).toInt(), 1);
    EXPECT_EQ(DateTime::fromSerial(t.scalar(QStringLiteral("select 关帐日期 from 关帐日期")).toDouble()),
              DateTime::fromDate(QDate(2005, 3, 15)));
}

TEST(Query, CursorAndStates) {
    TestDatabase t;
    Query q(&t.connection());
    EXPECT_THROW(q.first(), store::EngineError);
    q.openWith({QStringLiteral("select * from 摘要 order by 代码")});
    const int n = q.recordCount();
    ASSERT_GT(n, 2);
    EXPECT_TRUE(q.bof());
    q.prior();
    EXPECT_TRUE(q.bof());
    EXPECT_EQ(q.currentIndex(), 0);
    q.last();
    EXPECT_TRUE(q.eof());
    q.next();
    EXPECT_EQ(q.currentIndex(), n - 1);
    // Moving while a change is pending posts it.
    q.first();
    q.edit();
    q.fieldByName(QStringLiteral("操作员")).setString(QStringLiteral("甲"));
    q.next();
    EXPECT_EQ(q.state(), QueryState::Browse);
    EXPECT_EQ(t.scalar(QStringLiteral("select 操作员 from 摘要 order by 代码 limit 1")).toString(),
              QStringLiteral("甲"));
    // Setting a field outside edit mode is refused; unknown fields are errors.
    EXPECT_THROW(q.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("x")), store::EngineError);
    EXPECT_THROW(q.fieldByName(QStringLiteral("没有")), store::EngineError);
    q.edit();
    EXPECT_THROW(q.fieldByName(QStringLiteral("操作日期")).setString(QStringLiteral("not a date")),
                 store::EngineError);
    q.cancel();
    // Bound controls are asked for their pending edits before a post.
    QObject::connect(&q, &Query::updateRecordRequested, [&q] {
        q.fieldByName(QStringLiteral("操作员")).setString(QStringLiteral("乙"));
    });
    q.edit();
    q.post();
    EXPECT_EQ(q.fieldByName(QStringLiteral("操作员")).asString(), QStringLiteral("乙"));
}

TEST(Query, LastLineReplacementResorts) {
    TestDatabase t;
    Query q(&t.connection());
    q.openWith(cashMonth());
    appendEntry(q, 1, "2", "1");
    appendEntry(q, 2, "1", "1");
    appendEntry(q, 3, "3", "1");
    q.close();
    q.setSqlLine(q.sqlLineCount() - 1, QStringLiteral(" ORDER BY 凭证号 DESC "));
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("3"));
    q.close();
    q.setSqlLine(2, QString()); // no ordering at all still opens
    EXPECT_NO_THROW(q.open());
    EXPECT_THROW(q.setSqlLine(3, QString()), store::EngineError);
}

TEST(Query, TiesComeInRowIdOrder) {
    TestDatabase t;
    // Counter 2 on 3-2 and counter 3 on 3-1 sum to the same value.
    t.exec(QStringLiteral("insert into 现金日记帐 (编号, 日期, 凭证号) values (3, cdate('2005-3-1'), 'late'),"
                          "(2, cdate('2005-3-2'), 'early')"));
    Query q(&t.connection());
    q.openWith(cashMonth());
    EXPECT_EQ(q.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("early"));
}

TEST(Query, ASumOpensInsideATransactionAndTheTransactionGoesOn) {
    TestDatabase t;
    {
        Query q(&t.connection());
        q.openWith(cashMonth());
        appendEntry(q, 1, "v1", "12.50");
    }
    store::Transaction unit(t.db());
    Query sum(&t.connection());
    sum.openWith({QStringLiteral("select sum(借方) as jf from 现金日记帐")});
    EXPECT_EQ(sum.fieldByName(QStringLiteral("jf")).asCurrency(), Currency::fromRaw(125000));
    sum.close();
    t.exec(QStringLiteral("insert into 通用 (摘要) values ('after')"));
    unit.commit();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from 通用 where 摘要 = 'after'")).toInt(), 1);
}

TEST(Query, DisabledControlsHearOneResetAtTheEnd) {
    TestDatabase t;
    Query q(&t.connection());
    q.openWith(cashMonth());
    QSignalSpy resets(&q, &Query::reset);
    QSignalSpy rows(&q, &Query::rowChanged);
    q.disableControls();
    appendEntry(q, 1, "a", "1");
    appendEntry(q, 2, "b", "1");
    EXPECT_EQ(rows.count(), 0);
    EXPECT_TRUE(q.controlsDisabled());
    q.enableControls();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_FALSE(q.controlsDisabled());
}

TEST(Query, FailedPostKeepsTheRowPendingAndClosingTheConnectionClosesQueries) {
    TestDatabase t;
    Query q(&t.connection());
    q.openWith({QStringLiteral("select * from 摘要")});
    q.edit();
    q.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("x"));
    t.exec(QStringLiteral("delete from 摘要"));
    EXPECT_THROW(q.post(), store::EngineError); // the row is gone
    EXPECT_EQ(q.state(), QueryState::Edit);
    q.cancel();
    t.connection().close();
    EXPECT_FALSE(q.isOpen());
    EXPECT_THROW(q.open(), store::EngineError);
}
