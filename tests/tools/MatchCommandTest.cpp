// tallomer-db match: the automatic matching of a bank account without a
// display, its report, what it writes and what it refuses.

#include "ToolRun.h"

#include "journal/BankStatementLines.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using toolrun::tool;
using toolrun::ToolRun;

namespace {

const QString kAccount = QStringLiteral("工商银行基本户");

class MatchCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));

    void SetUp() override {
        ASSERT_EQ(tool({QStringLiteral("create"), book}).exitCode, 0);
        const auto db = store::openDatabaseFile(book, store::standardPassword());
        db->exec(QStringLiteral(
            "insert into 银行日记帐 (开户银行, 日期, 凭证号, 摘要, 属性, 借方, 贷方, 余额) values "
            "('工商银行基本户', cdate('2005-2-20'), 'Y0', '销售收入', '增加', ccur('900'), null, "
            "0),"
            "('工商银行基本户', cdate('2005-3-2'), 'Y1', '销售收入', '增加', ccur('1234.5'), null, "
            "0),"
            "('工商银行基本户', cdate('2005-3-8'), 'Y2', '办公费', '减少', null, ccur('80'), 0),"
            "('工商银行基本户', cdate('2005-3-20'), 'Y3', '办公费', '减少', null, ccur('66'), 0)"));
        addLine(*db, QDate(2005, 2, 21), QStringLiteral("货款"), "900", "");
        addLine(*db, QDate(2005, 3, 3), QStringLiteral("货款"), "1234.5", "",
                QStringLiteral("B-77"));
        addLine(*db, QDate(2005, 3, 12), QStringLiteral("转账支出"), "", "80");
        addLine(*db, QDate(2005, 3, 21), QStringLiteral("手续费"), "", "6");
    }

    static void addLine(store::Database& db, const QDate& day, const QString& text, const char* in,
                        const char* out, const QString& reference = QString()) {
        journal::StatementLine line;
        line.account = kAccount;
        line.date = day;
        line.text = text;
        line.in = *in ? *store::Currency::parse(QLatin1String(in)) : store::Currency();
        line.out = *out ? *store::Currency::parse(QLatin1String(out)) : store::Currency();
        line.reference = reference;
        line.sourceFile = QStringLiteral("对账单.xls");
        line.importedAt = QDateTime(QDate(2005, 4, 1), QTime(9, 0));
        journal::BankStatementLines(db).insert(line);
    }

    ToolRun match(const QStringList& options) {
        return tool(QStringList{QStringLiteral("match"), book} + options);
    }

    qint64 stored(const QString& sql) {
        const auto db = store::openDatabaseFile(book, store::standardPassword());
        store::Statement s(*db, sql);
        return s.step() ? s.int64(0) : -1;
    }
};

} // namespace

TEST_F(MatchCommand, MatchesAMonthAndReportsThePairsAndWhatIsLeft) {
    const ToolRun month =
        match({QStringLiteral("--bank"), kAccount, QStringLiteral("--month"),
               QStringLiteral("2005-03"), QStringLiteral("--days"), QStringLiteral("4")});
    EXPECT_EQ(month.exitCode, 0) << month.err.toStdString();
    EXPECT_EQ(
        month.out,
        QStringLiteral(
            "日记帐日期\t凭证号\t摘要\t借方\t贷方\t对账单日期\t流水号\t对账单摘要\t收入\t支出\n"
            "2005-3-2\tY1\t销售收入\t1,234.50\t\t2005-3-3\tB-77\t货款\t1,234.50\t\n"
            "2005-3-8\tY2\t办公费\t\t80.00\t2005-3-12\t\t转账支出\t\t80.00\n"
            "工商银行基本户（2005-03）：自动对上 2 对记录；还有 1 条银行日记帐记录和 1 条"
            "对账单记录没有对账。\n"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 银行对账 where 操作员 = '系统管理员'")),
              4);

    // Without a month every day of the book is matched; what is matched stays.
    const ToolRun all = match({QStringLiteral("--bank"), kAccount, QStringLiteral("--operator"),
                               QStringLiteral("系统管理员")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_TRUE(all.out.contains(QStringLiteral("2005-2-20\tY0")));
    EXPECT_TRUE(
        all.out.endsWith(QStringLiteral("工商银行基本户（所有日期）：自动对上 1 对记录；还有 1 条"
                                        "银行日记帐记录和 1 条对账单记录没有对账。\n")));
    EXPECT_EQ(stored(QStringLiteral("select count(distinct 组号) from 银行对账")), 3);
}

TEST_F(MatchCommand, RefusesWhatTheBookDoesNotHold) {
    const struct {
        QStringList options;
        QString message;
    } cases[] = {
        {{}, QStringLiteral("tallomer-db match: 请用 --bank 指定开户银行")},
        {{QStringLiteral("--bank"), QStringLiteral("农业银行")},
         QStringLiteral("tallomer-db match: 开户银行“农业银行”不在开户银行设置中！")},
        {{QStringLiteral("--bank"), kAccount, QStringLiteral("--days"), QStringLiteral("-1")},
         QStringLiteral("tallomer-db: --days 要写一个不小于 0 的整数")},
        {{QStringLiteral("--bank"), kAccount, QStringLiteral("--month"), QStringLiteral("2005-13")},
         QStringLiteral("tallomer-db match: --month 要写成 YYYY-MM 形式的月份，不能是“2005-13”")},
        {{QStringLiteral("--bank"), kAccount, QStringLiteral("--operator"), QStringLiteral("张三")},
         QStringLiteral("tallomer-db match: 操作员表中没有“张三”！")},
    };
    for (const auto& c : cases) {
        const ToolRun run = match(c.options);
        EXPECT_EQ(run.exitCode, 2) << c.options.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.err.trimmed(), c.message);
    }
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 银行对账")), 0);

    EXPECT_TRUE(tool({QStringLiteral("--help")}).out.contains(QStringLiteral("\n  match FILE ")));
    EXPECT_TRUE(tool({QStringLiteral("match"), QStringLiteral("--help")})
                    .out.startsWith(QStringLiteral("用法：tallomer-db match FILE --bank NAME")));
}
