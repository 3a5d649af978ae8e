// tallomer-db daily: the turn of January 2024 worked out by hand on standard
// output, one account, and what it refuses.

#include "ToolRun.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/NewDatabase.h"
#include "lists/GbkText.h"
#include "support/DailyFundsMonth.h"
#include "support/PdfText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using toolrun::tool;
using toolrun::ToolRun;

namespace {

class DailyCommand : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_book = m_dir.filePath(QStringLiteral("xjrjz.mdb"));

    void SetUp() override {
        ASSERT_EQ(tool({QStringLiteral("create"), m_book}).exitCode, 0);
        const auto db = store::openDatabaseFile(m_book, store::standardPassword());
        testing_support::addDailyFundsMonth(*db);
    }
    ToolRun daily(const QStringList& more) const {
        return tool(QStringList{QStringLiteral("daily"), m_book} + more);
    }
};

TEST_F(DailyCommand, WritesTheReportOfTheDaysOnStandardOutput) {
    const ToolRun run = daily({QStringLiteral("--from"), QStringLiteral("2024-1-31"),
                               QStringLiteral("--to"), QStringLiteral("2024-2-3")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], QStringLiteral("资金日报表 2024-1-31 至 2024-2-3"));
    EXPECT_EQ(
        lines[1],
        QStringLiteral("日期\t账户\t上日余额\t本日收入\t本日支出\t本日余额\t收入笔数\t支出笔数"));
    EXPECT_EQ(lines[4],
              QStringLiteral("2024-1-31\t小计\t13,000.00\t500.00\t200.50\t13,299.50\t1\t1"));
    EXPECT_EQ(lines[9],
              QStringLiteral("2024-2-3\t建设银行一般户\t2,000.00\t0.00\t300.00\t1,700.00\t0\t1"));
    EXPECT_EQ(lines[11], QStringLiteral("合计\t\t13,000.00\t820.25\t1,750.50\t12,069.75\t3\t4"));

    const ToolRun one =
        daily({QStringLiteral("--from"), QStringLiteral("2024-2-1"), QStringLiteral("--to"),
               QStringLiteral("2024-2-2"), QStringLiteral("--bank"), testing_support::kFirstBank,
               QStringLiteral("--every-day")});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(
        one.out.split(u'\n', Qt::SkipEmptyParts).mid(2),
        QStringList(
            {QStringLiteral("2024-2-1\t工商银行基本户\t10,500.00\t0.00\t1,200.00\t9,300.00\t0\t1"),
             QStringLiteral("2024-2-2\t工商银行基本户\t9,300.00\t0.00\t0.00\t9,300.00\t0\t0"),
             QStringLiteral("合计\t\t10,500.00\t0.00\t1,200.00\t9,300.00\t0\t1")}));
}

TEST_F(DailyCommand, PrintsToPdfAndExportsWithEveryAmountWhole) {
    const QStringList days = {QStringLiteral("--from"), QStringLiteral("2024-1-31"),
                              QStringLiteral("--to"), QStringLiteral("2024-2-3")};
    const QString pdf = m_dir.filePath(QStringLiteral("daily.pdf"));
    const ToolRun printed = daily(days + QStringList{QStringLiteral("--out"), pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_TRUE(
        printed.out.startsWith(QStringLiteral("已把 资金日报表 2024-1-31 至 2024-2-3打印到")));
    const QSet<QString> words = testing_support::wordsOf(testing_support::pdfText(pdf));
    const QString csv = m_dir.filePath(QStringLiteral("daily.csv"));
    const ToolRun exported = daily(days + QStringList{QStringLiteral("--out"), csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = lists::fromGbk(file.readAll()).value_or(QString());
    for (const char* amount : {"13,000.00", "13,299.50", "1,099.75", "12,399.75", "1,750.50",
                               "12,069.75", "10,500.00", "1,700.00", "820.25"}) {
        EXPECT_TRUE(words.contains(QString::fromLatin1(amount))) << amount;
        EXPECT_TRUE(text.contains(QStringLiteral("\"%1\"").arg(QString::fromLatin1(amount))))
            << amount;
    }
}

TEST_F(DailyCommand, RefusesWrongDaysAccountsAndKinds) {
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"--from", "2024-2-3", "--to", "2024-1-31"}, "日期从大于日期到,请重新输入!"},
        {{"--from", "2024-2-3"}, "日期输入错误,请重新输入!"},
        {{"--bank", "农业银行"}, "没有开户银行“农业银行”"},
        {{"--kind", "cash", "--bank", "工商银行基本户"}, "--bank 只用于银行日记帐"},
        {{"--kind", "money"}, "--kind 只能是 cash 或 bank"},
        {{"--out", "daily.doc"}, "--format 只能是 txt、csv、xls、html、rtf 或 pdf，不能是“doc”"},
    };
    for (const auto& c : cases) {
        const ToolRun run = daily(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_EQ(run.err.trimmed(),
                  QStringLiteral("tallomer-db daily: ") + QString::fromUtf8(c.message));
    }
}

} // namespace
