#include "support/TestDatabase.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/EngineTable.h"
#include "store/NewDatabase.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/SqlText.h"
#include "store/Statement.h"
#include "support/TestServer.h"

#include <QFile>

#include <gtest/gtest.h>

using store::Currency;
using store::DateTime;
using testing_support::TestDatabase;

namespace {

QVariant one(TestDatabase& t, const char* sql) { return t.scalar(QString::fromUtf8(sql)); }

void openWith(const QString& connectionString) {
    store::Connection c;
    c.setConnectionString(connectionString);
    c.open();
}

} // namespace

TEST(Connection, ReadsOnlyTheFileAndPasswordOfTheStandardString) {
    const store::ConnectionString standard(store::ConnectionString::standard());
    EXPECT_EQ(standard.dataSource(), QStringLiteral("xjrjz.mdb"));
    EXPECT_EQ(standard.password(), QStringLiteral("kvmtr"));
    EXPECT_EQ(standard.value(QStringLiteral("provider")), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(standard.value(QStringLiteral("Extended Properties")), QString());
    EXPECT_TRUE(store::ConnectionString::standard().startsWith(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=xjrjz.mdb;")));
}

TEST(Connection, FailsForAMissingFileAWrongPasswordOrAForeignFile) {
    TestDatabase t;
    const QString missing = t.folder() + QStringLiteral("/none.mdb");
    EXPECT_THROW(openWith(store::ConnectionString::forFile(missing)), store::EngineError);
    EXPECT_FALSE(QFile::exists(missing)) << "connecting must never create the file";

    QString wrong = store::ConnectionString::forFile(t.path());
    wrong.replace(QStringLiteral("Password=kvmtr"), QStringLiteral("Password=KVMTR"));
    try {
        openWith(wrong);
        FAIL() << "a wrong password connected";
    } catch (const store::EngineError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("不是有效的数据库密码"));
    }

    const QString garbage = t.folder() + QStringLiteral("/garbage.mdb");
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    EXPECT_THROW(openWith(store::ConnectionString::forFile(garbage)), store::EngineError);

    EXPECT_NO_THROW(openWith(store::ConnectionString::forFile(t.path())));
    store::Connection closed;
    EXPECT_THROW(closed.database(), store::EngineError);
}

TEST(Schema, NewDatabaseHasTheNineTablesAndTheShippedRows) {
    TestDatabase t;
    EXPECT_TRUE(store::schemaProblems(t.db()).isEmpty());
    EXPECT_EQ(store::schemaTables().size(), 9);
    EXPECT_EQ(one(t, "select 姓名 from 权限表").toString(), QStringLiteral("系统管理员"));
    EXPECT_EQ(one(t, "select 操作口令 from 权限表").toString(), QString());
    EXPECT_FALSE(one(t, "select 系统标题 from 公司信息").toString().isEmpty());
    EXPECT_GE(one(t, "select count(*) from 摘要").toInt(), 10);
    EXPECT_EQ(one(t, "select count(*) from 开户银行").toInt(), 1);
    const DateTime closing = DateTime::fromSerial(one(t, "select 关帐日期 from 关帐日期").toDouble());
    EXPECT_EQ(closing.date().month(), QDate::currentDate().month());
    if (!t.onServer()) {
        EXPECT_EQ(one(t, "pragma journal_mode").toString(), QStringLiteral("wal"));
    }

    t.exec(QStringLiteral("alter table 摘要 drop column 属性"));
    t.exec(QStringLiteral("drop table 图形显示"));
    if (t.onServer()) // the first drop took this desk's own chart table
        t.exec(QStringLiteral("drop table 图形显示"));
    const QStringList problems = store::schemaProblems(t.db());
    EXPECT_EQ(problems.size(), 2) << problems.join(QLatin1Char('\n')).toStdString();
}

TEST(SqlDialect, JournalOrderIsDateAdvancedByCounter) {
    TestDatabase t;
    // Counters 1..3 for 3-1, 3-2, 3-10; then counter 4 back-dated to 3-5 and
    // counter 10 back-dated to 3-3 (3-3 + 10 days sorts after 3-10 + 3 days).
    t.exec(QStringLiteral(
        "insert into 现金日记帐 (编号, 日期, 凭证号) values (1, cdate('2005-3-1'), 'a'),"
        "(2, cdate('2005-3-2'), 'b'), (3, cdate('2005-3-10'), 'c'), (4, cdate('2005-3-5'), 'd'),"
        "(10, cdate('2005-3-3'), 'e')"));
    store::Query q(&t.connection());
    q.setSql({QStringLiteral("select * from 现金日记帐"),
              QStringLiteral("where (日期 between cdate('2005-3-1') and cdate('2005-3-31'))"),
              QStringLiteral("order by 日期+编号")});
    q.open();
    QStringList order;
    for (q.first(); !q.eof(); q.next())
        order << q.fieldByName(QStringLiteral("凭证号")).asString();
    EXPECT_EQ(order.join(QString()), QStringLiteral("abdce"));
}

TEST(SqlDialect, TextComparisonsIgnoreLatinCaseAndWildcardsWork) {
    TestDatabase t;
    t.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('Cash ABC', '增加'), ('50%_off', '减少'),"
                          "('500 off', '减少'), ('O''Brien', '增加')"));
    EXPECT_EQ(one(t, "select count(*) from 摘要 where 摘要='cash abc'").toInt(), 1);
    EXPECT_EQ(one(t, "select count(*) from 摘要 where 摘要 like 'CASH%'").toInt(), 1);
    EXPECT_EQ(one(t, "select count(*) from 摘要 where 摘要 like '50%off'").toInt(), 2);
    EXPECT_EQ(one(t, "select count(*) from 摘要 where 摘要 like '50__off'").toInt(), 2);
    EXPECT_EQ(one(t, "select count(*) from 摘要 where 摘要 like '5_0 off'").toInt(), 1);
    // A quote typed into a text is stored and found like any other character.
    store::Query q(&t.connection());
    q.setSql({QStringLiteral("select * from 摘要 where 摘要=") + store::sql::quoted(QStringLiteral("o'brien"))});
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("摘要")).asString(), QStringLiteral("O'Brien"));
}

TEST(SqlDialect, CdateAndCcurReadTheLiteralForms) {
    TestDatabase t;
    EXPECT_EQ(one(t, "select cdate('2005-3-1')").toDouble(), 38412.0);
    EXPECT_EQ(one(t, "select cdate('2005-03-01')").toDouble(), 38412.0);
    EXPECT_EQ(one(t, "select cdate('2005-3-1 0:0:0')").toDouble(), 38412.0);
    EXPECT_DOUBLE_EQ(one(t, "select cdate('2005-3-31 23:59:59')").toDouble(),
                     DateTime::fromDateTime(QDate(2005, 3, 31), QTime(23, 59, 59)).serial());
    try {
        one(t, "select cdate('abc')");
        FAIL() << "cdate('abc') did not fail";
    } catch (const store::EngineError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("abc"))) << e.what();
    }
    EXPECT_THROW(one(t, "select ccur('12x')"), store::EngineError);
    EXPECT_EQ(one(t, "select ccur('1,234.5')").toLongLong(), 12345000);
    // Date plus number advances by days; between includes both ends.
    EXPECT_EQ(one(t, "select cdate('2005-3-1')+2 = cdate('2005-3-3')").toInt(), 1);
    EXPECT_EQ(one(t, "select cdate('2005-3-31') between cdate('2005-3-1') and cdate('2005-3-31')").toInt(), 1);
    // An entry on the last day with a time of day is outside the plain period clause.
    EXPECT_EQ(one(t, "select cdate('2005-3-31 0:0:1') between cdate('2005-3-1') and cdate('2005-3-31')").toInt(), 0);
}

TEST(SqlDialect, SumsAreExactAndEmptyReadsAsZero) {
    TestDatabase t;
    store::Query q(&t.connection());
    q.setSql({QStringLiteral("select sum(借方) as jf,sum(贷方) as df from 现金日记帐")});
    q.open();
    EXPECT_TRUE(q.fieldByName(QStringLiteral("jf")).isNull());
    EXPECT_EQ(q.fieldByName(QStringLiteral("jf")).asCurrency(), Currency());
    EXPECT_EQ(q.fieldByName(QStringLiteral("df")).asString(), QString());
    q.close();

    t.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n where i<10000) "
                          "insert into 现金日记帐 (日期, 借方) select cdate('2005-3-1'), ccur('0.0001') from n"));
    t.exec(QStringLiteral("insert into 现金日记帐 (日期, 贷方) values (cdate('2005-3-2'), ccur('3'))"));
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("jf")).asCurrency(), Currency::fromUnits(1));
    EXPECT_EQ(q.fieldByName(QStringLiteral("df")).asCurrency(), Currency::fromUnits(3));
    EXPECT_TRUE(q.isReadOnly());
    EXPECT_THROW(q.edit(), store::EngineError);
}

TEST(EngineTable, PasswordCanBeReplaced) {
    TestDatabase t;
    store::EngineTable::setPassword(t.db(), QStringLiteral("other"));
    EXPECT_THROW(store::EngineTable::verify(t.db(), QStringLiteral("kvmtr")), store::EngineError);
    EXPECT_NO_THROW(store::EngineTable::verify(t.db(), QStringLiteral("other")));
    EXPECT_THROW(store::createDatabaseFile(t.path(), QStringLiteral("x")), store::EngineError);
}

TEST(Connection, DesksOnOneServerBookShareTheJournalsButEachHasItsOwnScratchTables) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "a server book's desks";
    TestDatabase t;
    store::Connection other;
    other.setConnectionString(store::ConnectionString::forFile(t.path()));
    other.open();
    const auto count = [](store::Connection& c, const QString& sql) {
        store::Statement s(c.database(), sql);
        s.step();
        return s.int64(0);
    };
    t.exec(QStringLiteral("insert into 通用 (摘要) values ('mine'), ('mine')"));
    t.exec(QStringLiteral("insert into 图形显示 (sl1) values ('mine')"));
    other.database().exec(QStringLiteral("insert into 通用 (摘要) values ('theirs')"));
    other.database().exec(QStringLiteral("insert into 现金日记帐 (日期, 凭证号) values (cdate('2005-3-1'), 'shared')"));

    EXPECT_EQ(count(t.connection(), QStringLiteral("select count(*) from 通用")), 2);
    EXPECT_EQ(count(t.connection(), QStringLiteral("select count(*) from 图形显示")), 1);
    EXPECT_EQ(count(other, QStringLiteral("select count(*) from 通用 where 摘要 = 'theirs'")), 1);
    EXPECT_EQ(count(other, QStringLiteral("select count(*) from 通用")), 1);
    EXPECT_EQ(count(other, QStringLiteral("select count(*) from 图形显示")), 0);
    EXPECT_EQ(count(t.connection(), QStringLiteral("select count(*) from 现金日记帐 where 凭证号 = 'shared'")), 1);
}
