#include "support/RefusedChanges.h"
#include "support/DataModuleFixture.h"

#include "journal/TForm_khyh.h"
#include "journal/TForm_zy.h"
#include "support/CommandKeys.h"
#include "lists/DataGrid.h"
#include "ui/DBComboBox.h"
#include "ui/DBEdit.h"
#include "ui/DBNavigator.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using testing_support::child;
using testing_support::clickRow;

namespace {

class SummaryCatalogue : public DataModuleFixture {
protected:
    std::unique_ptr<journal::TForm_zy> window;

    void open(store::Query* journal = nullptr) {
        dm->q_zy.openWith({QStringLiteral("select * from 摘要")});
        window = std::make_unique<journal::TForm_zy>(nullptr, journal);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    QPushButton* button(const char* name) { return child<QPushButton>(window.get(), name); }
    ui::DBComboBox* attribute() { return child<ui::DBComboBox>(window.get(), "DBComboBoxEh1"); }
    ui::DBEdit* name() { return child<ui::DBEdit>(window.get(), "DBEditEh2"); }
    QWidget* focus() { return QApplication::focusWidget(); }
    bool locked() {
        return !button("bitbtn_add")->isEnabled() && !child<QWidget>(window.get(), "SpeedButton1")->isEnabled() &&
               !child<QWidget>(window.get(), "SpeedButton4")->isEnabled() && !window->grid()->isEnabled();
    }
    int summaries() { return scalar("select count(*) from 摘要").toInt(); }
};

} // namespace

TEST_F(SummaryCatalogue, AddChecksInOrderAndStampsTheSave) {
    open();
    const int before = summaries();
    EXPECT_FALSE(child<QWidget>(window.get(), "SpeedButton3")->isVisible());
    EXPECT_FALSE(child<QLabel>(window.get(), "Label6")->isVisible());
    button("bitbtn_add")->click();
    EXPECT_TRUE(locked());
    EXPECT_EQ(focus(), attribute()->lineEdit() ? static_cast<QWidget*>(attribute()) : attribute());

    attribute()->setEditText(QStringLiteral("   "));
    button("bitbtn_save")->click();
    attribute()->setEditText(QStringLiteral("增"));
    button("bitbtn_save")->click();
    attribute()->setEditText(QStringLiteral("减少"));
    name()->setText(QStringLiteral("  "));
    QTest::keyClick(name(), Qt::Key_Return); // Enter in the name saves
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("属性不能为空,请重新输入!"),
                                             QStringLiteral("属性输入出错,请重新选择!"),
                                             QStringLiteral("摘要名称不能为空,请重新输入!")}));
    EXPECT_EQ(focus(), name());
    EXPECT_TRUE(locked()) << "a failed check keeps the adding state";
    EXPECT_EQ(summaries(), before);

    name()->setText(QStringLiteral("退款"));
    QTest::keyClicks(name(), QStringLiteral("ab"));
    QTest::keyClick(name(), Qt::Key_Return);
    EXPECT_FALSE(locked());
    EXPECT_EQ(summaries(), before + 1);
    EXPECT_EQ(scalar("select 摘要 || '/' || 属性 || '/' || 操作员 from 摘要 order by 代码 desc limit 1").toString(),
              QStringLiteral("退款AB/减少/出纳甲"));
    EXPECT_GT(scalar("select 操作日期 from 摘要 order by 代码 desc limit 1").toDouble(), 40000.0);
}

TEST_F(SummaryCatalogue, CancelDropsTheNewRowAndDuplicatesAreAllowed) {
    open();
    const int before = summaries();
    button("bitbtn_add")->click();
    button("bitbtn_cancel")->click();
    EXPECT_FALSE(locked());
    EXPECT_EQ(dm->q_zy.recordCount(), before);
    for (int i = 0; i < 2; ++i) {
        button("bitbtn_add")->click();
        attribute()->setEditText(QStringLiteral("增加"));
        name()->setText(QStringLiteral("同名"));
        button("bitbtn_save")->click();
    }
    EXPECT_EQ(scalar("select count(*) from 摘要 where 摘要='同名'").toInt(), 2);
}

TEST_F(SummaryCatalogue, EditingByTypingAndClosingCancels) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性) select cdate('2005-3-1'), 摘要, 属性 from 摘要 "
                           "order by 代码 limit 1"));
    open();
    const QString first = dm->q_zy.fieldByName(QStringLiteral("摘要")).asString();
    name()->setText(QStringLiteral("改名"));
    button("bitbtn_save")->click();
    EXPECT_EQ(dm->q_zy.fieldByName(QStringLiteral("摘要")).asString(), QStringLiteral("改名"));
    // The journal keeps its copy.
    EXPECT_EQ(scalar("select 摘要 from 现金日记帐").toString(), first);

    name()->setText(QStringLiteral("不保存"));
    child<QToolButton>(window.get(), "SpeedButton4")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(scalar("select count(*) from 摘要 where 摘要='不保存'").toInt(), 0);
}

TEST_F(SummaryCatalogue, PickingCopiesSummaryAndAttributeIntoTheEntry) {
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    dm->q_xjrjz.append();
    open(&dm->q_xjrjz);
    EXPECT_TRUE(child<QWidget>(window.get(), "SpeedButton3")->isVisible());
    EXPECT_EQ(child<QLabel>(window.get(), "Label6")->text(), QStringLiteral("提示：选择所需要的摘要双击或选中！"));
    dm->q_zy.last(); // a "减少" summary in the shipped catalogue
    const QString summary = dm->q_zy.fieldByName(QStringLiteral("摘要")).asString();
    ASSERT_EQ(dm->q_zy.fieldByName(QStringLiteral("属性")).asString(), QStringLiteral("减少"));
    QTableView* view = window->grid()->view();
    testing_support::doubleClickRow(view, dm->q_zy.currentIndex());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dm->q_zy.isOpen());
    EXPECT_EQ(dm->q_xjrjz.fieldByName(QStringLiteral("摘要")).asString(), summary);
    EXPECT_EQ(dm->q_xjrjz.fieldByName(QStringLiteral("属性")).asString(), QStringLiteral("减少"));
    EXPECT_EQ(scalar("select count(*) from 现金日记帐").toInt(), 0) << "the editor saves, not the picker";
}

TEST_F(SummaryCatalogue, PickingInAnEmptyCatalogueAndDoubleClickInMaintenanceDoNothing) {
    db.exec(QStringLiteral("delete from 摘要"));
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    open(&dm->q_xjrjz);
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dm->q_xjrjz.state(), store::QueryState::Browse);
    window.reset();

    db.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('x', '增加')"));
    open();
    QTableView* view = window->grid()->view();
    testing_support::doubleClickRow(view, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SummaryCatalogue, ARefusedSaveIsCancelledAndReported) {
    testing_support::refuseChanges(db.db(), QStringLiteral("insert"), QStringLiteral("摘要"),
                                   QStringLiteral("1 = 1"), QStringLiteral("full"));
    open();
    button("bitbtn_add")->click();
    attribute()->setEditText(QStringLiteral("增加"));
    name()->setText(QStringLiteral("x"));
    button("bitbtn_save")->click();
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Critical);
    EXPECT_FALSE(locked());
    EXPECT_EQ(dm->q_zy.state(), store::QueryState::Browse);
}

TEST_F(DataModuleFixture, BankAccountCatalogueChecksTheName) {
    dm->q_khyh.openWith({QStringLiteral("select * from 开户银行")});
    journal::TForm_khyh window(nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("开户银行设置"));
    EXPECT_EQ(window.size(), QSize(635, 395));
    auto* add = child<QPushButton>(&window, "bitbtn_add");
    auto* nameField = child<ui::DBEdit>(&window, "DBEditEh2");
    add->click();
    EXPECT_FALSE(add->isEnabled());
    EXPECT_FALSE(child<QWidget>(&window, "SpeedButton4")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), nameField);
    nameField->setText(QStringLiteral("   "));
    QTest::keyClick(nameField, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("开户银行不能为空,请重新输入!")}));
    EXPECT_FALSE(add->isEnabled());
    nameField->setText(QStringLiteral("农行"));
    QTest::keyClick(nameField, Qt::Key_Return);
    EXPECT_TRUE(add->isEnabled());
    EXPECT_EQ(scalar("select count(*) from 开户银行").toInt(), 2);
    EXPECT_EQ(scalar("select 操作员 from 开户银行 where 项目='农行'").toString(), QStringLiteral("出纳甲"));
    EXPECT_EQ(window.grid()->columns()[0].titleText(), QStringLiteral("开户银行"));
}

TEST_F(DataModuleFixture, TheNavigatorCannotLeaveARowBeingAdded) {
    // Moving the cursor posts a pending row: while adding, that would store it
    // without the save's checks and without the operator's stamp.
    const auto check = [&](lists::CatalogueWindow& window, const char* table) {
        window.show();
        QApplication::setActiveWindow(&window);
        const int before = db.scalar(QStringLiteral("select count(*) from %1").arg(QString::fromUtf8(table))).toInt();
        auto* navigator = child<ui::DBNavigator>(&window, "DBNavigator1");
        child<QPushButton>(&window, "bitbtn_add")->click();
        child<ui::DBEdit>(&window, "DBEditEh2")->setText(QStringLiteral("未存"));
        EXPECT_FALSE(navigator->isEnabled()) << table;
        for (auto which : {ui::DBNavigator::First, ui::DBNavigator::Prior})
            QTest::mouseClick(navigator->button(which), Qt::LeftButton);
        EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from %1").arg(QString::fromUtf8(table))).toInt(), before)
            << table;
        child<QPushButton>(&window, "bitbtn_cancel")->click();
        EXPECT_TRUE(navigator->isEnabled()) << table;
    };
    dm->q_zy.openWith({QStringLiteral("select * from 摘要")});
    journal::TForm_zy summaries(nullptr, nullptr);
    check(summaries, "摘要");
    dm->q_khyh.openWith({QStringLiteral("select * from 开户银行")});
    journal::TForm_khyh banks(nullptr);
    check(banks, "开户银行");
}

TEST_F(SummaryCatalogue, InThePickerAltSPicksAndWhileAddingSaves) {
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    dm->q_xjrjz.append();
    open(&dm->q_xjrjz);
    EXPECT_EQ(testing_support::commandKeyFaults(window.get()), QStringList());
    EXPECT_EQ(button("bitbtn_save")->text(), QStringLiteral("存盘 (&S)"));

    // While adding, "选中" cannot act, so Alt+S is "存盘" again.
    QTest::keyClick(focus(), Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return locked(); }));
    attribute()->setEditText(QStringLiteral("增加"));
    name()->setFocus();
    name()->setText(QStringLiteral("利息收入"));
    QTest::keyClick(focus(), Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !locked(); }));
    EXPECT_EQ(scalar("select count(*) from 摘要 where 摘要='利息收入'").toInt(), 1);

    // Esc does not leave the picker; Alt+S picks the current summary.
    QTest::keyClick(focus(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(focus(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(dm->q_xjrjz.fieldByName(QStringLiteral("摘要")).asString(), QStringLiteral("利息收入"));
    EXPECT_EQ(dm->q_xjrjz.fieldByName(QStringLiteral("属性")).asString(), QStringLiteral("增加"));
}

TEST_F(SummaryCatalogue, MaintenanceKeysAndAltSSaves) {
    open();
    EXPECT_EQ(testing_support::commandKeyFaults(window.get()), QStringList());
    window->grid()->view()->setFocus();
    name()->setFocus();
    name()->setText(QStringLiteral("差旅费"));
    QTest::keyClick(focus(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return scalar("select count(*) from 摘要 where 摘要='差旅费'").toInt() == 1; }));
    QTest::keyClick(focus(), Qt::Key_R, Qt::AltModifier); // 返回
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
}

TEST_F(SummaryCatalogue, LeavingAChangedRowSavesItOrStaysOnIt) {
    // Leaving a row, by another row or a navigator button, saves a change as
    // "存盘" does; a change the save refuses keeps the row and the cursor.
    open();
    QTableView* view = window->grid()->view();
    auto* navigator = child<ui::DBNavigator>(window.get(), "DBNavigator1");
    const char* const dump = "select group_concat(摘要 || 属性 || 操作员 || 操作日期, '/') from 摘要";
    const QString stored = scalar(dump).toString();

    attribute()->setEditText(QStringLiteral("abc"));
    clickRow(view, 1);
    EXPECT_EQ(focus(), attribute());
    attribute()->setEditText(QStringLiteral("增加"));
    name()->setText(QStringLiteral("  "));
    QTest::mouseClick(navigator->button(ui::DBNavigator::Next), Qt::LeftButton);
    clickRow(view, 2);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("属性输入出错,请重新选择!"),
                                             QStringLiteral("摘要名称不能为空,请重新输入!"),
                                             QStringLiteral("摘要名称不能为空,请重新输入!")}));
    EXPECT_EQ(focus(), name());
    EXPECT_EQ(dm->q_zy.currentIndex(), 0);
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(dm->q_zy.state(), store::QueryState::Edit) << "the row stays as typed";
    EXPECT_EQ(scalar(dump).toString(), stored);

    name()->setText(QStringLiteral("改名"));
    clickRow(view, 2);
    EXPECT_EQ(dm->q_zy.currentIndex(), 2);
    EXPECT_EQ(view->currentIndex().row(), 2);
    EXPECT_EQ(scalar("select 摘要 || '/' || 属性 || '/' || 操作员 from 摘要 order by 代码 limit 1").toString(),
              QStringLiteral("改名/增加/出纳甲"));
    EXPECT_GE(scalar("select 操作日期 from 摘要 order by 代码 limit 1").toDouble(),
              scalar("select max(操作日期) from 摘要").toDouble());
}

TEST_F(SummaryCatalogue, PickingLeavesAChangedRowThroughTheSaveToo) {
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    dm->q_xjrjz.append();
    open(&dm->q_xjrjz);
    attribute()->setEditText(QStringLiteral("abc"));
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("属性输入出错,请重新选择!")}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(dm->q_xjrjz.fieldByName(QStringLiteral("属性")).isNull()) << "nothing picked";
}

namespace {

/// The bank account catalogue over the shipped account and `more` added ones.
class BankCatalogue : public DataModuleFixture {
protected:
    std::unique_ptr<journal::TForm_khyh> window;

    void open(const char* more) {
        db.exec(QStringLiteral("insert into 开户银行 (项目) values %1").arg(QString::fromUtf8(more)));
        dm->q_khyh.openWith({QStringLiteral("select * from 开户银行")});
        window = std::make_unique<journal::TForm_khyh>(nullptr);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    ui::DBEdit* name() { return child<ui::DBEdit>(window.get(), "DBEditEh2"); }
};

} // namespace

TEST_F(BankCatalogue, AnAccountLeftWithAnEmptyNameStaysUnsaved) {
    open("('农行')");
    name()->setText(QStringLiteral(" "));
    clickRow(window->grid()->view(), 1);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("开户银行不能为空,请重新输入!")}));
    EXPECT_EQ(dm->q_khyh.currentIndex(), 0);
    EXPECT_EQ(scalar("select group_concat(项目, '/') from 开户银行").toString(), QStringLiteral("工商银行基本户/农行"));

    name()->setText(QStringLiteral("建行"));
    QTest::mouseClick(child<ui::DBNavigator>(window.get(), "DBNavigator1")->button(ui::DBNavigator::Last),
                      Qt::LeftButton);
    EXPECT_EQ(dm->q_khyh.currentIndex(), 1);
    EXPECT_EQ(scalar("select 项目 || '/' || 操作员 from 开户银行 order by rowid limit 1").toString(),
              QStringLiteral("建行/出纳甲"));
}

TEST_F(BankCatalogue, AfterDeletingAnAccountTheNextOneIsCurrentAndShown) {
    open("('农行'), ('建行')");
    QTableView* view = window->grid()->view();
    auto* remove = child<QToolButton>(window.get(), "SpeedButton1");
    clickRow(view, 1);
    messages.answerNext(true);
    remove->click();
    EXPECT_EQ(dm->q_khyh.currentIndex(), 1);
    EXPECT_EQ(view->currentIndex().row(), 1);
    EXPECT_EQ(name()->text(), QStringLiteral("建行"));
    // A second deletion takes the row the grid shows.
    messages.answerNext(true);
    remove->click();
    EXPECT_EQ(scalar("select group_concat(项目, '/') from 开户银行").toString(), QStringLiteral("工商银行基本户"));
    EXPECT_EQ(view->currentIndex().row(), 0);
}
