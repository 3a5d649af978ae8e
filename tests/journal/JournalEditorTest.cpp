#include "support/RefusedChanges.h"
#include "JournalFixture.h"
#include "support/TestServer.h"

#include "journal/JournalEditor.h"
#include "journal/TForm_zy.h"
#include "ui/DBDateEdit.h"
#include "ui/DBEdit.h"
#include "ui/DBMemo.h"
#include "ui/DBNumberEdit.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using journal::JournalEditor;
using journal::JournalKind;
using testing_support::child;
using testing_support::onNextModal;

namespace {

QWidget* focused() { return testing_support::focusedWidget(); }

void type(QDialog* editor, const char* field, const QString& text) {
    auto* w = child<QWidget>(editor, field);
    w->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->clear();
        line->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        memo->setPlainText(text);
    }
}

void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }

/// Picks a summary by name in the picker that is about to open.
void pickNext(const QString& summary) {
    onNextModal([summary](QDialog* picker) {
        store::Query& q = ui::Dm1->q_zy;
        for (q.first(); !q.eof(); q.next()) {
            if (q.fieldByName(QStringLiteral("摘要")).asString() == summary)
                break;
        }
        child<QToolButton>(picker, "SpeedButton3")->click();
    });
}

} // namespace

class Editor : public JournalFixture {
protected:
    void SetUp() override {
        JournalFixture::SetUp();
        JournalEditor::setPreviousBalance(JournalKind::Cash, store::Currency());
        JournalEditor::setPreviousBalance(JournalKind::Bank, store::Currency());
    }
    /// Opens the editor with "编辑" and runs `steps` inside it; the steps end it.
    void inEditor(const std::function<void(QDialog*)>& steps) {
        onNextModal(steps);
        click("bitbtn_edit");
    }
    QVariant lastEntry(const char* column) {
        return db.scalar(QStringLiteral("select %1 from 现金日记帐 order by 编号 desc limit 1").arg(QString::fromUtf8(column)));
    }
};

TEST_F(Editor, TheRoadOfOneEntryByKeyboard) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方, 余额) values "
                           "(cdate('2005-3-1'), '提取现金', '增加', ccur('500'), ccur('500'))"));
    openCash();
    inEditor([](QDialog* editor) {
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("现金日记帐编辑"));
        QTest::keyClick(editor, Qt::Key_F2);
        EXPECT_FALSE(child<QPushButton>(editor, "bitbtn_add")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(editor, "bitbtn_close")->isEnabled());
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBDateTimeEditEh1"));
        QTest::keyClicks(focused(), QStringLiteral("2005-3-9"));
        enter(focused());
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh1"));
        QTest::keyClicks(focused(), QStringLiteral("v12"));
        pickNext(QStringLiteral("办公费")); // a "减少" summary
        enter(focused());                   // no summary yet: the picker opens
        EXPECT_EQ(child<QLineEdit>(editor, "DBEdit1")->text(), QStringLiteral("办公费"));
        EXPECT_EQ(child<QLineEdit>(editor, "DBEdit2")->text(), QStringLiteral("减少"));
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh2"));
        child<QPlainTextEdit>(editor, "DBEditEh2")->setPlainText(QStringLiteral("打印纸"));
        enter(focused());
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh3"));
        child<QLineEdit>(editor, "DBEditEh3")->setText(QStringLiteral("王芳"));
        enter(focused()); // the attribute steers to the credit
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBNumberEditEh3"));
        QTest::keyClicks(focused(), QStringLiteral("120.5"));
        enter(focused());
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh6"));
        child<QLineEdit>(editor, "DBEditEh6")->setText(QStringLiteral("星海文具店"));
        enter(focused());
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh4"));
        enter(focused()); // Enter in 备注 saves
        EXPECT_TRUE(child<QPushButton>(editor, "bitbtn_add")->isEnabled());
        EXPECT_EQ(child<QLineEdit>(editor, "DBNumberEditEh1")->text(), QStringLiteral("379.50"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("保存完毕！")}));
    EXPECT_EQ(lastEntry("凭证号").toString(), QStringLiteral("v12"));
    EXPECT_EQ(lastEntry("摘要").toString(), QStringLiteral("办公费"));
    EXPECT_EQ(lastEntry("属性").toString(), QStringLiteral("减少"));
    EXPECT_EQ(lastEntry("明细").toString(), QStringLiteral("打印纸"));
    EXPECT_EQ(lastEntry("贷方").toLongLong(), 1205000);
    EXPECT_TRUE(lastEntry("借方").isNull());
    EXPECT_EQ(lastEntry("操作员").toString(), QStringLiteral("出纳甲"));
    EXPECT_EQ(store::DateTime::fromSerial(lastEntry("操作日期").toDouble()).date(), QDate::currentDate());
    EXPECT_EQ(store::DateTime::fromSerial(lastEntry("日期").toDouble()), store::DateTime::fromDate(QDate(2005, 3, 9)));
    // After the editor the month is recomputed: 500 - 120.5.
    EXPECT_EQ(column("余额"), QStringList({"500", "379.5"}));
}

TEST_F(Editor, RightAfterASaveTheFileAloneHoldsTheEntry) {
    SKIP_FOR_SERVER_BOOK("a file copied beside the program");
    QTemporaryDir elsewhere;
    const QString copy = elsewhere.filePath(QStringLiteral("copy.mdb"));
    openCash();
    inEditor([&](QDialog* editor) {
        child<QPushButton>(editor, "bitbtn_add")->click();
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-10"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("销售收入"));
        type(editor, "DBEditEh3", QStringLiteral("刚存的一笔"));
        type(editor, "DBNumberEditEh2", QStringLiteral("88"));
        child<QPushButton>(editor, "bitbtn_save")->click();
        // What a cashier copies as a backup: the one file, nothing beside it.
        ASSERT_TRUE(QFile::copy(db.path(), copy));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    ASSERT_EQ(messages.texts(), QStringList({QStringLiteral("保存完毕！")}));
    EXPECT_EQ(store::checkDatabaseFile(copy, store::standardPassword()), QStringList());
    const auto opened = store::openDatabaseFile(copy, store::standardPassword());
    store::Statement entry(*opened, QStringLiteral("select 借方 from 现金日记帐 where 经办人='刚存的一笔'"));
    ASSERT_TRUE(entry.step());
    EXPECT_EQ(entry.int64(0), 880000);
}

TEST_F(Editor, SaveChecksRunInOrder) {
    openCash();
    inEditor([](QDialog* editor) {
        auto* save = child<QPushButton>(editor, "bitbtn_save");
        child<QPushButton>(editor, "bitbtn_add")->click();
        save->click(); // no date
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBDateTimeEditEh1"));
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-10"));
        type(editor, "DBEditEh1", QStringLiteral("7"));
        save->click(); // no summary: the entry stays as typed
        EXPECT_EQ(child<QLineEdit>(editor, "DBEditEh1")->text(), QStringLiteral("7"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("   "));
        save->click(); // blanks only
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        type(editor, "DBNumberEditEh2", QStringLiteral("5"));
        type(editor, "DBNumberEditEh3", QStringLiteral("5"));
        save->click(); // both amounts
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBNumberEditEh2"));
        type(editor, "DBNumberEditEh2", QString());
        type(editor, "DBNumberEditEh3", QStringLiteral("0"));
        save->click(); // neither amount
        EXPECT_FALSE(child<QPushButton>(editor, "bitbtn_add")->isEnabled());
        type(editor, "DBNumberEditEh2", QStringLiteral("-3"));
        save->click(); // a negative amount passes
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("日期不能为空,请重新输入!"),
                                             QStringLiteral("摘要不能为空,请重新输入!"),
                                             QStringLiteral("摘要不能为空,请重新输入!"),
                                             QStringLiteral("借方和贷方不能同时有金额,请重新输入!"),
                                             QStringLiteral("借方和贷方不能同时为零,请重新输入!"),
                                             QStringLiteral("保存完毕！")}));
    EXPECT_EQ(lastEntry("余额").toLongLong(), -30000);
}

TEST_F(Editor, PeriodBoundsAreInclusiveAndOutsideIsDiscarded) {
    openCash();
    inEditor([](QDialog* editor) {
        auto* save = child<QPushButton>(editor, "bitbtn_save");
        for (const char* day : {"2005-3-1", "2005-3-31", "2005-4-1", "2005-2-28"}) {
            child<QPushButton>(editor, "bitbtn_add")->click();
            type(editor, "DBDateTimeEditEh1", QString::fromLatin1(day));
            ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
            type(editor, "DBNumberEditEh2", QStringLiteral("1"));
            save->click();
            EXPECT_TRUE(child<QPushButton>(editor, "bitbtn_close")->isEnabled());
        }
        child<QPushButton>(editor, "bitbtn_close")->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("保存完毕！"), QStringLiteral("保存完毕！"),
                                             QStringLiteral("不能编辑记帐时间以外的数据!"),
                                             QStringLiteral("不能编辑记帐时间以外的数据!")}));
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 2);
}

TEST_F(Editor, EscWhileAddingDiscardsAndPreviousBalanceIsKeptPerKind) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values (cdate('2005-3-1'), 'a', ccur('8'), ccur('8'))"));
    openCash();
    inEditor([](QDialog* editor) {
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBEditEh1", QStringLiteral("x"));
        QTest::keyClick(editor, Qt::Key_Escape); // 返回 is disabled, Esc still closes
    });
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 1);
    EXPECT_EQ(JournalEditor::previousBalance(JournalKind::Cash), store::Currency::fromUnits(8));
    EXPECT_TRUE(JournalEditor::previousBalance(JournalKind::Bank).isZero());
}

TEST_F(Editor, AnEntryOfAnotherMonthCanBeSeenButNotSaved) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values (cdate('2004-12-5'), '旧账', ccur('3'), 3)"));
    openCash();
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐"), QStringLiteral(" where (摘要 like '旧%')"),
                          QStringLiteral("order by 日期+编号")});
    inEditor([](QDialog* editor) {
        EXPECT_EQ(child<QLineEdit>(editor, "DBDateTimeEditEh1")->text(), QStringLiteral("2004-12-5"));
        type(editor, "DBNumberEditEh2", QStringLiteral("4"));
        QTest::keyClick(editor, Qt::Key_F3);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("不能编辑记帐时间以外的数据!")}));
    EXPECT_EQ(scalar("select 借方 from 现金日记帐").toLongLong(), 30000);
    // Afterwards the window shows the month again.
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 0);
}

TEST_F(Editor, BankEditorStampsTheChosenAccount) {
    openBank();
    chooseAccount(QStringLiteral("工商银行基本户"));
    inEditor([](QDialog* editor) {
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("银行日记帐编辑"));
        EXPECT_EQ(child<QLabel>(editor, "Label13")->text(), QStringLiteral("工商银行基本户"));
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-2"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("利息"));
        type(editor, "DBNumberEditEh2", QStringLiteral("12.34"));
        QTest::keyClick(editor, Qt::Key_F3);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(scalar("select 开户银行 || '/' || 余额 from 银行日记帐").toString(), QStringLiteral("工商银行基本户/123400"));
}

TEST_F(Editor, ARefusedSaveIsCancelledAndReported) {
    testing_support::refuseChanges(db.db(), QStringLiteral("insert"), QStringLiteral("现金日记帐"),
                                   QStringLiteral("1 = 1"), QStringLiteral("disk full"));
    openCash();
    inEditor([](QDialog* editor) {
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-2"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("x"));
        type(editor, "DBNumberEditEh2", QStringLiteral("1"));
        QTest::keyClick(editor, Qt::Key_F3);
        EXPECT_TRUE(child<QPushButton>(editor, "bitbtn_close")->isEnabled());
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(messages.texts()[0].contains(QStringLiteral("disk full")));
}

TEST_F(Editor, ADateWithATimeAShortYearOrNoDayIsRefusedAndKeptAsTyped) {
    dm->login.closingDate = store::DateTime::fromDate(QDate(2026, 12, 15));
    openCash();
    inEditor([](QDialog* editor) {
        QTest::keyClick(editor, Qt::Key_F2);
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        type(editor, "DBNumberEditEh2", QStringLiteral("1"));
        auto* date = child<QLineEdit>(editor, "DBDateTimeEditEh1");
        // A day alone or a month and day is read, but only as a day of the calendar.
        for (const char* typed : {"2026-12-31 10:00", "26-1-1", "2026-12-31 0:0:0", "0", "32",
                                  "2-30", "13-1", "3-", "-15", "3-15-", "115"}) {
            date->setFocus();
            date->selectAll();
            QTest::keyClicks(date, QLatin1String(typed));
            QTest::keyClick(date, Qt::Key_Return); // on to 凭证号, the date stays pending
            QTest::keyClick(editor, Qt::Key_F3);
            EXPECT_EQ(focused(), date) << typed;
            EXPECT_EQ(date->text(), QLatin1String(typed));
            EXPECT_FALSE(child<QPushButton>(editor, "bitbtn_add")->isEnabled()) << typed;
        }
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("2026/12/31"));
        QTest::keyClick(editor, Qt::Key_F3);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    const QString wrong = QStringLiteral("日期输入错误,请重新输入!");
    EXPECT_EQ(messages.texts(), QStringList(11, wrong) << QStringLiteral("保存完毕！"));
    for (const auto& record : messages.records())
        EXPECT_EQ(record.icon, ui::MessageIcon::Warning);
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 1);
    EXPECT_EQ(lastEntry("日期").toDouble(),
              store::DateTime::fromDate(QDate(2026, 12, 31)).serial());
    // The month holds the entry: the grid and the recomputation see it.
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 1);
}

TEST_F(Editor, SavingAnEntryStoredWithATimeOfDayKeepsOnlyItsDay) {
    // An older build stored a typed time; that entry fell out of its month.
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values "
                           "(cdate('2005-3-31 10:00'), '旧账', ccur('3'), 3)"));
    openCash();
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 0);
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    inEditor([](QDialog* editor) {
        EXPECT_EQ(child<QLineEdit>(editor, "DBDateTimeEditEh1")->text(),
                  QStringLiteral("2005-3-31"));
        type(editor, "DBNumberEditEh2", QStringLiteral("4"));
        QTest::keyClick(editor, Qt::Key_F3);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("保存完毕！")}));
    EXPECT_EQ(scalar("select 日期 from 现金日记帐").toDouble(),
              store::DateTime::fromDate(QDate(2005, 3, 31)).serial());
    EXPECT_EQ(column("借方"), QStringList({"4"}));
}

TEST_F(Editor, ShiftAndCtrlEnterWalkTheFieldsAndAltSPicks) {
    openCash();
    inEditor([](QDialog* editor) {
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-9"));
        // In the picker Alt+S is "选中": the summary goes into the entry.
        onNextModal([](QDialog* picker) {
            ui::Dm1->q_zy.last(); // a "减少" summary
            QTest::keyClick(testing_support::focusedWidget(), Qt::Key_S, Qt::AltModifier);
            if (!QTest::qWaitFor([picker] { return !picker->isVisible(); }, 2000))
                picker->done(QDialog::Rejected); // Alt+S picked nothing
        });
        QTest::keyClick(editor, Qt::Key_F5);
        EXPECT_EQ(child<QLineEdit>(editor, "DBEdit2")->text(), QStringLiteral("减少"));
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh2"));
        QTest::keyClicks(focused(), "ab");
        QTest::keyClick(focused(), Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh3"));
        EXPECT_EQ(child<QPlainTextEdit>(editor, "DBEditEh2")->toPlainText(), QStringLiteral("ab"));
        QTest::keyClick(focused(), Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBNumberEditEh3"));
        QTest::keyClicks(focused(), "7");
        QTest::keyClick(focused(), Qt::Key_X, Qt::AltModifier); // claimed by nothing
        EXPECT_EQ(child<QLineEdit>(editor, "DBNumberEditEh3")->text(), QStringLiteral("7"));
        child<QWidget>(editor, "DBEditEh4")->setFocus();
        QTest::keyClicks(focused(), "cd");
        QTest::keyClick(focused(), Qt::Key_Return, Qt::ShiftModifier); // saves, as Enter
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("保存完毕！")}));
    EXPECT_EQ(lastEntry("明细").toString(), QStringLiteral("ab"));
    EXPECT_EQ(lastEntry("备注").toString(), QStringLiteral("cd"));
    EXPECT_EQ(lastEntry("贷方").toLongLong(), 70000);
}

TEST_F(Editor, AfterAPeriodRefusalNoFieldOfAnotherEntryHasTheFocus) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额, 备注) values "
                           "(cdate('2005-3-1'), 'a', ccur('8'), ccur('8'), '旧备注')"));
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values (cdate('2004-12-5'), '旧账', ccur('3'), 3)"));
    openCash();
    inEditor([](QDialog* editor) {
        // A new entry dated outside the month is discarded: the fields show a stored
        // entry again, and typing must not change it.
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-4-1"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        type(editor, "DBNumberEditEh2", QStringLiteral("1"));
        child<QWidget>(editor, "DBEditEh4")->setFocus();
        enter(focused());
        EXPECT_EQ(focused(), child<QWidget>(editor, "bitbtn_add"));
        QTest::keyClicks(focused(), "zz");
        enter(focused()); // Enter on 增加 begins the next entry
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBDateTimeEditEh1"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    inEditor([](QDialog* editor) {
        // An existing entry moved outside the month returns to its stored date.
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-4-2"));
        QTest::keyClick(editor, Qt::Key_F3);
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBDateTimeEditEh1"));
        EXPECT_EQ(child<QLineEdit>(editor, "DBDateTimeEditEh1")->text(), QStringLiteral("2005-3-1"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList(2, QStringLiteral("不能编辑记帐时间以外的数据!")));
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 2);
    EXPECT_EQ(scalar("select 备注 from 现金日记帐 where 摘要='a'").toString(), QStringLiteral("旧备注"));
}

TEST_F(Editor, ADayOrAMonthAndDayIsADayOfTheMonthBeingKept) {
    openCash();
    auto enterEntry = [](QDialog* editor, const char* typedDate, const QString& shown,
                         bool stored = true) {
        QTest::keyClick(editor, Qt::Key_F2);
        auto* date = child<QLineEdit>(editor, "DBDateTimeEditEh1");
        EXPECT_EQ(focused(), date);
        QTest::keyClicks(date, QLatin1String(typedDate));
        enter(date);
        EXPECT_EQ(focused(), child<QWidget>(editor, "DBEditEh1"));
        EXPECT_EQ(date->text(), shown) << typedDate; // at once, before the save
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        type(editor, "DBNumberEditEh2", QStringLiteral("1"));
        QTest::keyClick(editor, Qt::Key_F3);
        if (stored) {
            EXPECT_EQ(date->text(), shown) << typedDate;
        }
    };
    inEditor([&](QDialog* editor) {
        enterEntry(editor, "15", QStringLiteral("2005-3-15"));
        enterEntry(editor, "3-9", QStringLiteral("2005-3-9"));
        enterEntry(editor, "03/01", QStringLiteral("2005-3-1"));
        // Saved with the day in the field: 存盘 reads it as Enter does.
        QTest::keyClick(editor, Qt::Key_F2);
        QTest::keyClicks(focused(), QStringLiteral("31"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        type(editor, "DBNumberEditEh2", QStringLiteral("1"));
        child<QWidget>(editor, "DBDateTimeEditEh1")->setFocus();
        QTest::keyClick(editor, Qt::Key_F3);
        // Another month of the year is read, then refused as outside the month being kept.
        enterEntry(editor, "4-1", QStringLiteral("2005-4-1"), false);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(),
              QStringList({QStringLiteral("保存完毕！"), QStringLiteral("保存完毕！"),
                           QStringLiteral("保存完毕！"), QStringLiteral("保存完毕！"),
                           QStringLiteral("不能编辑记帐时间以外的数据!")}));
    QStringList days;
    for (int day : {15, 9, 1, 31})
        days << QString::number(store::DateTime::fromDate(QDate(2005, 3, day)).serial());
    EXPECT_EQ(scalar("select group_concat(cast(日期 as integer)) from (select 日期 from 现金日记帐 "
                     "order by 编号) as entries")
                  .toString(),
              days.join(QLatin1Char(',')));
}

// A slip of the comma is refused with the amount field's own message, the
// entry stays as typed and nothing reaches the journal; grouped thousands read.
TEST_F(Editor, AnAmountWithAStrayCommaIsRefusedAndNothingIsStored) {
    openCash();
    inEditor([](QDialog* editor) {
        QTest::keyClick(editor, Qt::Key_F2);
        type(editor, "DBDateTimeEditEh1", QStringLiteral("2005-3-2"));
        ui::Dm1->q_xjrjz.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("其他"));
        auto* debit = child<QLineEdit>(editor, "DBNumberEditEh2");
        for (const char* typed : {"1,50", "12,5"}) {
            type(editor, "DBNumberEditEh2", QLatin1String(typed));
            child<QWidget>(editor, "DBEditEh1")->setFocus();
            QTest::keyClick(editor, Qt::Key_F3);
            EXPECT_EQ(focused(), debit) << typed;
            EXPECT_EQ(debit->text(), QLatin1String(typed));
            EXPECT_FALSE(child<QPushButton>(editor, "bitbtn_add")->isEnabled()) << typed;
        }
        type(editor, "DBNumberEditEh2", QStringLiteral("1,234.56"));
        QTest::keyClick(editor, Qt::Key_F3);
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("“1,50”不是有效的金额."),
                                             QStringLiteral("“12,5”不是有效的金额."),
                                             QStringLiteral("保存完毕！")}));
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 1);
    EXPECT_EQ(lastEntry("借方").toLongLong(), 12345600);
}
