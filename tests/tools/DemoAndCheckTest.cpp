#include "support/TestDatabase.h"

#include "tools/DemoData.h"
#include "store/Currency.h"
#include "store/DatabaseCheck.h"
#include "store/DateTime.h"
#include "store/JournalTimeOfDay.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

#include <gtest/gtest.h>

#include <map>

using testing_support::TestDatabase;

TEST(DemoData, IsReproducibleAndBalanced) {
    TestDatabase a;
    TestDatabase b;
    tools::DemoOptions options;
    options.entries = 600;
    options.years = 2;
    options.summaries = 20;
    options.bankAccounts = 2;
    options.seed = 7;
    tools::addDemoData(a.connection(), options);
    tools::addDemoData(b.connection(), options);
    const QString digest = QStringLiteral(
        "select count(*), sum(借方), sum(贷方), group_concat(摘要 || 日期 || 凭证号, '') from %1");
    for (const QString& table : {QStringLiteral("现金日记帐"), QStringLiteral("银行日记帐")}) {
        store::Statement sa(a.db(), digest.arg(table));
        store::Statement sb(b.db(), digest.arg(table));
        ASSERT_TRUE(sa.step() && sb.step());
        EXPECT_GT(sa.int64(0), 100);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(sa.value(c), sb.value(c));
    }
    EXPECT_EQ(a.scalar(QStringLiteral("select count(*) from 现金日记帐")).toInt() +
                  a.scalar(QStringLiteral("select count(*) from 银行日记帐")).toInt(),
              600);
    EXPECT_EQ(a.scalar(QStringLiteral("select count(*) from 摘要")).toInt(), 20);
    // Every month's last balance equals the month's debits minus its credits.
    store::Statement rows(a.db(), QStringLiteral(
        "select 日期, 借方, 贷方, 余额 from 现金日记帐 order by 日期+编号, rowid"));
    std::map<int, std::pair<qint64, qint64>> months; // month -> (net, last balance)
    while (rows.step()) {
        const QDate d = store::DateTime::fromSerial(rows.real(0)).date();
        auto& [net, last] = months[d.year() * 100 + d.month()];
        net += rows.int64(1) - rows.int64(2);
        last = rows.int64(3);
    }
    int checked = 0;
    for (const auto& [month, figures] : months) {
        EXPECT_EQ(figures.first, figures.second) << month;
        ++checked;
    }
    EXPECT_GE(checked, 20);
    EXPECT_TRUE(store::checkDatabaseFile(a.path(), store::standardPassword()).isEmpty());
}

TEST(DatabaseCheck, NamesWhatIsWrong) {
    TestDatabase t;
    EXPECT_TRUE(store::checkDatabaseFile(t.path(), QStringLiteral("kvmtr")).isEmpty());
    EXPECT_EQ(store::checkDatabaseFile(t.path(), QStringLiteral("nope")),
              QStringList({QStringLiteral("不是有效的数据库密码")}));
    // A server makes 通用 anew for every connection; 摘要 is the book's own there.
    const QString table = t.onServer() ? QStringLiteral("摘要") : QStringLiteral("通用");
    t.exec(QStringLiteral("drop table ") + table);
    EXPECT_EQ(store::checkDatabaseFile(t.path(), QStringLiteral("kvmtr")),
              QStringList({QStringLiteral("缺少表 ") + table}));
}

TEST(DatabaseCheck, FindsJournalDatesWithATimeOfDayButStillPassesTheBook) {
    TestDatabase t;
    // Only a file book's date column can hold a text.
    t.exec(QStringLiteral(
               "insert into 现金日记帐 (编号, 日期, 摘要) values (1, cdate('2005-3-31'), 'a'), "
               "(2, cdate('2005-3-31 10:00'), 'b'), (3, null, 'c'), (4, -1.25, 'd')%1")
               .arg(t.onServer() ? QString() : QStringLiteral(", (5, '2005-3-1', 'e')")));
    t.exec(QStringLiteral(
        "insert into 银行日记帐 (编号, 日期, 摘要) values (7, cdate('2005-3-1 0:0:1'), 'f'), "
        "(8, cdate('2005-3-2 0:0:0'), 'g')"));
    const std::vector<store::TimedJournalRow> rows = store::journalRowsWithTimeOfDay(t.db());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].kind, store::JournalKind::Cash);
    EXPECT_EQ(rows[0].id, 2);
    EXPECT_EQ(rows[0].date, store::DateTime::fromDateTime(QDate(2005, 3, 31), QTime(10, 0)));
    EXPECT_EQ(rows[1].id, 4); // before 1900 the fraction still counts forward in the day
    EXPECT_EQ(rows[1].date.time(), QTime(6, 0));
    EXPECT_EQ(rows[2].kind, store::JournalKind::Bank);
    EXPECT_EQ(rows[2].id, 7);
    // The check that a restore relies on does not refuse such a book.
    EXPECT_TRUE(store::checkDatabaseFile(t.path(), store::standardPassword()).isEmpty());
}
