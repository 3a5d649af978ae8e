// The dated copies the program keeps of a book in backups/ beside it.

#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/NewDatabase.h"
#include "store/SafetyCopies.h"
#include "store/Statement.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using store::SafetyCopies;

namespace {

qint64 summariesIn(const QString& path) {
    const auto db = store::openDatabaseFile(path, store::standardPassword());
    store::Statement s(*db, QStringLiteral("select count(*) from 摘要"));
    s.step();
    return s.int64(0);
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
}

class SafetyCopiesTest : public ::testing::Test {
protected:
    testing_support::TestDatabase db;
    SafetyCopies copies{db.path()};
    const QDate today{2026, 12, 9};

    QString inFolder(const char* name) const { return QDir(copies.folder()).filePath(QLatin1String(name)); }
    QStringList names() const {
        return QDir(copies.folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(SafetyCopiesTest, TheDaysCopyIsReportedAsItGoesAndEachDayHasItsOwn) {
    SKIP_FOR_SERVER_BOOK("copies of the file beside it");
    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('今天的', '增加')"));
    const qint64 summaries = db.scalar(QStringLiteral("select count(*) from 摘要")).toLongLong();
    int last = 0;
    int total = 0;
    const SafetyCopies::DailyResult made = copies.makeDailyCopy(db.db(), today, [&](int copied, int all) {
        EXPECT_GE(copied, last);
        last = copied;
        total = all;
    });
    ASSERT_EQ(made.outcome, SafetyCopies::Outcome::Made);
    EXPECT_EQ(made.path, QDir(db.folder()).filePath(QStringLiteral("backups/xjrjz-2026-12-09.mdb")));
    EXPECT_GT(total, 0);
    EXPECT_EQ(last, total);
    EXPECT_EQ(summariesIn(made.path), summaries); // the entry still in the WAL is in it
    EXPECT_EQ(names(), QStringList({QStringLiteral("xjrjz-2026-12-09.mdb")})); // nothing left over

    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('明天的', '增加')"));
    EXPECT_EQ(copies.makeDailyCopy(db.db(), today.addDays(1)).outcome, SafetyCopies::Outcome::Made);
    EXPECT_EQ(summariesIn(copies.dailyCopy(today.addDays(1))), summaries + 1);
    EXPECT_EQ(summariesIn(made.path), summaries);
}

TEST_F(SafetyCopiesTest, WithoutRoomForTwiceTheBookNoCopyIsTriedAndNoneRemoved) {
    SKIP_FOR_SERVER_BOOK("copies of the file beside it");
    ASSERT_TRUE(QDir().mkdir(copies.folder()));
    for (int day = 1; day <= 12; ++day)
        touch(copies.dailyCopy(QDate(2026, 11, day)));
    const qint64 size = QFileInfo(db.path()).size() + QFileInfo(db.path() + QStringLiteral("-wal")).size();
    copies.freeSpace = [size](const QString&) { return 2 * size - 1; };
    const SafetyCopies::DailyResult skipped = copies.makeDailyCopy(db.db(), today);
    EXPECT_EQ(skipped.outcome, SafetyCopies::Outcome::NoRoom);
    EXPECT_EQ(skipped.needed, 2 * size);
    EXPECT_EQ(skipped.available, 2 * size - 1);
    EXPECT_FALSE(QFileInfo::exists(copies.dailyCopy(today)));
    EXPECT_EQ(copies.dailyCopies().size(), 12);

    copies.freeSpace = [size](const QString&) { return 2 * size; };
    EXPECT_EQ(copies.makeDailyCopy(db.db(), today).outcome, SafetyCopies::Outcome::Made);
}

TEST_F(SafetyCopiesTest, EachInitialisationHasACopyOfItsOwnThatIsNeverPruned) {
    SKIP_FOR_SERVER_BOOK("copies of the file beside it");
    const QDateTime now(today, QTime(15, 30, 12));
    const QString first = copies.makeInitialisationCopy(db.db(), now);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("xjrjz-init-2026-12-09-153012.mdb"));
    db.exec(QStringLiteral("delete from 摘要"));
    const QString second = copies.makeInitialisationCopy(db.db(), now); // the same second
    EXPECT_NE(second, first);
    EXPECT_GT(summariesIn(first), 0);
    EXPECT_EQ(summariesIn(second), 0);
    for (int day = 1; day <= 12; ++day)
        copies.makeDailyCopy(db.db(), QDate(2026, 1, day));
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(copies.dailyCopies().size(), SafetyCopies::kDailyCopiesKept);
}

} // namespace

TEST_F(SafetyCopiesTest, ACopyKilledOnAnEarlierDayLeavesNothingBehindTheNextOne) {
    SKIP_FOR_SERVER_BOOK("copies of the file beside it");
    ASSERT_EQ(copies.makeDailyCopy(db.db(), today.addDays(-1)).outcome, SafetyCopies::Outcome::Made);
    // What a close killed while copying on the 7th left, and a file of the user's.
    touch(inFolder(".xjrjz-2026-12-07.mdb.0123abcd.tmp"));
    touch(inFolder(".xjrjz-2026-12-07.mdb.0123abcd.tmp-wal"));
    touch(inFolder(".notes.0123abcd.tmp"));
    ASSERT_EQ(copies.makeDailyCopy(db.db(), today).outcome, SafetyCopies::Outcome::Made);
    EXPECT_EQ(names(), QStringList({QStringLiteral(".notes.0123abcd.tmp"),
                                    QStringLiteral("xjrjz-2026-12-08.mdb"),
                                    QStringLiteral("xjrjz-2026-12-09.mdb")}));
}
