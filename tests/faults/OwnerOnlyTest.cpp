// The books are for their owner alone: the data folder, a new database with
// its journal files, backups, the working file and .bak of a restore, and the
// program's safety copies with their folder are made readable by their owner
// only, whatever the umask.

#include "app/DataFolder.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/NewDatabase.h"
#include "store/SafetyCopies.h"

#include <QDateTime>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

int modeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

/// Runs the test under the most permissive umask, so that only the program's
/// own choice of mode can keep others out.
class OwnerOnly : public ::testing::Test {
protected:
    OwnerOnly() : m_saved(::umask(0)) {}
    ~OwnerOnly() override { ::umask(m_saved); }

    QString file(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;

private:
    mode_t m_saved;
};

TEST_F(OwnerOnly, NewDatabaseAndItsJournalFiles) {
    const QString path = file("xjrjz.mdb");
    store::createDatabaseFile(path, store::standardPassword());
    EXPECT_EQ(modeOf(path), 0600);
    const auto db = store::openDatabaseFile(path, store::standardPassword());
    db->exec(QStringLiteral("insert into 开户银行 (项目) values ('x')"));
    EXPECT_EQ(modeOf(path + QStringLiteral("-wal")), 0600);
    EXPECT_EQ(modeOf(path + QStringLiteral("-shm")), 0600);
}

TEST_F(OwnerOnly, BackupsAndRestores) {
    const QString working = file("xjrjz.mdb");
    store::createDatabaseFile(working, store::standardPassword());
    const QString backup = file("backup.mdb");
    store::backupDatabaseFile(working, store::standardPassword(), backup);
    EXPECT_EQ(modeOf(backup), 0600);
    // A readable file chosen as the target is replaced by a private one.
    QFile::remove(backup);
    QFile open(backup);
    ASSERT_TRUE(open.open(QIODevice::WriteOnly));
    open.close();
    ::chmod(QFile::encodeName(backup).constData(), 0644);
    store::backupDatabaseFile(working, store::standardPassword(), backup);
    EXPECT_EQ(modeOf(backup), 0600);

    store::restoreDatabaseFile(backup, working, store::standardPassword());
    EXPECT_EQ(modeOf(working), 0600);
    EXPECT_EQ(modeOf(store::keptPreviousFile(working)), 0600);
    EXPECT_EQ(modeOf(backup), 0600); // only read
}

TEST_F(OwnerOnly, DataFolderMadeOnFirstStart) {
    const QString folder = file("home/.local/share/tallomer");
    EXPECT_EQ(app::prepareDataFolder(file("program"), folder), folder);
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(modeOf(folder + QStringLiteral("/xjrjz.mdb")), 0600);
    // Started again, the folder is used as it is.
    EXPECT_EQ(app::prepareDataFolder(file("program"), folder), folder);
    EXPECT_EQ(modeOf(folder), 0700);
}

TEST_F(OwnerOnly, SafetyCopiesAndTheirFolder) {
    const QString working = file("xjrjz.mdb");
    store::createDatabaseFile(working, store::standardPassword());
    const auto db = store::openDatabaseFile(working, store::standardPassword());
    store::SafetyCopies copies(working);
    const QString daily = copies.makeDailyCopy(*db, QDate(2026, 12, 9)).path;
    const QString initialisation = copies.makeInitialisationCopy(*db, QDateTime::currentDateTime());
    EXPECT_EQ(modeOf(copies.folder()), 0700);
    EXPECT_EQ(modeOf(daily), 0600);
    EXPECT_EQ(modeOf(initialisation), 0600);
}

} // namespace
