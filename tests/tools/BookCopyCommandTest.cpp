// tallomer-db copy: a demo book taken to a server book and back, and the
// commands that work on a server book by its connection string.

#include "ToolRun.h"

#include "support/FileContents.h"
#include "support/TestServer.h"

#include "store/AddedTables.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QDate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using toolrun::tool;
using toolrun::ToolRun;

namespace {

QStringList column(store::Database& db, const QString& sql) {
    QStringList values;
    store::Statement s(db, sql);
    while (s.step())
        values << s.value(0).toString();
    return values;
}

// Every row of every table with its rowid, and the engine's own rows.
QStringList everyRow(const QString& file) {
    store::Database db(file, store::Database::OpenMode::ReadOnly);
    QStringList tables = {QStringLiteral("_engine")};
    for (const store::TableDef& t : store::schemaTables() + store::addedTables())
        tables << t.name;
    QStringList rows;
    for (const QString& table : tables) {
        store::Statement s(db, QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(table));
        while (s.step()) {
            QStringList cells = {table};
            for (int c = 0; c < s.columnCount(); ++c)
                cells << (s.isNull(c) ? QStringLiteral("<null>") : s.value(c).toString());
            rows << cells.join(QLatin1Char('|'));
        }
    }
    rows << QStringLiteral("version %1").arg(db.schemaVersion());
    return rows;
}

} // namespace

TEST(CopyCommand, ADemoBookGoesToAServerAndBackWithEveryRowAndTheSameExports) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "needs the test server";
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    const QString back = dir.filePath(QStringLiteral("back.mdb"));
    ASSERT_EQ(tool({QStringLiteral("create"), book}).exitCode, 0);
    ToolRun run = tool({QStringLiteral("demo"), book, QStringLiteral("--entries"),
                        QStringLiteral("3000"), QStringLiteral("--years"), QStringLiteral("2"),
                        QStringLiteral("--banks"), QStringLiteral("2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    testing_support::ServerDatabase server;
    const QString target = server.connectionString();

    run = tool({QStringLiteral("copy"), book, target});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("现金日记帐\t")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("已逐行核对")));
    run = tool({QStringLiteral("check"), target});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = tool({QStringLiteral("copy"), target, back});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(everyRow(back).join(QLatin1Char('\n')).toStdString(),
              everyRow(book).join(QLatin1Char('\n')).toStdString());

    // Every month of both journals exports the same bytes from all three books.
    store::Database db(book, store::Database::OpenMode::ReadOnly);
    const QDate first =
        store::DateTime::fromSerial(
            column(db, QStringLiteral("SELECT min(日期) FROM 现金日记帐")).first().toDouble())
            .date();
    const QDate last =
        store::DateTime::fromSerial(
            column(db, QStringLiteral("SELECT max(日期) FROM 现金日记帐")).first().toDouble())
            .date();
    QList<QStringList> lists;
    for (QDate month(first.year(), first.month(), 1); month <= last; month = month.addMonths(1)) {
        const QString m = month.toString(QStringLiteral("yyyy-MM"));
        lists << QStringList{QStringLiteral("--list"), QStringLiteral("cash-month"),
                             QStringLiteral("--month"), m};
        for (const QString& bank : column(db, QStringLiteral("SELECT 项目 FROM 开户银行")))
            lists << QStringList{QStringLiteral("--list"),  QStringLiteral("bank-month"),
                                 QStringLiteral("--month"), m,
                                 QStringLiteral("--bank"),  bank};
    }
    ASSERT_GE(lists.size(), 3 * 24);
    for (const QStringList& list : lists) {
        QList<QByteArray> exported;
        for (const QString& from : {book, target, back}) {
            const QString out = dir.filePath(QStringLiteral("month.txt"));
            run = tool(QStringList{QStringLiteral("export"), from} + list +
                       QStringList{QStringLiteral("--format"), QStringLiteral("txt"),
                                   QStringLiteral("--out"), out});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
            exported << testing_support::contents(out);
        }
        EXPECT_EQ(exported[1], exported[0]) << list.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(exported[2], exported[0]) << list.join(QLatin1Char(' ')).toStdString();
    }

    // Neither a file that exists nor a database that holds a book is a target.
    run = tool({QStringLiteral("copy"), target, back});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("tallomer-db copy: 数据库文件“%1”已经存在\n").arg(back));
    run = tool({QStringLiteral("copy"), book, target});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("中已经有一本帐，不能复制到那里")))
        << run.err.toStdString();
    EXPECT_EQ(everyRow(back).join(QLatin1Char('\n')).toStdString(),
              everyRow(book).join(QLatin1Char('\n')).toStdString());
}
