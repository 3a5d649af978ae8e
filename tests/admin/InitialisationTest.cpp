// Emptying the cash journal and the summary catalogue.

#include "support/RefusedChanges.h"
#include "AdminFixture.h"

#include "admin/AdminCommands.h"
#include "store/Connection.h"
#include "store/OtherDesks.h"
#include "store/SafetyCopies.h"
#include "support/TestServer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

using testing_support::child;
using testing_support::onNextModal;

namespace {

class Initialisation : public AdminFixture {
protected:
    void SetUp() override {
        AdminFixture::SetUp();
        exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方) values "
                            "(cdate('2005-3-1'), '销售收入', '增加', 10000), (cdate('2005-3-2'), "
                            "'办公费', '减少', 0);"
                            "insert into 银行日记帐 (日期, 摘要, 属性, 借方, 开户银行) values "
                            "(cdate('2005-3-1'), '提取现金', '增加', 50000, '工商银行基本户')"));
        leaveTheProgramTheOnlyDesk();
    }

    struct Counts {
        int cash, bank, summaries, accounts, operators, company, closing;
        bool operator==(const Counts&) const = default;
    };

    Counts counts() {
        auto count = [this](const char* table) {
            return stored(QStringLiteral("select count(*) from %1").arg(QString::fromUtf8(table)))
                .toInt();
        };
        return {count("现金日记帐"), count("银行日记帐"), count("摘要"),    count("开户银行"),
                count("权限表"),     count("公司信息"),   count("关帐日期")};
    }

    /// Ticks the named boxes and presses OK, answering the question `yes`.
    void initialise(const QStringList& boxes, bool yes) {
        if (yes)
            messages.answerNext(true);
        onNextModal([boxes](QDialog* window) {
            for (const QString& box : boxes)
                QTest::mouseClick(child<QCheckBox>(window, box.toLatin1().constData()),
                                  Qt::LeftButton);
            click(window, "BitBtn1");
        });
        admin::openInitialisation(&main);
    }

    const QString kAsk = QStringLiteral("要初始化选中的数据库吗? ");
    const QString kDone = QStringLiteral("初始化完毕！");
};

TEST_F(Initialisation, EachBoxEmptiesItsTableOnlyAndNeitherEmptiesNothing) {
    Counts expected = counts();
    initialise({}, true);
    EXPECT_EQ(messages.texts(), QStringList({kAsk, kDone}));
    EXPECT_EQ(counts(), expected);

    messages.clear();
    initialise({QStringLiteral("CheckBox1")}, true);
    EXPECT_EQ(messages.texts(), QStringList({kAsk, kDone}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("请选择"));
    EXPECT_EQ(messages.records()[1].title, QStringLiteral("提示"));
    expected.cash = 0;
    EXPECT_EQ(counts(), expected);
    EXPECT_FALSE(dm->q_search.isOpen());

    exec(QStringLiteral(
        "insert into 现金日记帐 (日期, 摘要, 属性) values (cdate('2005-3-3'), '差旅费', '减少')"));
    initialise({QStringLiteral("CheckBox2")}, true);
    EXPECT_EQ(counts(), (Counts{1, 1, 0, 1, 1, 1, 1}));
    // Journal entries keep their copies of the summary and its attribute.
    EXPECT_EQ(stored(QStringLiteral("select 摘要 || 属性 from 现金日记帐")).toString(),
              QStringLiteral("差旅费减少"));
    EXPECT_EQ(stored(QStringLiteral("select 摘要 || 属性 from 银行日记帐")).toString(),
              QStringLiteral("提取现金增加"));

    exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('工资', '减少')"));
    initialise({QStringLiteral("CheckBox1"), QStringLiteral("CheckBox2")}, true);
    EXPECT_EQ(counts(), (Counts{0, 1, 0, 1, 1, 1, 1}));
}

TEST_F(Initialisation, NoAnEnterOrCancelEmptiesNothing) {
    const Counts before = counts();
    initialise({QStringLiteral("CheckBox1"), QStringLiteral("CheckBox2")}, false);
    EXPECT_EQ(messages.texts(), QStringList({kAsk}));
    EXPECT_EQ(counts(), before);

    // Cancel is the default button: Enter on a ticked box presses it.
    messages.clear();
    onNextModal([](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("数据初始化"));
        EXPECT_EQ(child<QLabel>(window, "Label2")->text(),
                  QStringLiteral("  如果用户第一次使用本系统时或者需要清空数据库时，请使用本功能，"
                                 "清除原来的数据，便于录入新的数据。"));
        auto* cash = child<QCheckBox>(window, "CheckBox1");
        EXPECT_FALSE(cash->isChecked());
        EXPECT_FALSE(child<QCheckBox>(window, "CheckBox2")->isChecked());
        QTest::mouseClick(cash, Qt::LeftButton);
        cash->setFocus();
        pressEnter(cash);
    });
    admin::openInitialisation(&main);
    EXPECT_TRUE(messages.records().isEmpty());
    EXPECT_EQ(counts(), before);
}

TEST_F(Initialisation, ASafetyCopyComesFirstAndTheRestoreWindowBringsTheEntriesBack) {
    const QString folder = store::SafetyCopies(db.path()).folder();
    initialise({}, true); // nothing to empty, nothing to copy
    EXPECT_FALSE(QFileInfo::exists(folder));

    const Counts before = counts();
    messages.clear();
    initialise({QStringLiteral("CheckBox1"), QStringLiteral("CheckBox2")}, true);
    EXPECT_EQ(messages.texts(), QStringList({kAsk, kDone}));
    EXPECT_EQ(counts().cash, 0);
    EXPECT_EQ(counts().summaries, 0);
    const QStringList made =
        QDir(folder).entryList({QStringLiteral("*-init-*.mdb")}, QDir::Files);
    ASSERT_EQ(made.size(), 1);
    const QString copy = QDir(folder).filePath(made.first());

    // The restore window opens where the copies are and takes the copy back.
    db.connection().close();
    messages.clear();
    choosers.answerOpen(copy);
    messages.answerNext(true);
    onNextModal([](QDialog* window) {
        click(window, "SpeedButton3");
        click(window, "SpeedButton1");
    });
    admin::openRestore(&main);
    // A server book's restore names the copy it made of the book it replaced.
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("确实要恢复数据库吗? "));
    if (db.onServer())
        EXPECT_TRUE(messages.texts()[1].startsWith(QStringLiteral("恢复完毕！原来的数据库已复制到")))
            << messages.texts()[1].toStdString();
    else
        EXPECT_EQ(messages.texts()[1], QStringLiteral("恢复完毕！"));
    ASSERT_EQ(choosers.openRequests().size(), 1);
    EXPECT_EQ(choosers.openRequests()[0].directory, folder);
    const QStringList filters = ui::qtNameFilters(choosers.openRequests()[0].filter);
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_TRUE(filters[0].contains(QStringLiteral("*.mdb")) && filters[0].contains(QStringLiteral("*.bak")))
        << filters[0].toStdString();
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(counts(), before);
}

TEST_F(Initialisation, WithoutASafetyCopyNothingIsEmptied) {
    {
        // A file where the copies' folder belongs.
        QFile blocker(store::SafetyCopies(db.path()).folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const Counts before = counts();
    initialise({QStringLiteral("CheckBox1"), QStringLiteral("CheckBox2")}, true);
    ASSERT_EQ(messages.records().size(), 2);
    EXPECT_EQ(messages.records()[1].title, QStringLiteral("提示"));
    EXPECT_TRUE(messages.texts()[1].startsWith(
        QStringLiteral("初始化前的数据库备份没有完成，没有清空任何数据。\n")))
        << messages.texts()[1].toStdString();
    EXPECT_EQ(counts(), before);
}

TEST_F(Initialisation, BothTablesAreEmptiedOrNeither) {
    // The second deletion fails, as a failing disk would make it fail.
    testing_support::refuseChanges(dm->ADO_xjrjz.database(), QStringLiteral("delete"),
                                   QStringLiteral("摘要"), QStringLiteral("1 = 1"),
                                   QStringLiteral("disk I/O error"));
    const Counts before = counts();
    initialise({QStringLiteral("CheckBox1"), QStringLiteral("CheckBox2")}, true);
    EXPECT_EQ(counts(), before);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(messages.texts()[0], kAsk);
    EXPECT_TRUE(
        messages.texts()[1].startsWith(QStringLiteral("初始化没有完成，没有清空任何数据。\n")))
        << messages.texts()[1].toStdString();
    ASSERT_TRUE(dm->ADO_xjrjz.isConnected());
}

TEST_F(Initialisation, RestoreAndInitialisationWaitUntilNoOtherDeskIsOnTheBook) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "server books only: a file book has one program at a time";
    const QString connection = db.connection().connectionString();
    db.connection().close();
    const Counts before = counts();
    auto secondDesk = std::make_unique<store::Connection>();
    secondDesk->setConnectionString(connection);
    secondDesk->open();

    // Neither window opens while the other desk is on the book; nothing changes.
    bool opened = false;
    // One watcher for the whole test: a window that should not open is counted and
    // closed; the one that may open at the end is answered.
    std::function<void(QDialog*)> act = [&opened](QDialog* window) {
        opened = true;
        window->reject();
    };
    onNextModal([&act](QDialog* window) { act(window); });
    admin::openRestore(&main);
    admin::openInitialisation(&main);
    EXPECT_FALSE(opened);
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("另有 1 个站点正在使用本帐套，不能恢复数据。请其他站点退出后再试。"),
                           QStringLiteral("另有 1 个站点正在使用本帐套，不能初始化数据。请其他站点退出后再试。")}));
    EXPECT_TRUE(dm->ADO_xjrjz.isConnected());
    EXPECT_EQ(counts(), before);

    // Once it has gone, the window opens and asks its question (what follows is
    // the initialisation's own work, tested above).
    secondDesk.reset();
    if (opened)
        return;
    // The server ends the other desk's session a moment after it leaves.
    QTRY_COMPARE_WITH_TIMEOUT(store::otherDesks(dm->ADO_xjrjz.database()), 0, 5000);
    messages.clear();
    messages.answerNext(true);
    act = [](QDialog* window) {
        QTest::mouseClick(child<QCheckBox>(window, "CheckBox1"), Qt::LeftButton);
        click(window, "BitBtn1");
    };
    admin::openInitialisation(&main);
    ASSERT_FALSE(messages.texts().isEmpty());
    EXPECT_EQ(messages.texts().first(), kAsk);
}

} // namespace
