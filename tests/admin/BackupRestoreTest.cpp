// Backing the working database up and restoring it, through the two windows.

#include "support/FileContents.h"
#include "AdminFixture.h"
#include "support/TestServer.h"

#include "admin/AdminCommands.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/NewDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::child;
using testing_support::onNextModal;

using testing_support::contents;

namespace {

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

QStringList problemsOf(const QString& path) {
    return store::checkDatabaseFile(path, store::standardPassword());
}

/// How many cash entries of a database file carry `detail`.
int entriesIn(const QString& path, const QString& detail) {
    const auto db = store::openDatabaseFile(path, store::standardPassword());
    store::Statement s(*db, QStringLiteral("select count(*) from 现金日记帐 where 明细=?"));
    s.bindText(1, detail);
    s.step();
    return int(s.int64(0));
}

class BackupRestore : public AdminFixture {
protected:
    QTemporaryDir elsewhere;

    void addEntry(const QString& detail) {
        exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方, 明细) values "
                            "(cdate('2005-3-1'), '销售收入', '增加', 10000, '%1')")
                 .arg(detail));
    }

    QString outside(const char* name) const { return elsewhere.filePath(QLatin1String(name)); }

    /// Runs the backup command choosing `target`, then pressing the backup button.
    void backUpTo(const QString& target) {
        choosers.answerSave(target);
        onNextModal([](QDialog* window) {
            click(window, "SpeedButton3");
            click(window, "SpeedButton1");
            if (window->isVisible())
                click(window, "SpeedButton2");
        });
        admin::openBackup(&main);
    }

    /// Runs the restore command choosing `source`, pressing the restore button and
    /// answering `yes`.
    /// `whileClosed` runs after the choice, with the connection closed.
    void restoreFrom(const QString& source, bool yes,
                     const std::function<void(QDialog*)>& whileClosed = {}) {
        choosers.answerOpen(source);
        messages.answerNext(yes);
        onNextModal([whileClosed](QDialog* window) {
            click(window, "SpeedButton3");
            if (whileClosed)
                whileClosed(window);
            click(window, "SpeedButton1");
            if (window->isVisible())
                click(window, "SpeedButton2");
        });
        admin::openRestore(&main);
    }
};

TEST_F(BackupRestore, BackupWhileConnectedHoldsTheLatestCommittedEntry) {
    SKIP_FOR_SERVER_BOOK("the backup of a book file; ServerBookBackupRestore covers a server book");
    addEntry(QStringLiteral("最后一笔"));
    // Nothing committed waits in the WAL: even a copy of the file alone holds the entry.
    const QString plainCopy = outside("plain.mdb");
    QFile::copy(db.path(), plainCopy);
    EXPECT_EQ(entriesIn(plainCopy, QStringLiteral("最后一笔")), 1);

    const QString target = outside("备份.mdb");
    onNextModal([&](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("系统备份管理"));
        EXPECT_EQ(child<QAbstractButton>(window, "SpeedButton1")->text(), QStringLiteral("备份"));
        auto* field = child<QLineEdit>(window, "Edit1");
        EXPECT_TRUE(field->isReadOnly());
        click(window, "SpeedButton1");
        EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("请先选择文件!")}));
        click(window, "SpeedButton3"); // cancelled: nothing chosen
        EXPECT_TRUE(field->text().isEmpty());
        choosers.answerSave(target);
        click(window, "SpeedButton3");
        EXPECT_EQ(field->text(), target);
        click(window, "SpeedButton1");
        EXPECT_FALSE(window->isVisible());
    });
    admin::openBackup(&main);

    ASSERT_EQ(choosers.saveRequests().size(), 2);
    EXPECT_EQ(choosers.saveRequests()[0].title, QStringLiteral("备份数据库文件"));
    EXPECT_EQ(choosers.saveRequests()[0].defaultExtension, QStringLiteral("mdb"));
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("请先选择文件!"), QStringLiteral("备份完毕！")}));
    EXPECT_EQ(messages.records()[1].title, QStringLiteral("提示"));
    EXPECT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(modeOf(target), 0600);
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("-wal")));
    EXPECT_EQ(problemsOf(target), QStringList());
    EXPECT_EQ(entriesIn(target, QStringLiteral("最后一笔")), 1);

    // Backing up again replaces the earlier backup.
    addEntry(QStringLiteral("又一笔"));
    backUpTo(target);
    EXPECT_EQ(entriesIn(target, QStringLiteral("又一笔")), 1);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).size(),
              2); // no leftovers
}

TEST_F(BackupRestore, BackupProposesADatedNameInTheFolderLastUsedAwayFromTheBook) {
    SKIP_FOR_SERVER_BOOK("the backup of a book file; ServerBookBackupRestore covers a server book");
    const QString dated = QStringLiteral("xjrjz-%1.mdb")
                              .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    const QDir book = QFileInfo(db.path()).absoluteDir();
    // Made by a first backup: a folder that exists, away from the book's own files.
    QDir(book.filePath(QStringLiteral("backups"))).mkpath(QStringLiteral("."));
    backUpTo(outside("first.mdb"));
    // A choice cancelled leaves the folder last used as it was.
    for (int i = 0; i < 2; ++i) {
        choosers.answerSave(ui::SaveFileAnswer{false, {}, 1});
        onNextModal([](QDialog* window) {
            click(window, "SpeedButton3");
            click(window, "SpeedButton2");
        });
        admin::openBackup(&main);
    }
    ASSERT_EQ(choosers.saveRequests().size(), 3);
    const QFileInfo first(choosers.saveRequests()[0].fileName);
    EXPECT_EQ(first.fileName(), dated);
    EXPECT_TRUE(first.absoluteDir().exists()) << first.absolutePath().toStdString();
    EXPECT_NE(first.absoluteDir(), book);
    EXPECT_NE(first.absoluteDir(), QDir(book.filePath(QStringLiteral("backups"))));
    EXPECT_EQ(choosers.saveRequests()[1].fileName, elsewhere.filePath(dated));
    EXPECT_EQ(choosers.saveRequests()[2].fileName, elsewhere.filePath(dated));
}

TEST_F(BackupRestore, BackupOntoTheWorkingFileIsRefused) {
    SKIP_FOR_SERVER_BOOK("the backup of a book file; ServerBookBackupRestore covers a server book");
    addEntry(QStringLiteral("在WAL中"));
    const QByteArray before = contents(db.path());
    // The journal files belong to the database whether they exist at the moment or not.
    for (const QString& target : {db.path(), db.path() + QStringLiteral("-wal"),
                                  db.path() + QStringLiteral("-journal")}) {
        messages.clear();
        backUpTo(target);
        EXPECT_EQ(
            messages.texts(),
            QStringList({QStringLiteral("不能把数据库备份到它自己的文件上，请另选一个文件!")}));
    }
    EXPECT_EQ(contents(db.path()), before);
    EXPECT_EQ(
        stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='在WAL中'")).toInt(), 1);
}

TEST_F(BackupRestore, AFailedBackupLeavesTheExistingTargetUntouched) {
    SKIP_FOR_SERVER_BOOK("the backup of a book file; ServerBookBackupRestore covers a server book");
    const QString target = outside("old.mdb");
    store::createDatabaseFile(target, store::standardPassword());
    const QByteArray old = contents(target);
    auto expectFailureKeepingTarget = [&] {
        ASSERT_EQ(messages.records().size(), 1);
        EXPECT_TRUE(
            messages.texts()[0].startsWith(QStringLiteral("备份没有完成，原有的文件没有改变。\n")))
            << messages.texts()[0].toStdString();
        EXPECT_EQ(contents(target), old);
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({QStringLiteral("old.mdb")}));
        messages.clear();
    };

    // A folder that cannot be written (permissions do not stop the superuser).
    if (::geteuid() != 0) {
        QFile::setPermissions(elsewhere.path(), QFile::ReadOwner | QFile::ExeOwner);
        backUpTo(target);
        QFile::setPermissions(elsewhere.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        expectFailureKeepingTarget();
    }

    // No room left for the copy.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    backUpTo(target);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    expectFailureKeepingTarget();
    EXPECT_EQ(problemsOf(target), QStringList());
}

class Restore : public BackupRestore {
protected:
    QString backup;

    void SetUp() override {
        SKIP_FOR_SERVER_BOOK("the restore of a book file; ServerBookBackupRestore covers a server book");
        BackupRestore::SetUp();
        addEntry(QStringLiteral("备份前"));
        backup = outside("backup.mdb");
        store::backupDatabase(dm->ADO_xjrjz.database(), backup);
        addEntry(QStringLiteral("备份后"));
        // The program's connection is the only one on the working file.
        db.connection().close();
    }
};

TEST_F(Restore, AnsweredNoOrWithoutAFileNothingHappens) {
    QByteArray before;
    restoreFrom(backup, false, [&](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("系统恢复管理"));
        EXPECT_EQ(child<QAbstractButton>(window, "SpeedButton1")->text(), QStringLiteral("恢复"));
        EXPECT_EQ(child<QLineEdit>(window, "Edit1")->text(), backup);
        EXPECT_FALSE(dm->ADO_xjrjz.isConnected());
        before = contents(db.path());
    });
    ASSERT_EQ(choosers.openRequests().size(), 1);
    EXPECT_EQ(choosers.openRequests()[0].title, QStringLiteral("恢复数据库文件"));
    EXPECT_EQ(choosers.openRequests()[0].defaultExtension, QStringLiteral("mdb"));
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].text, QStringLiteral("确实要恢复数据库吗? "));
    EXPECT_TRUE(messages.records()[0].question);
    EXPECT_EQ(contents(db.path()), before);
    EXPECT_FALSE(QFileInfo::exists(store::keptPreviousFile(db.path())));
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              1);

    messages.clear();
    restoreFrom(QString(), true);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("请先选择文件!")}));
}

TEST_F(Restore, AFileThatIsNoSoundDatabaseIsRefused) {
    const QString garbage = outside("garbage.mdb");
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'x'));
    }
    const QString otherPassword = outside("other.mdb");
    store::createDatabaseFile(otherPassword, QStringLiteral("secret"));
    const QString missingTable = outside("missing.mdb");
    store::createDatabaseFile(missingTable, store::standardPassword());
    store::openDatabaseFile(missingTable, store::standardPassword())
        ->exec(QStringLiteral("drop table 摘要"));
    const QString foreign = outside("foreign.mdb");
    store::Database(foreign, store::Database::OpenMode::Create)
        .exec(QStringLiteral("create table t (x)"));

    for (const QString& source : {garbage, otherPassword, missingTable, foreign}) {
        messages.clear();
        QByteArray before;
        restoreFrom(source, true, [&](QDialog*) { before = contents(db.path()); });
        ASSERT_EQ(messages.records().size(), 2) << source.toStdString();
        const ui::MessageRecord& refusal = messages.records()[1];
        EXPECT_EQ(refusal.title, QStringLiteral("提示"));
        EXPECT_TRUE(refusal.text.startsWith(QStringLiteral(
            "所选文件不是本系统的数据库文件，或者已经损坏，不能用它恢复！当前数据库没有改变。\n")))
            << refusal.text.toStdString();
        // Named as the file the user chose, never as the copy being checked.
        EXPECT_FALSE(refusal.text.contains(QStringLiteral(".tmp"))) << refusal.text.toStdString();
        if (source == foreign) {
            EXPECT_TRUE(refusal.text.contains(QDir::toNativeSeparators(foreign)))
                << refusal.text.toStdString();
        }
        if (source == missingTable) {
            EXPECT_TRUE(refusal.text.contains(QStringLiteral("摘要")));
        }
        EXPECT_EQ(contents(db.path()), before);
        EXPECT_FALSE(QFileInfo::exists(store::keptPreviousFile(db.path())));
        EXPECT_EQ(
            QDir(db.folder()).entryList({QStringLiteral(".*.tmp*")}, QDir::Files | QDir::Hidden),
            QStringList());
    }
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              1);

    messages.clear();
    restoreFrom(db.path(), true);
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("确实要恢复数据库吗? "),
                           QStringLiteral("所选文件就是正在使用的数据库文件，不能用它恢复!")}));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              1);
}

TEST_F(Restore, AGoodFileBecomesTheWorkingDatabaseAndThePreviousIsKept) {
    const QByteArray chosen = contents(backup);
    restoreFrom(backup, true);
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("确实要恢复数据库吗? "), QStringLiteral("恢复完毕！")}));
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份前'")).toInt(),
              1);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              0);
    EXPECT_EQ(contents(backup), chosen); // the chosen file is only read

    const QString kept = store::keptPreviousFile(db.path());
    EXPECT_EQ(modeOf(kept), 0600);
    EXPECT_EQ(modeOf(db.path()), 0600);
    EXPECT_EQ(entriesIn(kept, QStringLiteral("备份后")), 1);

    // A second restore replaces the kept file with the one it replaces now.
    const QString other = outside("other.mdb");
    store::createDatabaseFile(other, store::standardPassword());
    messages.clear();
    restoreFrom(other, true);
    EXPECT_EQ(messages.texts().value(1), QStringLiteral("恢复完毕！"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐")).toInt(), 0);
    EXPECT_EQ(entriesIn(kept, QStringLiteral("备份前")), 1);
    EXPECT_EQ(entriesIn(kept, QStringLiteral("备份后")), 0);
}

TEST_F(Restore, AWalLeftWithoutItsDatabaseIsNeverApplied) {
    // The working file was removed by hand; a WAL of another database is left.
    dm->ADO_xjrjz.close();
    const QString other = outside("busy.mdb");
    store::createDatabaseFile(other, store::standardPassword());
    {
        const auto busy = store::openDatabaseFile(other, store::standardPassword());
        busy->exec(QStringLiteral("pragma wal_autocheckpoint=0"));
        busy->exec(QStringLiteral("delete from 权限表; delete from 摘要"));
        QFile::copy(other + QStringLiteral("-wal"), db.path() + QStringLiteral("-wal"));
    }
    QFile::remove(db.path());
    ASSERT_GT(QFileInfo(db.path() + QStringLiteral("-wal")).size(), 0);

    store::restoreDatabaseFile(backup, db.path(), store::standardPassword());
    EXPECT_FALSE(QFileInfo::exists(db.path() + QStringLiteral("-wal")));
    EXPECT_FALSE(QFileInfo::exists(store::keptPreviousFile(db.path())));
    EXPECT_EQ(problemsOf(db.path()), QStringList());
    EXPECT_EQ(entriesIn(db.path(), QStringLiteral("备份前")), 1);
    const auto restored = store::openDatabaseFile(db.path(), store::standardPassword());
    store::Statement operators(*restored, QStringLiteral("select count(*) from 权限表"));
    operators.step();
    EXPECT_EQ(operators.int64(0), 1);
}

TEST_F(Restore, AWorkingFileTooDamagedToOpenIsKeptAsItLay) {
    dm->ADO_xjrjz.close();
    QByteArray damaged = contents(db.path());
    damaged.replace(0, 16, QByteArray(16, 'x'));
    {
        QFile working(db.path());
        ASSERT_TRUE(working.open(QIODevice::WriteOnly));
        working.write(damaged);
    }
    restoreFrom(backup, true);
    EXPECT_EQ(messages.texts().value(1), QStringLiteral("恢复完毕！"));
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份前'")).toInt(),
              1);
    EXPECT_EQ(contents(store::keptPreviousFile(db.path())), damaged);
}

TEST_F(Restore, AWorkingFileInUseElsewhereIsNotReplaced) {
    dm->ADO_xjrjz.close();
    const QString kept = store::keptPreviousFile(db.path());
    store::backupDatabaseFile(backup, store::standardPassword(), kept); // an earlier restore's
    const QByteArray keptBefore = contents(kept);
    db.reopen(); // another program's connection
    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('在用', '增加')"));
    try {
        store::restoreDatabaseFile(backup, db.path(), store::standardPassword());
        FAIL() << "the restore went ahead";
    } catch (const store::BackupError& e) {
        EXPECT_EQ(e.reason(), store::BackupError::Reason::Failed);
        EXPECT_TRUE(e.message().contains(QStringLiteral("正在被另一个程序使用"))) << e.message().toStdString();
    }
    // The refusal came before the working file was kept: the earlier kept file is as it was.
    EXPECT_EQ(contents(kept), keptBefore);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
        1);
    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('之后', '增加')"));
    db.connection().close();
    EXPECT_EQ(problemsOf(db.path()), QStringList());
}

TEST_F(Restore, AFailureAfterTheReplacingRenameIsNotReportedAsNothingChanged) {
    store::failReplacingSyncForTesting(db.path());
    restoreFrom(backup, true);
    store::failReplacingSyncForTesting(QString());
    ASSERT_EQ(messages.records().size(), 2);
    EXPECT_TRUE(messages.texts()[1].startsWith(QStringLiteral(
        "恢复可能已经完成，但没能确认已写入磁盘，原来的数据库已保存为xjrjz.mdb.bak！\n")))
        << messages.texts()[1].toStdString();
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份前'")).toInt(),
              1);
    EXPECT_EQ(entriesIn(store::keptPreviousFile(db.path()), QStringLiteral("备份后")), 1);

    messages.clear();
    const QString target = outside("备份.mdb");
    store::failReplacingSyncForTesting(target);
    backUpTo(target);
    store::failReplacingSyncForTesting(QString());
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(
        QStringLiteral("备份可能已经完成，但没能确认已写入磁盘，请再备份一次！\n")))
        << messages.texts()[0].toStdString();
}

/// A file of `bytes` bytes.
void makeFile(const QString& path, int bytes = 4096) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

TEST(StaleTemporaries, OnlyThoseOfKilledCopiesGoAndNothingElse) {
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("xjrjz.mdb"));
    store::createDatabaseFile(book, store::standardPassword());
    const QByteArray bookBytes = contents(book);
    const auto at = [&](const char* name) { return folder.filePath(QString::fromUtf8(name)); };
    const QStringList stale = {".xjrjz.mdb.0123abcd.tmp", ".xjrjz.mdb.0123abcd.tmp-wal",
                               ".xjrjz.mdb.0123abcd.tmp-shm", ".xjrjz.mdb.bak.89abcdef.tmp",
                               ".xjrjz.mdb.bak.89abcdef.tmp-journal",
                               ".xjrjz.mdb.00000000.tmp-journal"}; // its file already gone
    const QStringList others = {".xjrjz.mdb.fedcba98.tmp", ".xjrjz.mdb.fedcba98.tmp-wal", // in use
                                ".xjrjz.mdb.0123abcd.tmp.keep", ".xjrjz.mdb.0123abc.tmp",
                                ".xjrjz.mdb.0123ABCD.tmp", "xjrjz.mdb.0123abcd.tmp",
                                ".other.mdb.0123abcd.tmp", ".xjrjz.mdb.0123abcd.tmp-other",
                                "xjrjz.mdb.bak"};
    for (const QStringList& names : {stale, others}) {
        for (const QString& name : names)
            makeFile(folder.filePath(name));
    }
    // A backup still running in another process holds its temporary locked.
    const int running = ::open(QFile::encodeName(at(".xjrjz.mdb.fedcba98.tmp")).constData(), O_RDONLY);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);

    store::removeStaleTemporaries(book);
    store::removeStaleTemporaries(store::keptPreviousFile(book));
    QStringList expected = others;
    expected << QStringLiteral("xjrjz.mdb");
    expected.sort();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    EXPECT_EQ(contents(book), bookBytes);

    // Once that backup has ended (or was killed), its temporary is stale too.
    ::close(running);
    store::removeStaleTemporaries(book);
    EXPECT_FALSE(QFileInfo::exists(at(".xjrjz.mdb.fedcba98.tmp")));
    EXPECT_FALSE(QFileInfo::exists(at(".xjrjz.mdb.fedcba98.tmp-wal")));
}

// A server book: its backup is a file book, its restore replaces its rows
// after a dated copy in the data folder, the current folder of the run.
class ServerBookBackupRestore : public BackupRestore {
protected:
    void SetUp() override {
        if (!testing_support::testsOnServer())
            GTEST_SKIP() << "server books only";
        BackupRestore::SetUp();
        leaveTheProgramTheOnlyDesk();
        m_before = QDir::currentPath();
        QDir::setCurrent(dataFolder.path());
    }
    void TearDown() override {
        if (!m_before.isEmpty())
            QDir::setCurrent(m_before);
        BackupRestore::TearDown();
    }
    QStringList inDataFolder() const {
        return QDir(dataFolder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    QString databaseName() {
        return stored(QStringLiteral("select current_database()")).toString();
    }

    QTemporaryDir dataFolder;

private:
    QString m_before;
};

TEST_F(ServerBookBackupRestore, TheBackupIsAFileBookWithTheLatestEntry) {
    addEntry(QStringLiteral("最后一笔"));
    const QString target = outside("备份.mdb");
    backUpTo(target);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("备份完毕！")}));
    // Proposed under the name of the server's database and the day.
    ASSERT_EQ(choosers.saveRequests().size(), 1);
    EXPECT_EQ(
        QFileInfo(choosers.saveRequests()[0].fileName).fileName(),
        QStringLiteral("%1-%2.mdb")
            .arg(databaseName(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_EQ(modeOf(target), 0600);
    EXPECT_EQ(problemsOf(target), QStringList());
    EXPECT_EQ(entriesIn(target, QStringLiteral("最后一笔")), 1);
    EXPECT_TRUE(inDataFolder().isEmpty());
}

TEST_F(ServerBookBackupRestore, ARestoreReplacesTheRowsAfterADatedCopyAndABadFileChangesNothing) {
    addEntry(QStringLiteral("备份前"));
    const QString backup = outside("backup.mdb");
    store::backupDatabase(dm->ADO_xjrjz.database(), backup);
    addEntry(QStringLiteral("备份后"));

    const QString garbage = outside("garbage.mdb");
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64 * 1024, 'x'));
    }
    restoreFrom(garbage, true);
    ASSERT_EQ(messages.records().size(), 2);
    EXPECT_TRUE(messages.records()[1].text.startsWith(QStringLiteral(
        "所选文件不是本系统的数据库文件，或者已经损坏，不能用它恢复！当前数据库没有改变。\n")));
    EXPECT_TRUE(inDataFolder().isEmpty());
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              1);

    messages.clear();
    const QDateTime started = QDateTime::currentDateTime();
    restoreFrom(backup, true);
    ASSERT_EQ(messages.records().size(), 2);
    const QString copies = QDir(dataFolder.path()).filePath(QStringLiteral("backups"));
    const QStringList made = QDir(copies).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 1);
    const QString kept = QDir(copies).filePath(made.first());
    EXPECT_EQ(
        messages.records()[1].text,
        QStringLiteral("恢复完毕！原来的数据库已复制到%1。").arg(QDir::toNativeSeparators(kept)));
    EXPECT_TRUE(made.first().startsWith(
        QStringLiteral("%1-restore-%2")
            .arg(databaseName(), started.toString(QStringLiteral("yyyy-MM-dd")))))
        << made.first().toStdString();
    EXPECT_EQ(entriesIn(kept, QStringLiteral("备份后")), 1);
    EXPECT_EQ(inDataFolder(), QStringList({QStringLiteral("backups")}));
    // The program's connection works on the restored rows.
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份后'")).toInt(),
              0);
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐 where 明细='备份前'")).toInt(),
              1);
    addEntry(QStringLiteral("恢复后"));
    EXPECT_EQ(stored(QStringLiteral("select count(*) from 现金日记帐")).toInt(), 2);
}

} // namespace
