// Text comparisons ignore the case of every cased letter, an indexed prefix
// is still searched as a range, books of earlier builds keep working, and
// names sort in pinyin order.

#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/TextIndexOrder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

using testing_support::TestDatabase;

namespace {

int count(TestDatabase& t, const QString& where) {
    return t.scalar(QStringLiteral("select count(*) from 现金日记帐 where ") + where).toInt();
}

QString plan(TestDatabase& t, const QString& sql) {
    store::Statement explain(t.db(), QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QStringList lines;
    while (explain.step())
        lines << explain.text(3);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TEST(TextComparisons, EveryCasedLetterIsFoldedInEqualsAndLike) {
    TestDatabase t;
    t.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 备注) values "
                          "(1, 'CAFÉ', 'CAFÉ 早餐'), (2, 'ｐｏｓ 收款', '刷ｐｏｓ机'),"
                          "(3, 'ΑΘΗΝΑ', 'Москва'), (4, 'cafe', 'cafe')"));
    EXPECT_EQ(count(t, QStringLiteral("摘要 = 'café'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("摘要 = 'αθηνα'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("备注 like '%café%'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("备注 like '%ＰＯＳ%'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("备注 like '%МОСКВА'")), 1);
    EXPECT_EQ(count(t, QStringLiteral("备注 like 'caf_ 早%'")), 1); // "_" is one letter, É too
    EXPECT_EQ(count(t, QStringLiteral("摘要 like 'CAFE%'")), 1);    // É is no E
    EXPECT_EQ(count(t, QStringLiteral("备注 like 'caf\\% 早%' escape '\\'")), 0);
}

// The statistics by summary sum "摘要 like 'x%'" per summary: that stays a
// range of the covering index, and the range holds every text with that
// start whatever its last letter (Ā/ā sit side by side, the Kelvin sign
// folds to k far below it).
TEST(TextComparisons, ASummaryPrefixIsARangeOfItsIndexAndFindsEveryCase) {
    SKIP_FOR_SERVER_BOOK("the SQLite index order and its plan");
    TestDatabase t;
    t.exec(
        QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                       "(1, 'ĀB', 1), (2, 'āc', 2), (3, 'Ăd', 4), (4, 'k1', 8), (5, '\u212A2', 16),"
                       "(6, 'Ｚ', 32), (7, 'ｚｚ', 64), (8, 'ＰＯＳ退款', 128), (9, 'pos', 256)"));
    const auto sum = [&t](const QString& prefix) {
        return t
            .scalar(QStringLiteral("select sum(借方) from 现金日记帐 where (日期 between 0 and 10)"
                                   "and(摘要 like '%1%')")
                        .arg(prefix))
            .toInt();
    };
    EXPECT_EQ(sum(QStringLiteral("Ā")), 3);
    EXPECT_EQ(sum(QStringLiteral("ā")), 3);
    EXPECT_EQ(sum(QStringLiteral("K")), 24);
    EXPECT_EQ(sum(QStringLiteral("Ｚ")), 96);
    EXPECT_EQ(sum(QStringLiteral("ｐｏｓ")), 128);
    EXPECT_TRUE(
        plan(t, QStringLiteral("select sum(借方) as jf,sum(贷方) as df from 现金日记帐 where "
                               "(日期 between cdate('2005-1-1') and cdate('2005-12-31'))"
                               "and(摘要 like 'ＰＯＳ%')"))
            .contains(QStringLiteral("USING COVERING INDEX 现金日记帐_摘要 (摘要>? AND 摘要<?)")));
}

// Entries written by an earlier build, whose indexes SQLite's own NOCASE
// ordered (a-z folded only), and a book without the record of its order.
void writeAsAnEarlierBuild(const QString& path) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    QStringList values;
    for (int i = 0; i < 40; ++i) {
        for (const char* start : {"Á", "É", "á", "é", "Ö", "ö", "z", "Z"})
            values << QStringLiteral("(%1, '%2%3')").arg(i).arg(QString::fromUtf8(start)).arg(i);
    }
    const QByteArray sql = QStringLiteral("insert into 现金日记帐 (日期, 摘要) values %1;"
                                          "delete from _engine where key = 'text order';")
                               .arg(values.join(QLatin1Char(',')))
                               .toUtf8();
    ASSERT_EQ(sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
}

// The book is put in order once, when it is opened, and stays sound.
TEST(TextComparisons, ABookOfAnEarlierBuildIsReindexedOnceWhenOpened) {
    SKIP_FOR_SERVER_BOOK("the SQLite index order and its plan");
    TestDatabase t;
    t.connection().close();
    writeAsAnEarlierBuild(t.path());

    t.reopen();
    EXPECT_EQ(t.scalar(QStringLiteral("pragma integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(count(t, QStringLiteral("摘要 = 'é7'")), 2);
    EXPECT_EQ(count(t, QStringLiteral("摘要 = 'á39'")), 2);
    EXPECT_EQ(count(t, QStringLiteral("摘要 like 'ö%'")), 80);
    EXPECT_FALSE(
        t.scalar(QStringLiteral("select value from _engine where key = 'text order'")).isNull());
}

// A connection that may not write (a book beside its WAL, or one read as an
// unchanging file) leaves the indexes as they are and compares in their
// order: "=" folds a-z only there, LIKE still every letter.
TEST(TextComparisons, ABookOfAnEarlierBuildReadOnlyKeepsItsOrder) {
    SKIP_FOR_SERVER_BOOK("the SQLite index order and its plan");
    TestDatabase t;
    t.connection().close();
    writeAsAnEarlierBuild(t.path());

    for (const auto mode :
         {store::Database::OpenMode::ReadOnly, store::Database::OpenMode::Unchanging}) {
        SCOPED_TRACE(int(mode));
        store::Database db(t.path(), mode);
        store::keepTextIndexOrder(db);
        EXPECT_FALSE(db.hasFoldedTextOrder());
        const auto count = [&db](const QString& where) {
            store::Statement s(db, QStringLiteral("select count(*) from 现金日记帐 where ") + where);
            s.step();
            return s.int64(0);
        };
        EXPECT_EQ(count(QStringLiteral("摘要 = 'é7'")), 1);
        EXPECT_EQ(count(QStringLiteral("摘要 = 'Z7'")), 2);
        EXPECT_EQ(count(QStringLiteral("(摘要 like 'ö%')")), 80);
        store::Statement check(db, QStringLiteral("pragma integrity_check"));
        ASSERT_TRUE(check.step());
        EXPECT_EQ(check.text(0), QStringLiteral("ok"));
    }
}

// Names and summaries sort by pinyin, not by character code; Latin letters
// come before Chinese characters.
TEST(TextComparisons, TextColumnsSortInPinyinOrder) {
    TestDatabase t;
    t.exec(QStringLiteral("insert into 权限表 (姓名) values ('张三'), ('李四'), ('Li');"
                          "insert into 现金日记帐 (日期, 摘要) values (1, '差旅费'), (2, '办公费'),"
                          "(3, '工资')"));
    const auto column = [&t](const QStringList& sql, const char* field) {
        store::Query q(&t.connection());
        q.openWith(sql);
        QStringList values;
        for (q.first(); !q.eof(); q.next())
            values << q.fieldByName(QString::fromUtf8(field)).asString();
        return values;
    };
    EXPECT_EQ(column({QStringLiteral("select * from 权限表 order by 姓名")}, "姓名"),
              QStringList({QStringLiteral("Li"), QStringLiteral("李四"),
                           QStringLiteral("系统管理员"), QStringLiteral("张三")}));
    // A list sorted by its 摘要 title: ban, chai, gong.
    EXPECT_EQ(
        column({QStringLiteral("select * from 现金日记帐"), QStringLiteral(" ORDER BY 摘要")},
               "摘要"),
        QStringList({QStringLiteral("办公费"), QStringLiteral("差旅费"), QStringLiteral("工资")}));
    EXPECT_EQ(
        column({QStringLiteral("select * from 现金日记帐"), QStringLiteral(" ORDER BY 摘要 DESC ")},
               "摘要"),
        QStringList({QStringLiteral("工资"), QStringLiteral("差旅费"), QStringLiteral("办公费")}));
}
