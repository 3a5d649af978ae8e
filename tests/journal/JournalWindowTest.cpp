#include "JournalFixture.h"

#include "journal/JournalEditor.h"
#include "support/CommandKeys.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>

#include <algorithm>

using testing_support::child;
using testing_support::onNextModal;

TEST_F(JournalFixture, CashWindowShowsTheMonthWithCountAndSums) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 贷方) values "
                           "(cdate('2005-2-28'), 'x', ccur('1'), null),"
                           "(cdate('2005-3-1'), 'a', ccur('1000'), null),"
                           "(cdate('2005-3-31'), 'b', null, ccur('250.5')),"
                           "(cdate('2005-4-1'), 'y', ccur('1'), null)"));
    openCash();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("现金日记账"));
    lists::DataGrid* grid = window->grid();
    EXPECT_EQ(grid->footerText(0), QStringLiteral("记录数"));
    EXPECT_EQ(grid->footerText(1), QStringLiteral("2"));
    EXPECT_EQ(grid->footerText(3), QStringLiteral("1,000.00"));
    EXPECT_EQ(grid->footerText(4), QStringLiteral("250.50"));
    EXPECT_EQ(grid->columns()[3].titleText(), QStringLiteral("借方(增加)"));
    EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("提示：当余额出现不正确时，请使用整理功能！"));
    EXPECT_EQ(child<QLabel>(window.get(), "Label2")->text(),
              QStringLiteral("只能编辑记帐时间内的记录；通过查询可以查看其它时间内的记录！"));
    EXPECT_FALSE(child<QToolButton>(window.get(), "ToolButton2")->isEnabled());
    EXPECT_EQ(child<QToolButton>(window.get(), "SpeedButton6")->toolTip(), QStringLiteral("只能整理当前结算时间的记录 (F6)"));
}

TEST_F(JournalFixture, TidyAsksAndRecomputesFromZero) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 贷方, 余额) values "
                           "(cdate('2005-3-1'), 'a', null, ccur('30'), 0),"
                           "(cdate('2005-3-2'), 'b', ccur('100'), null, 0)"));
    openCash();
    click("SpeedButton6"); // answered No
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("确实需要整理当前记帐时间月份的记录吗? ")}));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("请选择"));
    EXPECT_EQ(scalar("select sum(余额) from 现金日记帐").toLongLong(), 0);
    messages.answerNext(true);
    click("SpeedButton6");
    EXPECT_EQ(column("余额"), QStringList({"-30", "70"}));
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
}

TEST_F(JournalFixture, BankWindowWaitsForAnAccountAndKeepsAccountsApart) {
    db.exec(QStringLiteral("insert into 开户银行 (项目) values ('农行')"));
    db.exec(QStringLiteral("insert into 银行日记帐 (开户银行, 日期, 摘要, 借方, 贷方) values "
                           "('工商银行基本户', cdate('2005-3-1'), 'a', ccur('10'), null),"
                           "('农行', cdate('2005-3-2'), 'b', ccur('5'), null),"
                           "('工商银行基本户', cdate('2005-3-3'), 'c', null, ccur('4')),"
                           "('农行', cdate('2005-3-4'), 'd', ccur('5'), null)"));
    openBank();
    EXPECT_EQ(window->accountList()->currentIndex(), -1);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());
    EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("请先选择开户银行："));
    EXPECT_TRUE(child<QToolButton>(window.get(), "ToolButton2")->isEnabled());
    // Without an account: edit, tidy, print and export say so; delete says nothing.
    for (const char* button : {"bitbtn_edit", "SpeedButton6", "SpeedButton3", "SpeedButton2"})
        click(button);
    click("SpeedButton1");
    EXPECT_EQ(messages.texts(), QStringList(4, QStringLiteral("请先选择开户银行!")));

    chooseAccount(QStringLiteral("农行"));
    messages.answerNext(true);
    click("SpeedButton6");
    EXPECT_EQ(column("余额"), QStringList({"5", "10"}));
    chooseAccount(QStringLiteral("工商银行基本户"));
    messages.answerNext(true);
    click("SpeedButton6");
    EXPECT_EQ(column("余额"), QStringList({"10", "6"}));
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("2"));
}

TEST_F(JournalFixture, BankStatusBarCarriesBothHints) {
    openBank();
    auto* status = child<QStatusBar>(window.get(), "StatusBar1");
    EXPECT_EQ(status->findChild<QLabel*>()->text(),
              QStringLiteral("提示：当余额出现不正确时，请使用整理功能！只能编辑记帐时间内的记录；通过查询可以查看其它时间内的记录！"));
}

TEST_F(JournalFixture, SearchAndEditorAreTheKindsOwnWindows) {
    QStringList classes;
    auto record = [&classes](QDialog* dialog) {
        classes << QString::fromLatin1(dialog->metaObject()->className());
        child<QAbstractButton>(dialog, "bitbtn_close")->click();
    };
    openCash();
    onNextModal(record);
    click("SpeedButton5");
    onNextModal(record);
    click("bitbtn_edit");
    openBank();
    chooseAccount(QStringLiteral("工商银行基本户"));
    onNextModal(record);
    click("SpeedButton5");
    onNextModal(record);
    click("bitbtn_edit");
    EXPECT_EQ(classes, QStringList({"journal::TForm_xjrjz_cx", "journal::TForm_xjrjz_edit",
                                    "journal::TForm_yhrjz_cx", "journal::TForm_yhrjz_edit"}));
}

TEST_F(JournalFixture, RebuildingTheMonthTakesTheSortMarkAway) {
    db.exec(QStringLiteral(
        "insert into 现金日记帐 (日期, 摘要, 借方, 凭证号) values "
        "(cdate('2005-3-1'), 'a', ccur('7'), '1'), (cdate('2005-3-2'), 'b', ccur('8'), '2')"));
    openCash();
    lists::DataGrid* grid = window->grid();
    const int date = grid->indexOfField(QStringLiteral("日期"));
    auto clickDateTitle = [grid, date] {
        QHeaderView* header = grid->view()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(date) + 5, header->height() / 2));
        ASSERT_EQ(grid->markers().marker(date), lists::SortMarker::Ascending);
    };
    auto expectUnmarked = [grid, date, this](const char* after) {
        EXPECT_EQ(grid->markers().marker(date), lists::SortMarker::None) << after;
        EXPECT_FALSE(grid->view()
                         ->model()
                         ->headerData(date, Qt::Horizontal)
                         .toString()
                         .contains(QStringLiteral("▲")))
            << after;
        EXPECT_EQ(dm->q_xjrjz.sql().last(), QStringLiteral("order by 日期+编号")) << after;
    };

    clickDateTitle();
    messages.answerNext(true);
    click("SpeedButton6"); // 整理
    expectUnmarked("整理");

    clickDateTitle();
    onNextModal([](QDialog* editor) { child<QAbstractButton>(editor, "bitbtn_close")->click(); });
    click("bitbtn_edit");
    expectUnmarked("编辑");

    clickDateTitle();
    onNextModal([](QDialog* search) {
        QTest::keyClicks(child<QWidget>(search, "Edit1"), "2");
        child<QAbstractButton>(search, "bitbtn_seek")->click();
    });
    click("SpeedButton5");
    expectUnmarked("查询");
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 1);

    // A re-sort keeps its own mark.
    clickDateTitle();
    EXPECT_EQ(dm->q_xjrjz.sql().last(), QStringLiteral(" ORDER BY 日期"));
    EXPECT_EQ(grid->markers().marker(date), lists::SortMarker::Ascending);
}

TEST_F(JournalFixture, EditorClosedWithoutChangesStillRecomputes) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方, 余额) values (cdate('2005-3-1'), 'a', ccur('7'), 99)"));
    openCash();
    onNextModal([](QDialog* editor) { QTest::keyClick(editor, Qt::Key_Escape); });
    click("bitbtn_edit");
    EXPECT_EQ(column("余额"), QStringList({"7"}));
}

TEST_F(JournalFixture, CopyAndSelectAllDoNothingInTheJournals) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                           "(cdate('2005-3-1'), 'a', ccur('7')), (cdate('2005-3-2'), 'b', ccur('8'))"));
    openCash();
    QTableView* view = window->grid()->view();
    view->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
    // A click with Shift selects no range either.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      view->visualRect(view->model()->index(1, 1)).center());
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
}

TEST_F(JournalFixture, DoubleClickOnAnEmptyGridOpensTheEditor) {
    openCash();
    ASSERT_EQ(dm->q_xjrjz.recordCount(), 0);
    QString opened;
    onNextModal([&opened](QDialog* editor) {
        opened = editor->objectName();
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    QWidget* body = window->grid()->view()->viewport();
    QTest::mouseDClick(body, Qt::LeftButton, Qt::NoModifier, body->rect().center());
    EXPECT_EQ(opened, QStringLiteral("Form_xjrjz_edit"));

    // The bank window without an account says what 编辑 says.
    openBank();
    body = window->grid()->view()->viewport();
    QTest::mouseDClick(body, Qt::LeftButton, Qt::NoModifier, body->rect().center());
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("请先选择开户银行!")}));
}

namespace {

/// The darkest grey of a button as it is painted now: its glyph or caption.
int darkestGrey(QWidget* button) {
    const QImage image = button->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

TEST_F(JournalFixture, DisabledColumnAndNavigatorButtonsLookDisabled) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                           "(cdate('2005-3-1'), 'a', ccur('7')), (cdate('2005-3-2'), 'b', ccur('8'))"));
    openCash();
    // The cash window's column buttons are disabled for its life; at the first row so are
    // the navigator's first two.
    auto* showHidden = child<QToolButton>(window.get(), "ToolButton1");
    auto* hideRightmost = child<QToolButton>(window.get(), "ToolButton2");
    ASSERT_FALSE(hideRightmost->isEnabled());
    const QList<QToolButton*> navigator =
        child<QWidget>(window.get(), "DBNavigator1")->findChildren<QToolButton*>();
    ASSERT_EQ(navigator.size(), 4);
    ASSERT_FALSE(navigator[0]->isEnabled());
    ASSERT_TRUE(navigator[3]->isEnabled());
    EXPECT_GT(darkestGrey(showHidden), 150);
    EXPECT_GT(darkestGrey(hideRightmost), 150);
    EXPECT_GT(darkestGrey(navigator[0]), 150);
    EXPECT_LT(darkestGrey(navigator[3]), 100);

    openBank();
    hideRightmost = child<QToolButton>(window.get(), "ToolButton2");
    ASSERT_TRUE(hideRightmost->isEnabled());
    EXPECT_LT(darkestGrey(hideRightmost), 100);
}

TEST_F(JournalFixture, EveryCommandHasAKeyAndEscLeavesTheWindowOpen) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方, 余额) values "
                           "(cdate('2005-3-1'), '提取现金', '增加', ccur('500'), ccur('500'))"));
    openCash();
    EXPECT_EQ(testing_support::commandKeyFaults(window.get()), QStringList());
    EXPECT_EQ(child<QToolButton>(window.get(), "bitbtn_edit")->text(), QStringLiteral("编辑"));
    EXPECT_EQ(child<QToolButton>(window.get(), "bitbtn_edit")->toolTip(), QStringLiteral("编辑 (F2)"));

    // A cashier without a mouse: the grid has the focus, F2 opens the editor on its row.
    QWidget* grid = window->grid()->view();
    grid->setFocus();
    QString shown;
    onNextModal(
        [&](QDialog* editor) {
            shown = editor->windowTitle();
            QTest::keyClick(editor, Qt::Key_Escape);
        },
        window.get());
    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringLiteral("现金日记帐编辑"));

    QApplication::setActiveWindow(window.get()); // as the desktop does when the editor closes
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(grid, Qt::Key_R, Qt::AltModifier); // 返回
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }));

    openBank();
    EXPECT_EQ(testing_support::commandKeyFaults(window.get()), QStringList());
}

TEST_F(JournalFixture, AfterDeletingTheNextEntryIsCurrentAndShown) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                           "(cdate('2005-3-1'), 'a', ccur('1')), (cdate('2005-3-2'), 'b', ccur('2')),"
                           "(cdate('2005-3-3'), 'c', ccur('3'))"));
    openCash();
    QTableView* view = window->grid()->view();
    testing_support::clickRow(view, 1);
    messages.answerNext(true);
    click("SpeedButton1");
    EXPECT_EQ(column("摘要"), QStringList({"a", "c"}));
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
    EXPECT_EQ(view->currentIndex().row(), 1);
    // A second deletion takes the entry the grid shows.
    messages.answerNext(true);
    click("SpeedButton1");
    EXPECT_EQ(scalar("select group_concat(摘要) from 现金日记帐").toString(), QStringLiteral("a"));
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 0);
}
