// One program per book, and the day's safety copy the program leaves when it
// closes.

#include "ShellFixture.h"

#include "app/BookLockAtStart.h"
#include "app/DailyCopyAtClose.h"
#include "store/BookLock.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/NewDatabase.h"
#include "store/SafetyCopies.h"
#include "store/Statement.h"
#include "support/LeftLock.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::child;

namespace {

int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

qint64 countIn(const QString& path, const QString& sql) {
    const auto db = store::openDatabaseFile(path, store::standardPassword());
    store::Statement s(*db, sql);
    s.step();
    return s.int64(0);
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class BookLockAndCopies : public ShellFixture {
protected:
    store::SafetyCopies copies{db.path()};
    const QString kSummaries = QStringLiteral("select count(*) from 摘要");

    void SetUp() override { SKIP_FOR_SERVER_BOOK("the lock and the copies of a book file"); }

    /// The main window's exit button, as the user ends the run.
    void quit() {
        child<QToolButton>(main.get(), "SpeedButton7")->click();
        ASSERT_FALSE(main->isVisible());
    }
};

TEST_F(BookLockAndCopies, ASecondStartOnAnOpenBookIsToldSoAndEndsWhileTheFirstGoesOn) {
    std::unique_ptr<store::BookLock> first = app::lockBookForRun(db.path());
    ASSERT_TRUE(first);
    start(loginWith(""));
    ASSERT_TRUE(main->activated());
    EXPECT_TRUE(messages.records().isEmpty());

    EXPECT_FALSE(app::lockBookForRun(db.path()));
    ASSERT_EQ(messages.records().size(), 1);
    const ui::MessageRecord& box = messages.records()[0];
    EXPECT_EQ(box.title, QStringLiteral("提示"));
    EXPECT_EQ(box.icon, ui::MessageIcon::Warning);
    EXPECT_FALSE(box.question);
    EXPECT_EQ(box.text, QStringLiteral("数据库文件“%1”已经在另一个程序窗口中打开，请在那个窗口中继续工作！")
                            .arg(QDir::toNativeSeparators(db.path())));

    // The first run still has its book and its lock.
    EXPECT_TRUE(first->isLocked());
    EXPECT_TRUE(main->isVisible());
    ui::Dm1->ADO_xjrjz.database().exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('第一个', '增加')"));
    EXPECT_EQ(store::BookLock(db.path()).tryLock(), store::BookLock::Result::HeldElsewhere);
    quit();

    // Once the first run has ended the book opens again.
    messages.clear();
    first.reset();
    EXPECT_TRUE(app::lockBookForRun(db.path()));
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(BookLockAndCopies, AStartThroughAHardLinkOrALockLeftByAnotherUserIsToldWhyAndEnds) {
    std::unique_ptr<store::BookLock> first = app::lockBookForRun(db.path());
    ASSERT_TRUE(first);
    const QString link = QFileInfo(db.path()).dir().filePath(QStringLiteral("other.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(db.path()).constData(), QFile::encodeName(link).constData()), 0);
    EXPECT_FALSE(app::lockBookForRun(link));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("数据库文件“%1”已经在另一个程序窗口中打开，请在那个窗口中继续工作！")
                              .arg(QDir::toNativeSeparators(link))});
    EXPECT_TRUE(first->isLocked());
    first.reset();
    QFile::remove(link);

    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a second user";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path() + QStringLiteral("/.")).constData(), 01777), 0);
    const QString book = dir.filePath(QStringLiteral("xjrjz.mdb"));
    const QString lockFile = store::BookLock::lockFileOf(book);
    ASSERT_NE(testing_support::leaveLockOfEndedProcess(lockFile), 0);
    const QString expected = QStringLiteral("数据库文件“%1”的锁文件“%2”是用户 root 的程序留下的，"
                                            "那个程序已经结束，请用户 root 或系统管理员删除这个锁文件！")
                                 .arg(QDir::toNativeSeparators(book), QDir::toNativeSeparators(lockFile));
    messages.clear();
    const pid_t owner = ::fork(); // the book's owner, another user, starts the program
    if (owner == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        const bool refused = !app::lockBookForRun(book);
        ::_exit(refused && messages.texts() == QStringList{expected} ? 0 : 1);
    }
    ASSERT_GT(owner, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(owner, &status, 0), owner);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(BookLockAndCopies, ClosingAfterALoginLeavesTheDaysCopyOnceADay) {
    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('关闭前', '增加')"));
    const qint64 summaries = db.scalar(kSummaries).toLongLong();
    start(loginWith(""));
    quit();
    EXPECT_TRUE(messages.records().isEmpty());
    const QString copy = copies.dailyCopy(QDate::currentDate());
    EXPECT_EQ(copies.dailyCopies(), QStringList({copy}));
    EXPECT_EQ(modeOf(copies.folder()), 0700);
    EXPECT_EQ(modeOf(copy), 0600);
    EXPECT_EQ(store::checkDatabaseFile(copy, store::standardPassword()), QStringList());
    EXPECT_EQ(countIn(copy, kSummaries), summaries);

    // A second run the same day leaves the day's copy as it was.
    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('第二次', '增加')"));
    start(loginWith(""));
    quit();
    EXPECT_TRUE(messages.records().isEmpty());
    EXPECT_EQ(countIn(copy, kSummaries), summaries);
    EXPECT_EQ(copies.dailyCopies(), QStringList({copy}));
}

TEST_F(BookLockAndCopies, TheNewestTenCopiesAreKeptAndTheUsersOwnFilesStay) {
    ASSERT_TRUE(QDir().mkdir(copies.folder()));
    const QDate today = QDate::currentDate();
    for (int back = 1; back <= 12; ++back)
        touch(copies.dailyCopy(today.addDays(-back)));
    // Files of the user's and copies of other kinds are none of the daily ones.
    const QStringList others = {QStringLiteral("月底备份.mdb"), QStringLiteral("xjrjz-init-2020-01-01-101500.mdb"),
                                QStringLiteral("xjrjz-2020-01-01.mdb.bak"), QStringLiteral("other-2020-01-01.mdb"),
                                QStringLiteral("xjrjz-2020-13-01.mdb")};
    for (const QString& name : others)
        touch(QDir(copies.folder()).filePath(name));
    start(loginWith(""));
    quit();
    QStringList expected = {copies.dailyCopy(today)};
    for (int back = 1; back <= 9; ++back)
        expected << copies.dailyCopy(today.addDays(-back));
    EXPECT_EQ(copies.dailyCopies(), expected);
    for (const QString& name : others)
        EXPECT_TRUE(QFileInfo::exists(QDir(copies.folder()).filePath(name))) << name.toStdString();
}

TEST_F(BookLockAndCopies, NoCopyWithoutALoginAndAFailedCopyIsToldOnceAndClosingGoesOn) {
    // The first login ended with 终止: no one logged in, no copy.
    start([](QDialog* login) { child<QAbstractButton>(login, "bitbtn_cancel")->click(); });
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(QFileInfo::exists(copies.folder()));

    // A file where the copies' folder belongs.
    touch(copies.folder());
    messages.clear();
    start(loginWith(""));
    quit();
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_TRUE(messages.texts()[0].startsWith(
        QStringLiteral("今天的数据库安全备份没有完成，数据库本身没有改变。\n")))
        << messages.texts()[0].toStdString();
    EXPECT_FALSE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(store::checkDatabaseFile(db.path(), store::standardPassword()), QStringList());
}

TEST_F(BookLockAndCopies, OnANearlyFullDiskTheNoticeComesAloneAndClosingEnds) {
    const qint64 free = 4096;
    app::dailyCopyFreeSpace = [free](const QString&) { return free; };
    bool progressWhileUp = true;
    messages.whileNextIsUp([&progressWhileUp] {
        // Longer than the progress dialog waits before it shows.
        QTest::qWait(800);
        progressWhileUp = false;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("CopyProgress") && window->isVisible())
                progressWhileUp = true;
    });
    start(loginWith(""));
    quit();
    app::dailyCopyFreeSpace = {};

    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Warning);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("磁盘剩余空间不足（需要")))
        << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].endsWith(
        QStringLiteral("，只有0.0 MB），今天没有做数据库的安全备份！")))
        << messages.texts()[0].toStdString();
    EXPECT_FALSE(progressWhileUp);
    // The close went on to its end: the book is closed, no copy was made and no
    // progress dialog is left behind.
    EXPECT_FALSE(dm->ADO_xjrjz.isConnected());
    EXPECT_TRUE(copies.dailyCopies().isEmpty());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->objectName() == QStringLiteral("CopyProgress") && window->isVisible());
    EXPECT_EQ(store::checkDatabaseFile(db.path(), store::standardPassword()), QStringList());
}

} // namespace
