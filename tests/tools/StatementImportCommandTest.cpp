// tallomer-db statement-import: a bank's statement brought in without a
// display, and what the command refuses.

#include "ToolRun.h"

#include "support/TestData.h"

#include "store/Database.h"
#include "store/Connection.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testing_support::dataFile;
using toolrun::tool;

namespace {

class StatementImportCommand : public ::testing::Test {
protected:
    StatementImportCommand() {
        m_book = m_dir.filePath(QStringLiteral("xjrjz.mdb"));
        EXPECT_EQ(tool({QStringLiteral("create"), m_book}).exitCode, 0);
    }

    toolrun::ToolRun import(const QString& from, QStringList more = {}) {
        return tool(QStringList{QStringLiteral("statement-import"), m_book,
                                QStringLiteral("--bank"), QStringLiteral("工商银行基本户"),
                                QStringLiteral("--from"), from} +
                    more);
    }
    QString count(const char* where = "1") {
        const auto db = store::openDatabaseFile(m_book, store::standardPassword());
        store::Statement s(*db, QStringLiteral("select count(*) from 银行对账单 where ") +
                                    QString::fromUtf8(where));
        return s.step() ? s.text(0) : QString();
    }

    QTemporaryDir m_dir;
    QString m_book;
};

} // namespace

TEST_F(StatementImportCommand, BringsAWorkbookInOnceAndSaysWhatWasThere) {
    const QString xlsx = dataFile("statement-bank-sense.xlsx");
    const toolrun::ToolRun dry = import(xlsx, {QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, QStringLiteral(
                           "检查完毕：8 行对账单可以导入工商银行基本户（2026-12-1 至 2026-12-31），"
                           "0 行已经导入过（--dry-run，没有写入）。\n"));
    EXPECT_EQ(count(), QStringLiteral("0"));

    const toolrun::ToolRun first = import(xlsx);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out,
              QStringLiteral("已把 8 行对账单导入工商银行基本户（2026-12-1 至 2026-12-31），"
                             "0 行已经导入过。\n"));
    EXPECT_EQ(count("操作员 = '系统管理员' and 来源文件 = 'statement-bank-sense.xlsx'"),
              QStringLiteral("8"));

    const toolrun::ToolRun again =
        import(dataFile("statement-bank-sense.xls"),
               {QStringLiteral("--operator"), QStringLiteral("系统管理员")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out,
              QStringLiteral("已把 0 行对账单导入工商银行基本户（2026-12-1 至 2026-12-31），"
                             "8 行已经导入过。\n"));
    EXPECT_EQ(count(), QStringLiteral("8"));
}

TEST_F(StatementImportCommand, RefusesBadLinesAccountsAndTheBookItself) {
    const QString bad = m_dir.filePath(QStringLiteral("bad.csv"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("交易日期,摘要,收入金额,支出金额\n2026-12-01,货款,10,\n2026-12-02,货款,,\n");
    file.close();
    const toolrun::ToolRun refused = import(bad);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              bad + QStringLiteral(
                        " 第 3 行：没有金额\n    2026-12-02,货款,,\n"
                        "tallomer-db statement-import: 有 1 行不能导入，没有写入任何记录！\n"));
    EXPECT_EQ(count(), QStringLiteral("0"));

    const toolrun::ToolRun journal = import(
        dataFile("statement-bank-sense.csv")
            .replace(QStringLiteral("statement-bank-sense.csv"), QStringLiteral("missing.csv")));
    EXPECT_EQ(journal.exitCode, 1);
    EXPECT_TRUE(
        journal.err.startsWith(QStringLiteral("tallomer-db statement-import: 不能打开文件")))
        << journal.err.toStdString();

    const toolrun::ToolRun stranger =
        tool({QStringLiteral("statement-import"), m_book, QStringLiteral("--bank"),
              QStringLiteral("招商银行"), QStringLiteral("--from"), dataFile("statement-gbk.csv")});
    EXPECT_EQ(stranger.exitCode, 2);
    EXPECT_EQ(
        stranger.err,
        QStringLiteral("tallomer-db statement-import: 开户银行“招商银行”不在开户银行设置中！\n"));

    const toolrun::ToolRun itself = import(m_book + QStringLiteral("-wal"));
    EXPECT_EQ(itself.exitCode, 2);
    EXPECT_TRUE(itself.err.contains(QStringLiteral("不能是数据库文件")))
        << itself.err.toStdString();

    const toolrun::ToolRun noBank = tool({QStringLiteral("statement-import"), m_book,
                                          QStringLiteral("--from"), dataFile("statement-gbk.csv")});
    EXPECT_EQ(noBank.exitCode, 2);
    EXPECT_EQ(count(), QStringLiteral("0"));
}
