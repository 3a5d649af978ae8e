// The engine's and the file layer's messages reach the cashier in the error box: in Chinese,
// naming what failed.

#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DatabaseBackup.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "store/Query.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::TestDatabase;

namespace {

// The message of the engine error `work` raises; empty when it raised none.
std::string messageOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const store::EngineError& e) {
        return e.message().toStdString();
    }
    return {};
}

} // namespace

TEST(EngineMessages, StatementsThatCannotRunSayWhyInChinese) {
    TestDatabase t;
    const auto run = [&t](const char* sql) { return messageOf([&] { t.exec(QString::fromUtf8(sql)); }); };
    EXPECT_EQ(run("select * from 无此表"), "找不到表“无此表”");
    EXPECT_EQ(run("select 无此列 from 摘要"), "找不到字段“无此列”");
    EXPECT_EQ(run("selec * from 摘要"), "SQL 语句在“selec”附近有语法错误");
    EXPECT_EQ(run("select cdate('2005-2-30')"), "数据类型不匹配：“2005-2-30”不是日期");
    EXPECT_EQ(run("select ccur('12x')"), "数据类型不匹配：“12x”不是金额");
    EXPECT_EQ(run("select ccur('1,50')"), "数据类型不匹配：“1,50”不是金额");
    EXPECT_EQ(run("insert into 摘要 (代码) values (1); insert into 摘要 (代码) values (1)"),
              "字段“摘要.代码”的值重复");

    store::Query closed(&t.connection());
    EXPECT_EQ(messageOf([&] { closed.first(); }), "数据集已经关闭，不能进行这个操作");
}

TEST(EngineMessages, ConnectingToAMissingOrForeignFileSaysWhyInChinese) {
    SKIP_FOR_SERVER_BOOK("the messages of a file that cannot be opened");
    TestDatabase t;
    const auto connect = [](const QString& path) {
        return messageOf([&] {
            store::Connection c;
            c.setConnectionString(store::ConnectionString::forFile(path));
            c.open();
        });
    };
    const QString missing = t.folder() + QStringLiteral("/none.mdb");
    EXPECT_EQ(connect(missing), "找不到数据库文件“" + missing.toStdString() + "”");

    const QString garbage = t.folder() + QStringLiteral("/garbage.mdb");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_EQ(connect(garbage), "不是数据库文件");

    EXPECT_EQ(messageOf([&] { store::createDatabaseFile(t.path(), QStringLiteral("x")); }),
              "数据库文件“" + t.path().toStdString() + "”已经存在");
}

TEST(EngineMessages, FileFailuresOfABackupSayWhyInChinese) {
    TestDatabase t;
    const QString nowhere = t.folder() + QStringLiteral("/无此文件夹/备份.mdb");
    EXPECT_EQ(messageOf([&] { store::backupDatabase(t.db(), nowhere); }),
              "不能建立“" + nowhere.toStdString() + "”：文件或文件夹不存在");
}
