// One program per book: the lock file beside the database.

#include "store/BookLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using store::BookLock;

TEST(BookLock, OneHolderAtATimeAndTheLockFileSaysWho) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    BookLock first(book);
    EXPECT_EQ(first.lockFile(), book + QStringLiteral(".LCK"));
    EXPECT_FALSE(QFileInfo::exists(first.lockFile())); // nothing until it is taken
    ASSERT_EQ(first.tryLock(), BookLock::Result::Taken);
    EXPECT_TRUE(first.isLocked());
    EXPECT_EQ(first.tryLock(), BookLock::Result::Taken); // taking it again is no harm

    BookLock second(book);
    EXPECT_EQ(second.tryLock(), BookLock::Result::HeldElsewhere);
    EXPECT_FALSE(second.isLocked());
    const std::optional<BookLock::Holder> holder = second.holder();
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, QCoreApplication::applicationPid());
    EXPECT_EQ(holder->host, QSysInfo::machineHostName());
    EXPECT_TRUE(first.isLocked()); // a refused second one leaves the first's alone

    first.unlock();
    EXPECT_FALSE(QFileInfo::exists(first.lockFile()));
    EXPECT_EQ(second.tryLock(), BookLock::Result::Taken);
}

TEST(BookLock, ABookReachedThroughALinkHasTheLockOfItsFile) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    const QString link = dir.filePath(QStringLiteral("link.mdb"));
    {
        QFile file(book);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(book, link));
    BookLock held(book);
    ASSERT_EQ(held.tryLock(), BookLock::Result::Taken);
    BookLock viaLink(link);
    EXPECT_EQ(viaLink.lockFile(), held.lockFile());
    EXPECT_EQ(viaLink.tryLock(), BookLock::Result::HeldElsewhere);
}

TEST(BookLock, NoFolderForTheLockFileIsAFailureNotAHolder) {
    QTemporaryDir dir;
    BookLock lock(dir.filePath(QStringLiteral("none/xjrjz.mdb")));
    EXPECT_EQ(lock.tryLock(), BookLock::Result::Failed);
    EXPECT_FALSE(lock.holder());
}

TEST(BookLock, AnEmptyLockFileLeftByAProcessKilledWhileMakingItIsTakenOver) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    const QByteArray lockFile = QFile::encodeName(BookLock::lockFileOf(book));
    const int fd = ::open(lockFile.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);

    // While its maker holds it, even an empty lock file is a lock.
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(BookLock(book).tryLock(), BookLock::Result::HeldElsewhere);

    // The maker died before it wrote who it is.
    ::close(fd);
    BookLock lock(book);
    EXPECT_EQ(lock.tryLock(), BookLock::Result::Taken);
    ASSERT_TRUE(lock.holder());
    EXPECT_EQ(lock.holder()->pid, QCoreApplication::applicationPid());
}

TEST(BookLock, ADeadHoldersLockIsTakenOverEvenWithAHalfMadeRemovalLockBesideIt) {
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    const QString lockFile = BookLock::lockFileOf(book);
    // A process that has ended, and the lock file it would have left.
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ASSERT_GT(dead, 0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    {
        QFile file(lockFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("%1\ntallomer-db\n%2\n")
                       .arg(dead)
                       .arg(QSysInfo::machineHostName())
                       .toUtf8());
    }
    // A second process killed while it was removing that lock leaves an
    // empty helper file, which keeps Qt from removing the lock for a while.
    {
        QFile rmlock(lockFile + QStringLiteral(".rmlock"));
        ASSERT_TRUE(rmlock.open(QIODevice::WriteOnly));
    }
    BookLock lock(book);
    EXPECT_EQ(lock.tryLock(), BookLock::Result::Taken);
    ASSERT_TRUE(lock.holder());
    EXPECT_EQ(lock.holder()->pid, QCoreApplication::applicationPid());
}
