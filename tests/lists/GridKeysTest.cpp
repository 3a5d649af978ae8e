#include "ListWindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QToolButton>

namespace {

/// The keys of a list window's grid: Enter moves as Tab does, Ctrl+A selects
/// every row and Ctrl+C puts the selected rows on the clipboard for a
/// spreadsheet.
class GridKeys : public ListWindowTest {
protected:
    void SetUp() override {
        ListWindowTest::SetUp();
        settle();
    }
    QTableView* view() { return grid()->view(); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, modifiers,
                          view()->visualRect(view()->model()->index(row, 3)).center());
    }
    QString copied() {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }
};

const QString kTitles = QStringLiteral(
    "开户银行\t日期\t凭证号\t摘要\t明细\t借方(增加)\t贷方(减少)\t余额\t经办人\t发票单位\t备注\n");

} // namespace

TEST_F(GridKeys, EnterMovesAsTabDoes) {
    QApplication::setActiveWindow(window.get());
    view()->setFocus();
    ASSERT_TRUE(view()->hasFocus());
    const int columns = grid()->visibleColumnCount();
    QTest::keyClick(view(), Qt::Key_Tab);
    const QModelIndex afterTab = view()->currentIndex();
    QTest::keyClick(view(), Qt::Key_Backtab);
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_EQ(view()->currentIndex(), afterTab);
    // Through the row's last cell to the next row, which the query follows.
    for (int i = 1; i < columns; ++i)
        QTest::keyClick(view(), i % 2 ? Qt::Key_Enter : Qt::Key_Return,
                        i % 2 ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(view()->currentIndex().row(), 1);
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
    // Shift+Enter goes back as Shift+Tab does.
    QTest::keyClick(view(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 0);
    EXPECT_EQ(view()->currentIndex().column(), columns - 1);
    EXPECT_TRUE(view()->hasFocus());
}

TEST_F(GridKeys, CopyPutsTheSelectedRowsWithTheirTitlesOnTheClipboard) {
    db.exec(QStringLiteral("update 银行日记帐 set 明细 = '两行\r\n带\t制表', "
                           "余额 = ccur('-1234567.5') where 凭证号 = '1'"));
    dm->q_xjrjz.openWith(dm->q_xjrjz.sql());
    // Sort marks belong to the title row, not to the copied titles.
    clickTitle(QStringLiteral("日期"));
    ASSERT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));
    clickRow(1);
    EXPECT_EQ(
        copied(),
        kTitles +
            QStringLiteral("工行\t2005-3-2\t1\t付款\t两行 带 制表\t\t0.00\t-1,234,567.50\t\t\t\n"));

    // Shift+click takes a range; the rows come in the grid's order.
    clickRow(2, Qt::ShiftModifier);
    EXPECT_EQ(copied(),
              kTitles + QStringLiteral(
                            "工行\t2005-3-2\t1\t付款\t两行 带 制表\t\t0.00\t-1,234,567.50\t\t\t\n"
                            "工行\t2005-3-3\t3\t收款\t\t1,000.00\t\t\t\t\t\n"));

    // Ctrl+A selects every row; a hidden column is not copied.
    testing_support::child<QToolButton>(window.get(), "ToolButton2")->click();
    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view()->selectionModel()->selectedRows().size(), 3);
    const QString all = copied();
    const QStringList lines = all.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5); // titles, three rows, the end of the last line
    EXPECT_EQ(lines[0], kTitles.chopped(QStringLiteral("\t备注\n").size()));
    EXPECT_EQ(lines[1], QStringLiteral("工行\t2005-3-1\t2\t收款\t\t100.25\t\t\t\t"));
    EXPECT_EQ(lines[3].count(QLatin1Char('\t')), 9);
}
