// Whole books copied between a file and a server: every row with its rowid,
// the counters, the engine's own rows; refusals that leave the target as it
// was; a server book's backup, daily copy and restore through such copies.

#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "store/AddedTables.h"
#include "store/BookCopy.h"
#include "store/Connection.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/NewDatabase.h"
#include "store/SafetyCopies.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/ServerConnection.h"
#include "store/Statement.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using testing_support::TestDatabase;

namespace {

// Every row of every kept table as text, in rowid order, the rowid first.
QStringList dump(store::Database& db) {
    QStringList tables = {QStringLiteral("_engine")};
    for (const store::TableDef& t : store::schemaTables())
        tables << t.name;
    for (const store::TableDef& t : store::addedTables())
        tables << t.name;
    tables.removeAll(store::table::scratch);
    tables.removeAll(store::table::chart);
    QStringList rows;
    for (const QString& table : tables) {
        store::Statement s(
            db, QStringLiteral("SELECT rowid AS k, * FROM %1 ORDER BY rowid").arg(table));
        while (s.step()) {
            QStringList cells = {table};
            for (int c = 0; c < s.columnCount(); ++c)
                cells << (s.isNull(c) ? QStringLiteral("<null>") : s.value(c).toString());
            // The server's schema version is one of the engine's rows; a file keeps it in its
            // header.
            if (!cells.contains(QStringLiteral("schema version")))
                rows << cells.join(QLatin1Char('|'));
        }
    }
    return rows;
}

void fill(TestDatabase& book) {
    book.exec(QStringLiteral(
        "INSERT INTO 现金日记帐 (日期, 摘要, 属性, 借方, 贷方, 余额, 凭证号, 操作日期) VALUES "
        "(45000, '销售收入', '增加', 1234567, NULL, 1234567, 'A-1', 45000.5), "
        "(45001.25, '办公费', '减少', NULL, 99, 1234468, NULL, 45001.125), "
        "(45002, '差旅费', '减少', NULL, 1, 0, '', NULL)"));
    // A deleted last entry: its counter is never given again, in the copy either.
    book.exec(QStringLiteral("DELETE FROM 现金日记帐 WHERE 编号 = 3"));
    book.exec(QStringLiteral("INSERT INTO 银行日记帐 (日期, 摘要, 借方, 开户银行) VALUES "
                             "(45003, 'Ärger ümlaut', 5, '工商银行基本户')"));
    book.exec(QStringLiteral("INSERT INTO 银行对账单 (开户银行, 日期, 收入, 来源行) VALUES "
                             "('工商银行基本户', 45003, 5, 7)"));
    // Texts with what a transfer format escapes, and a time of day to the last digit.
    store::Statement odd(book.db(),
                         QStringLiteral("INSERT INTO 现金日记帐 (日期, 摘要, 明细, 备注) "
                                        "VALUES (?, ?, ?, ?)"));
    odd.bind(1, 45004.123456789012);
    odd.bindText(2, QStringLiteral("a\tb\nc\r\\N"));
    odd.bindText(3, QStringLiteral("\\"));
    odd.bindText(4, QString(""));
    odd.step();
    book.exec(QStringLiteral("DELETE FROM 开户银行"));
    book.exec(
        QStringLiteral("INSERT INTO 开户银行 (项目) VALUES ('农业银行'), ('工商银行基本户')"));
}

qint64 nextCashCounter(store::Database& db) {
    db.exec(QStringLiteral("INSERT INTO 现金日记帐 (日期, 摘要) VALUES (45010, '新的')"));
    store::Statement s(db, QStringLiteral("SELECT max(编号) FROM 现金日记帐"));
    s.step();
    return s.int64(0);
}

} // namespace

TEST(Counters, GoOnAfterRowsInsertedWithTheirOwnCounters) {
    TestDatabase book;
    store::Database& db = book.db();
    EXPECT_EQ(db.lastCounter(store::table::cashJournal), 0);
    book.exec(QStringLiteral("INSERT INTO 现金日记帐 (编号, 日期, 摘要) VALUES (200, 45000, 'x')"));
    db.setLastCounter(store::table::cashJournal, 200);
    EXPECT_EQ(db.lastCounter(store::table::cashJournal), 200);
    EXPECT_EQ(nextCashCounter(db), 201);
    EXPECT_EQ(db.lastCounter(store::table::cashJournal), 201);
}

TEST(BookCopy, CopiesEveryRowWithRowidsCountersAndPasswordToAFileAndAServer) {
    TestDatabase source;
    fill(source);
    const QStringList original = dump(source.db());
    const qint64 counter = source.db().lastCounter(store::table::cashJournal);

    const QString file = source.folder() + QStringLiteral("/copy.mdb");
    const store::BookCopyReport report = store::copyBook(source.db(), file);
    EXPECT_EQ(report.schemaVersion, store::kAddedTablesVersion);
    EXPECT_EQ(report.totalRows(), original.size());
    store::Database copy(file, store::Database::OpenMode::ExistingOnly);
    EXPECT_EQ(dump(copy), original);
    EXPECT_EQ(copy.schemaVersion(), store::kAddedTablesVersion);
    EXPECT_EQ(copy.lastCounter(store::table::cashJournal), counter);

    if (testing_support::testsOnServer()) {
        testing_support::ServerDatabase empty;
        store::copyBook(copy, empty.connectionString());
        store::Database back(std::make_unique<store::ServerConnection>(empty.connectionString()));
        EXPECT_EQ(dump(back), original);
        EXPECT_EQ(back.schemaVersion(), store::kAddedTablesVersion);
        EXPECT_EQ(nextCashCounter(back), counter + 1);
        back.exec(QStringLiteral("INSERT INTO 开户银行 (项目) VALUES ('新户')"));
        back.exec(QStringLiteral("INSERT INTO 银行对账单 (开户银行) VALUES ('新户')"));
    }
    EXPECT_EQ(nextCashCounter(copy), counter + 1);
}

TEST(BookCopy, ReadsTheSourceAsItWasWhenTheCopyBegan) {
    TestDatabase source;
    fill(source);
    const QStringList original = dump(source.db());
    // Another desk saves an entry while the copy runs.
    const auto desk = source.onServer()
                          ? store::openServerBook(source.path(), store::standardPassword())
                          : store::openDatabaseFile(source.path(), store::standardPassword());
    int saved = 0;
    const QString file = source.folder() + QStringLiteral("/copy.mdb");
    store::copyBook(source.db(), file, [&](qint64, qint64) {
        if (saved++ == 0)
            desk->exec(
                QStringLiteral("INSERT INTO 现金日记帐 (日期, 摘要) VALUES (45020, '另一台')"));
    });
    EXPECT_GT(saved, 0);
    store::Database copy(file, store::Database::OpenMode::ExistingOnly);
    EXPECT_EQ(dump(copy), original);
    EXPECT_EQ(dump(source.db()).size(), original.size() + 1);
}

TEST(BookCopy, RefusesATargetThatHoldsABookAndLeavesItAsItWas) {
    TestDatabase source;
    const QString file = source.folder() + QStringLiteral("/there.mdb");
    {
        store::Database other(file, store::Database::OpenMode::Create);
        other.exec(QStringLiteral("CREATE TABLE t (x)"));
    }
    const qint64 size = QFileInfo(file).size();
    try {
        store::copyBook(source.db(), file);
        FAIL() << "copied over a file";
    } catch (const store::EngineError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("数据库文件“%1”已经存在").arg(file));
    }
    EXPECT_EQ(QFileInfo(file).size(), size);

    if (testing_support::testsOnServer()) {
        TestDatabase target;
        target.exec(QStringLiteral("INSERT INTO 摘要 (摘要) VALUES ('留着')"));
        try {
            store::copyBook(source.db(), target.path());
            FAIL() << "copied into a book";
        } catch (const store::EngineError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("中已经有一本帐，不能复制到那里")));
        }
        EXPECT_EQ(target.scalar(QStringLiteral("SELECT count(*) FROM 摘要 WHERE 摘要 = '留着'")),
                  1);
    }
}

TEST(BookCopy, AFailurePartWayLeavesTheReplacedBookWithItsRows) {
    TestDatabase target;
    fill(target);
    const QStringList before = dump(target.db());
    TestDatabase broken;
    // A statement table of another shape: the copy fails after the nine tables went in.
    broken.exec(QStringLiteral("DROP TABLE 银行对账单"));
    broken.exec(QStringLiteral("CREATE TABLE 银行对账单 (编号 INTEGER)"));
    EXPECT_THROW(store::replaceBookRows(broken.db(), target.db()), store::EngineError);
    EXPECT_EQ(dump(target.db()), before);
    EXPECT_FALSE(target.db().inTransaction());
}

namespace {

/// Runs a test in a folder of its own, the data folder of a program's run.
class InFolder {
public:
    explicit InFolder(const QString& folder)
        : m_before(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~InFolder() { QDir::setCurrent(m_before); }

private:
    QString m_before;
};

QString databaseName(TestDatabase& book) {
    return book.scalar(QStringLiteral("SELECT current_database()")).toString();
}

} // namespace

TEST(ServerBackup, WritesAFileBookThatOpensWithTheSameRowsAndDailyCopiesNamedAfterTheDatabase) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "server books only";
    TestDatabase book;
    fill(book);
    const QString file = book.folder() + QStringLiteral("/备份.mdb");
    int reports = 0;
    store::backupDatabase(book.db(), file, [&](int copied, int total) {
        EXPECT_LE(copied, total);
        ++reports;
    });
    EXPECT_GT(reports, 0);
    const auto backup = store::openDatabaseFile(file, store::standardPassword());
    EXPECT_EQ(dump(*backup), dump(book.db()));
    EXPECT_TRUE(store::checkDatabaseFile(file, store::standardPassword()).isEmpty());

    const InFolder data(book.folder());
    store::SafetyCopies copies(book.path());
    const QString daily =
        QDir(book.folder())
            .filePath(QStringLiteral("backups/%1-2026-12-10.mdb").arg(databaseName(book)));
    EXPECT_EQ(copies.makeDailyCopy(book.db(), QDate(2026, 12, 10)).path, daily);
    EXPECT_EQ(dump(*store::openDatabaseFile(daily, store::standardPassword())), dump(book.db()));
    // Nothing is ever made under a name built from the connection string.
    const QStringList made = QDir(book.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_EQ(made.filter(QRegularExpression(QStringLiteral("^(backups|备份\\.mdb(-wal|-shm)?)$"))),
              made);
}

TEST(ServerRestore, ReplacesTheRowsAfterADatedCopyAndRefusesABadFileLeavingTheBook) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "server books only";
    TestDatabase book;
    fill(book);
    const QStringList before = dump(book.db());
    const InFolder data(book.folder());
    store::SafetyCopies copies(book.path());
    const auto keep = [&] {
        return copies.makeRestoreCopy(book.db(), QDateTime(QDate(2026, 12, 10), QTime(15, 30, 12)));
    };

    const QString bad = book.folder() + QStringLiteral("/bad.mdb");
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    try {
        store::restoreServerBook(bad, book.db(), store::standardPassword(), keep);
        FAIL() << "restored a file that is no book";
    } catch (const store::BackupError& e) {
        EXPECT_EQ(e.reason(), store::BackupError::Reason::Unusable);
    }
    EXPECT_EQ(dump(book.db()), before);
    EXPECT_TRUE(copies.allCopies().isEmpty());

    const QString good = book.folder() + QStringLiteral("/good.mdb");
    store::createDatabaseFile(good, store::standardPassword());
    {
        const auto file = store::openDatabaseFile(good, store::standardPassword());
        file->exec(QStringLiteral(
            "INSERT INTO 现金日记帐 (编号, 日期, 摘要) VALUES (70, 45100, '恢复的')"));
    }
    const QString kept = store::restoreServerBook(good, book.db(), store::standardPassword(), keep);
    EXPECT_EQ(kept, QDir(book.folder())
                        .filePath(QStringLiteral("backups/%1-restore-2026-12-10-153012.mdb")
                                      .arg(databaseName(book))));
    EXPECT_EQ(copies.allCopies(), QStringList{kept});
    EXPECT_EQ(dump(*store::openDatabaseFile(kept, store::standardPassword())), before);
    EXPECT_EQ(dump(book.db()), dump(*store::openDatabaseFile(good, store::standardPassword())));
    // The connection goes on with the restored rows and their counters.
    EXPECT_EQ(nextCashCounter(book.db()), 71);
    EXPECT_EQ(book.db().schemaVersion(), store::kAddedTablesVersion);
}
