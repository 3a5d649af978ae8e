// One program per book: the lock file beside the database.

#include "store/BookLock.h"
#include "support/LeftLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
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

TEST(BookLock, ABookReachedThroughASymbolicOrAHardLinkIsRefusedAsThroughItsName) {
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
    held.unlock();

    // A hard link has a lock file of its own name, but the book is one file.
    const QString hardLink = dir.filePath(QStringLiteral("other.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(book).constData(), QFile::encodeName(hardLink).constData()),
              0);
    ASSERT_EQ(held.tryLock(), BookLock::Result::Taken);

    BookLock viaHardLink(hardLink);
    EXPECT_EQ(viaHardLink.tryLock(), BookLock::Result::HeldElsewhere);
    EXPECT_FALSE(viaHardLink.isLocked());
    EXPECT_FALSE(QFileInfo::exists(viaHardLink.lockFile())); // its own name's lock is given back
    EXPECT_TRUE(held.isLocked());
    // Nor the other way round, and the book is free again once the holder ends.
    held.unlock();
    ASSERT_EQ(viaHardLink.tryLock(), BookLock::Result::Taken);
    EXPECT_EQ(BookLock(book).tryLock(), BookLock::Result::HeldElsewhere);
    viaHardLink.unlock();
    EXPECT_EQ(BookLock(book).tryLock(), BookLock::Result::Taken);
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
    ASSERT_NE(testing_support::leaveLockOfEndedProcess(lockFile), 0);
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

TEST(BookLock, ALockFileLeftByAnotherUserInASharedFolderNamesThatUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a second user";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
    // A folder all may write in, where nobody removes another's files.
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkdir(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const QString book = shared + QStringLiteral("/xjrjz.mdb");
    const qint64 dead = testing_support::leaveLockOfEndedProcess(BookLock::lockFileOf(book));
    ASSERT_NE(dead, 0);
    // The owner of the book, another user, starts after root's program died.
    const pid_t other = ::fork();
    if (other == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        BookLock lock(book);
        const BookLock::Result result = lock.tryLock();
        const std::optional<BookLock::Holder> holder = lock.holder();
        const bool told = holder && holder->user == QStringLiteral("root") && holder->pid == dead;
        ::_exit(int(result) + (told ? 10 : 0));
    }
    ASSERT_GT(other, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), int(BookLock::Result::LeftByAnotherUser) + 10);
}
