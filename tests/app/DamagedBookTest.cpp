// A book a failing disk has damaged: the start tells the cashier which safety
// copy to restore, and the closes never let it spoil those copies.

#include "ShellFixture.h"

#include "app/DailyCopyAtClose.h"
#include "store/DatabaseCheck.h"
#include "store/DateTime.h"
#include "store/NewDatabase.h"
#include "store/SafetyCopies.h"
#include "support/DamagedBook.h"
#include "ui/Choosers.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QTime>
#include <QFile>
#include <QToolButton>

using testing_support::child;

namespace {

const QString kCash = QStringLiteral("现金日记帐");

class DamagedBook : public ShellFixture {
protected:
    store::SafetyCopies copies{db.path()};
    const QDate today = QDate::currentDate();

    void SetUp() override {
        SKIP_FOR_SERVER_BOOK("damage in a book file and its file copies");
        // Rows enough for the cash journal to take many pages.
        db.exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 400) "
            "insert into 现金日记帐 (日期, 编号, 摘要, 属性, 借方, 明细) select "
            "cdate('2005-3-1'), i, '销售收入', '增加', 10000, '第' || i || '笔的明细' from n"));
    }

    void TearDown() override {
        app::dailyCopyDay = {};
        ShellFixture::TearDown();
    }

    /// Zeros a page of the cash journal, with no connection of the test left on the book.
    void damageBook() {
        db.connection().close();
        testing_support::zeroPageOf(db.path(), kCash);
    }

    /// Dates a file as made at `made`.
    static void madeAt(const QString& path, const QDateTime& made) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(made, QFileDevice::FileModificationTime));
    }

    /// Starts, logs in and waits for the box that tells of the damage.
    void startAndWaitForNotice() {
        const auto before = messages.records().size();
        start(loginWith(""));
        ASSERT_TRUE(main->activated());
        waitUntil([&] { return messages.records().size() > before; });
        ASSERT_EQ(messages.records().size(), before + 1);
    }

    void quit() {
        child<QToolButton>(main.get(), "SpeedButton7")->click();
        ASSERT_FALSE(main->isVisible());
    }

    QString damageText() const {
        return QStringLiteral("数据库文件“%1”已经损坏，其中的数据可能不完整！\n")
            .arg(QDir::toNativeSeparators(db.path()));
    }
};

TEST_F(DamagedBook, TheStartNamesTheNewestSoundCopyAndRestoringItMendsTheBook) {
    const QDateTime now(today, QTime(9, 30, 15));
    const QString older = copies.makeDailyCopy(db.db(), today.addDays(-3)).path;
    madeAt(older, now.addDays(-3));
    const QString init = copies.makeInitialisationCopy(db.db(), now.addDays(-2));
    madeAt(init, now.addDays(-2));
    damageBook();
    // An older build copied the damaged book yesterday, unchecked.
    const QString spoilt = copies.dailyCopy(today.addDays(-1));
    ASSERT_TRUE(QFile::copy(db.path(), spoilt));
    madeAt(spoilt, now.addDays(-1));

    ASSERT_NO_FATAL_FAILURE(startAndWaitForNotice());
    const ui::MessageRecord& notice = messages.records().constLast();
    EXPECT_EQ(notice.title, QStringLiteral("提示"));
    EXPECT_EQ(notice.icon, ui::MessageIcon::Warning);
    EXPECT_EQ(notice.text,
              damageText() +
                  QStringLiteral("最新的完好的安全备份是%1做的：\n%2\n"
                                 "请用菜单【系统维护】中的“数据恢复”选择这个文件恢复数据库。")
                      .arg(store::DateTime::fromQDateTime(now.addDays(-2)).toString(),
                           QDir::toNativeSeparators(init)));

    // The cashier does as told.
    ui::ChooserScript choosers;
    choosers.answerOpen(init);
    messages.answerNext(true);
    testing_support::onNextModal([](QDialog* window) {
        child<QAbstractButton>(window, "SpeedButton3")->click();
        child<QAbstractButton>(window, "SpeedButton1")->click();
        if (window->isVisible())
            child<QAbstractButton>(window, "SpeedButton2")->click();
    });
    main->runCommand(QStringLiteral("N7"));
    EXPECT_EQ(messages.texts().constLast(), QStringLiteral("恢复完毕！"));
    EXPECT_EQ(store::checkDatabaseFile(db.path(), store::standardPassword()), QStringList());
    quit();

    // A sound book starts without a word.
    messages.clear();
    start(loginWith(""));
    waitUntil([&] { return !messages.records().isEmpty(); }, 1500);
    EXPECT_EQ(messages.texts(), QStringList());
}

TEST_F(DamagedBook, TenDailyClosesKeepEverySoundCopyAndCountNoDamagedOne) {
    QStringList sound;
    for (int back = 20; back > 10; --back)
        sound.prepend(copies.makeDailyCopy(db.db(), today.addDays(-back)).path);
    ASSERT_EQ(copies.dailyCopies(), sound);
    damageBook();

    for (int day = 0; day < 10; ++day) {
        app::dailyCopyDay = [this, day] { return today.addDays(day); };
        messages.clear();
        ASSERT_NO_FATAL_FAILURE(startAndWaitForNotice());
        EXPECT_TRUE(
            messages.texts()[0].startsWith(damageText() + QStringLiteral("最新的完好的安全备份是")))
            << messages.texts()[0].toStdString();
        EXPECT_TRUE(messages.texts()[0].contains(QDir::toNativeSeparators(sound.first())));
        quit();
        ASSERT_EQ(messages.records().size(), 2) << day;
        EXPECT_TRUE(messages.texts()[1].startsWith(
            QStringLiteral("今天的数据库安全备份没有完成，数据库本身没有改变。\n") + damageText()))
            << messages.texts()[1].toStdString();
        EXPECT_EQ(copies.dailyCopies(), sound) << day;
    }
    // Nothing of the refused copies is left beside the sound ones.
    EXPECT_EQ(QDir(copies.folder()).entryList(QDir::Files | QDir::Hidden).size(), sound.size());
}

TEST_F(DamagedBook, WithoutASoundCopyTheStartSaysSo) {
    damageBook();
    ASSERT_NO_FATAL_FAILURE(startAndWaitForNotice());
    EXPECT_EQ(messages.texts(),
              QStringList{damageText() +
                          QStringLiteral("没有找到完好的安全备份，请尽快把还能读出的数据导出，"
                                         "并与系统管理员联系！")});
}

} // namespace
