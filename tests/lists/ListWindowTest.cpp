#include "ListWindowFixture.h"
#include "support/RefusedChanges.h"

#include "lists/DataGrid.h"
#include "lists/HiddenColumns.h"
#include "lists/ListWindow.h"
#include "lists/SnapshotBuilder.h"
#include "store/EngineError.h"
#include "support/CommandKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using lists::FooterKind;
using lists::GridColumn;
using lists::ListWindowTraits;
using testing_support::child;


TEST(HiddenColumns, CaptionKeepsTheLastTwoLevels) {
    EXPECT_EQ(lists::hiddenColumnCaption(QStringLiteral("A|B|C")), QStringLiteral("B\tC"));
    EXPECT_EQ(lists::hiddenColumnCaption(QStringLiteral("A|B")), QStringLiteral("A\tB"));
    EXPECT_EQ(lists::hiddenColumnCaption(QStringLiteral("备注")), QStringLiteral("备注"));
    EXPECT_EQ(lists::hiddenColumnCaption(QStringLiteral("W|X|Y|Z")), QStringLiteral("Y\tZ"));
}

TEST_F(ListWindowTest, FootersFollowTheQuery) {
    const int sum = grid()->indexOfField(QStringLiteral("借方"));
    const int credit = grid()->indexOfField(QStringLiteral("贷方"));
    const int count = grid()->indexOfField(QStringLiteral("摘要"));
    EXPECT_EQ(grid()->footerText(1), QStringLiteral("记录数"));
    EXPECT_EQ(grid()->footerText(count), QStringLiteral("3"));
    EXPECT_EQ(grid()->footerText(sum), QStringLiteral("1,100.25"));
    EXPECT_EQ(grid()->footerText(credit), QStringLiteral("0.00")); // 0.0001, shown with two decimals

    store::Query& q = dm->q_xjrjz;
    q.append();
    q.fieldByName(QStringLiteral("开户银行")).setString(QStringLiteral("工行"));
    q.fieldByName(QStringLiteral("借方")).setString(QStringLiteral("0.75"));
    q.post();
    EXPECT_EQ(grid()->footerText(count), QStringLiteral("4"));
    EXPECT_EQ(grid()->footerText(sum), QStringLiteral("1,101.00"));
    q.first();
    q.deleteCurrent();
    EXPECT_EQ(grid()->footerText(count), QStringLiteral("3"));
    EXPECT_EQ(grid()->footerText(sum), QStringLiteral("1,000.75"));
    q.openWith({QStringLiteral("select * from 银行日记帐 where 1=0")});
    EXPECT_EQ(grid()->footerText(count), QStringLiteral("0"));
    EXPECT_EQ(grid()->footerText(sum), QStringLiteral("0.00"));
}

TEST_F(ListWindowTest, AFooterSumBeyondTheAmountRangeSaysSoAndExportRefuses) {
    // Two amounts that fit, whose sum does not.
    db.exec(QStringLiteral("update 银行日记帐 set 借方 = 5000000000000000000 where 借方 is not null"));
    dm->q_xjrjz.close();
    dm->q_xjrjz.open();
    const int sum = grid()->indexOfField(QStringLiteral("借方"));
    EXPECT_EQ(grid()->footerText(sum), QStringLiteral("超出范围"));
    EXPECT_EQ(grid()->footerText(grid()->indexOfField(QStringLiteral("贷方"))), QStringLiteral("0.00"));
    EXPECT_TRUE(messages.records().isEmpty()) << "painting the footer shows no box";

    // The export of that list would print a wrong or cut total: it stops with the reason.
    QString reason;
    try {
        lists::computeFooter(dm->q_xjrjz, grid()->columns()[sum]);
    } catch (const store::EngineError& e) {
        reason = e.message();
    } catch (...) {
        reason = QStringLiteral("not an engine error");
    }
    EXPECT_EQ(reason, QStringLiteral("金额超出了系统能够计算的范围"
                                     "(绝对值不能超过922,337,203,685,477.5807)"));
}

TEST_F(ListWindowTest, TwoColourRows) {
    EXPECT_EQ(grid()->rowBackground(0), QColor(0xEC, 0xF9, 0xF9));
    EXPECT_EQ(grid()->rowBackground(1), QColor(Qt::white));
    EXPECT_EQ(grid()->rowBackground(2), QColor(0xEC, 0xF9, 0xF9));
    QTest::mouseClick(child<QCheckBox>(window.get(), "cbDichromatic"), Qt::LeftButton);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(grid()->rowBackground(row), QColor(Qt::white));
}

TEST_F(ListWindowTest, FitToWidthFollowsTheBox) {
    auto* fit = child<QCheckBox>(window.get(), "CheckBox1");
    EXPECT_TRUE(fit->isChecked());
    EXPECT_FALSE(grid()->fitToWidth()); // the journals start with designed widths
    EXPECT_EQ(grid()->columnWidth(0), 120);
    QTest::mouseClick(fit, Qt::LeftButton);
    EXPECT_FALSE(grid()->fitToWidth());
    QTest::mouseClick(fit, Qt::LeftButton);
    EXPECT_TRUE(grid()->fitToWidth());
    int total = 0;
    for (int c = 0; c < grid()->columnCount(); ++c)
        total += grid()->columnWidth(c);
    EXPECT_EQ(total, grid()->view()->viewport()->width());
}

TEST_F(ListWindowTest, HidingStopsAtTheLimitAndReshowsInOrder) {
    auto* show = child<QToolButton>(window.get(), "ToolButton1");
    auto* hide = child<QToolButton>(window.get(), "ToolButton2");
    EXPECT_FALSE(show->isEnabled());
    EXPECT_EQ(show->toolTip(), QStringLiteral("显示隐藏的列 (F12)"));
    EXPECT_EQ(hide->toolTip(), QStringLiteral("隐藏最右边的列 (F11)"));
    for (int i = 0; i < 4; ++i)
        hide->click();
    EXPECT_EQ(grid()->visibleColumnCount(), 9);
    EXPECT_TRUE(show->isEnabled());
    EXPECT_TRUE(hide->isEnabled());
    QStringList menu;
    for (QAction* a : show->menu()->actions())
        menu << a->text();
    EXPECT_EQ(menu, QStringList({QStringLiteral("发票单位"), QStringLiteral("备注")}));

    // Choosing 备注 shows it right after 经办人; 发票单位 stays hidden.
    show->menu()->actions().last()->trigger();
    EXPECT_EQ(grid()->columns()[9].fieldName, QStringLiteral("备注"));
    EXPECT_TRUE(grid()->isColumnVisible(9));
    EXPECT_EQ(grid()->columns()[8].fieldName, QStringLiteral("经办人"));
    EXPECT_FALSE(grid()->isColumnVisible(10));
    EXPECT_TRUE(show->isEnabled());

    // The face shows the last hidden column at the end and disables itself.
    show->click();
    EXPECT_EQ(grid()->columns()[10].fieldName, QStringLiteral("发票单位"));
    EXPECT_TRUE(grid()->isColumnVisible(10));
    EXPECT_FALSE(show->isEnabled());
    EXPECT_TRUE(show->menu()->actions().isEmpty());
    // A hidden column is not exported or printed either.
    hide->click();
    const lists::TableSnapshot snapshot = grid()->snapshot();
    EXPECT_EQ(snapshot.columns.size(), 10);
    EXPECT_EQ(snapshot.columns.last().fieldName, QStringLiteral("备注"));
}

TEST_F(ListWindowTest, TitleClicksStepMarkersAndRequery) {
    clickTitle(QStringLiteral("日期"));
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));
    clickTitle(QStringLiteral("日期"));
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期 DESC "));
    EXPECT_EQ(dm->q_xjrjz.fieldByName(QStringLiteral("凭证号")).asString(), QStringLiteral("3"));
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 0);
    clickTitle(QStringLiteral("日期"));
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));
    // A column without a title button does nothing.
    clickTitle(QStringLiteral("余额"));
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));

    // With Ctrl held the report waits for Ctrl's release.
    clickTitle(QStringLiteral("凭证号"), Qt::ControlModifier);
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));
    EXPECT_EQ(grid()->markers().position(grid()->indexOfField(QStringLiteral("凭证号"))), 2);
    clickTitle(QStringLiteral("日期"), Qt::ControlModifier);
    QTest::keyRelease(grid()->view(), Qt::Key_Control);
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期 DESC , 凭证号"));
    EXPECT_TRUE(grid()->view()->model()->headerData(1, Qt::Horizontal).toString().endsWith(QLatin1String("1")));

    // A plain click clears the others.
    clickTitle(QStringLiteral("摘要"));
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 摘要"));
    // Three Ctrl clicks starting unmarked leave no marker and no ordering at all.
    clickTitle(QStringLiteral("摘要"));
    clickTitle(QStringLiteral("摘要"), Qt::ControlModifier);
    EXPECT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 摘要 DESC "));
    QTest::keyRelease(grid()->view(), Qt::Key_Control);
    EXPECT_EQ(lastSqlLine(), QString());
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 3);
}

TEST_F(ListWindowTest, SortingAnEmptyOrClosedListOnlyMarks) {
    dm->q_xjrjz.close();
    const QStringList before = dm->q_xjrjz.sql();
    clickTitle(QStringLiteral("日期"));
    EXPECT_EQ(grid()->markers().marker(1), lists::SortMarker::Ascending);
    EXPECT_EQ(dm->q_xjrjz.sql(), before);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
}

TEST_F(ListWindowTest, DeleteAsksFirstAndNoIsTheDefault) {
    auto* remove = child<QToolButton>(window.get(), "SpeedButton1");
    remove->click(); // the recorder answers No
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("要删除当前记录吗? ")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("请选择"));
    EXPECT_EQ(scalar("select count(*) from 银行日记帐").toInt(), 3);
    messages.answerNext(true);
    remove->click();
    EXPECT_EQ(scalar("select count(*) from 银行日记帐").toInt(), 2);
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 2);
    EXPECT_EQ(grid()->footerText(3), QStringLiteral("2"));

    // Closed: nothing is asked.
    messages.clear();
    dm->q_xjrjz.close();
    remove->click();
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ListWindowTest, RefusedDeleteKeepsTheRowAndSaysWhy) {
    testing_support::refuseChanges(db.db(), QStringLiteral("delete"), QStringLiteral("银行日记帐"),
                                   QStringLiteral("1 = 1"), QStringLiteral("kept"));
    messages.answerNext(true);
    child<QToolButton>(window.get(), "SpeedButton1")->click();
    ASSERT_EQ(messages.records().size(), 2);
    EXPECT_EQ(messages.records()[1].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 3);
}

TEST_F(ListWindowTest, GridFollowsTheCursorBothWays) {
    dm->q_xjrjz.last();
    EXPECT_EQ(grid()->view()->currentIndex().row(), 2);
    QTest::mouseClick(grid()->view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid()->view()->visualRect(grid()->view()->model()->index(1, 2)).center());
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
}

TEST_F(ListWindowTest, TheCommonCommandsHaveKeysAndEscIsNoneOfThem) {
    EXPECT_EQ(testing_support::commandKeyFaults(window.get()), QStringList());
    QApplication::setActiveWindow(window.get());
    QWidget* view = grid()->view();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(view, Qt::Key_F8); // 删除, answered No
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.texts().size() == 1; }));
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("要删除当前记录吗? ")}));
    QTest::keyClick(view, Qt::Key_F11); // 隐藏最右边的列
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid()->visibleColumnCount() == 10; }));
    QTest::keyClick(view, Qt::Key_R, Qt::AltModifier); // 返回
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));
}
