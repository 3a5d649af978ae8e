#include "ListWindowFixture.h"

#include <QScrollBar>
#include <QToolButton>

namespace {

/// Column widths a user drags: with 满屏显示 the columns right of the dragged
/// one share what is left, dates and amounts never narrower than their text,
/// and what the user arranged outlives every re-query of the window.
class GridColumnWidths : public ListWindowTest {
protected:
    void SetUp() override {
        ListWindowTest::SetUp();
        settle();
    }
    int viewportWidth() { return grid()->view()->viewport()->width(); }
    QScrollBar* horizontalBar() { return grid()->view()->horizontalScrollBar(); }
    int column(const char* field) { return grid()->indexOfField(QString::fromUtf8(field)); }
    /// No date or amount anywhere shows "#" marks instead of its digits.
    void expectNothingCut() {
        for (int c = 0; c < grid()->columnCount(); ++c) {
            if (!grid()->isColumnVisible(c) || grid()->neededWidth(c) == 0)
                continue;
            EXPECT_GE(grid()->columnWidth(c), grid()->neededWidth(c)) << "column " << c;
            for (int row = 0; row < dm->q_xjrjz.recordCount(); ++row)
                EXPECT_FALSE(grid()->shownText(row, c).contains(QLatin1Char('#')))
                    << "column " << c;
            EXPECT_FALSE(grid()->shownFooterText(c).contains(QLatin1Char('#'))) << "column " << c;
        }
    }
};

} // namespace

TEST_F(GridColumnWidths, WideningAColumnWhileFittedReproportionsTheColumnsRightOfIt) {
    fitOn();
    const QList<int> before = widths();
    ASSERT_EQ(totalWidth(), viewportWidth());
    const int detail = column("明细");
    dragEdge(QStringLiteral("明细"), 100);

    const QList<int> after = widths();
    for (int c = 0; c < detail; ++c)
        EXPECT_EQ(after[c], before[c]) << "a column left of the dragged one stays";
    EXPECT_EQ(after[detail], before[detail] + 100);
    EXPECT_EQ(totalWidth(), viewportWidth()) << "the whole still fits";
    EXPECT_FALSE(horizontalBar()->isVisible());
    // The text columns on the right gave way in proportion to each other (160 : 200; the
    // last one takes the pixels that rounding leaves).
    const auto ratio = [this] {
        return double(widths()[column("发票单位")]) / widths()[column("备注")];
    };
    EXPECT_NEAR(ratio(), 0.8, 0.06);
    EXPECT_LT(after[column("备注")], before[column("备注")]);
    expectNothingCut();

    // Narrowing it again gives the room back to the right-hand part, in proportion to the
    // widths it had when the drag began.
    dragEdge(QStringLiteral("明细"), -150);
    EXPECT_EQ(widths()[detail], before[detail] - 50);
    EXPECT_EQ(totalWidth(), viewportWidth());
    EXPECT_GT(widths()[column("备注")], after[column("备注")]);
    EXPECT_NEAR(ratio(), 0.8, 0.06);
    expectNothingCut();
}

TEST_F(GridColumnWidths, AmountsRightOfAVeryWideColumnStayWholeAndAScrollBarReachesThem) {
    fitOn();
    dragEdge(QStringLiteral("明细"), 900);
    expectNothingCut();
    EXPECT_GT(totalWidth(), viewportWidth());
    // The view lays its scroll bar out once the events of the drag are handled.
    EXPECT_TRUE(QTest::qWaitFor([this] { return horizontalBar()->isVisible(); }, 1000))
        << "the columns pushed out of sight can be reached";
    EXPECT_GT(horizontalBar()->maximum(), 0);
}

TEST_F(GridColumnWidths, TheLastColumnOfAFittedGridFillsTheRest) {
    fitOn();
    const QList<int> before = widths();
    dragEdge(QStringLiteral("备注"), -80);
    EXPECT_EQ(widths(), before);
    dragEdge(QStringLiteral("备注"), 80);
    EXPECT_EQ(totalWidth(), viewportWidth());
    EXPECT_FALSE(horizontalBar()->isVisible());
}

TEST_F(GridColumnWidths, DraggedWidthsSurviveSortingAndReloading) {
    dragEdge(QStringLiteral("明细"), 60);
    dragEdge(QStringLiteral("发票单位"), -40);
    // An amount column the user narrows below its text keeps that width too (it shows marks).
    const int debit = column("借方");
    dragEdge(QStringLiteral("借方"), -40);
    ASSERT_LT(grid()->columnWidth(debit), grid()->neededWidth(debit));
    const QList<int> dragged = widths();
    clickTitle(QStringLiteral("日期"));
    ASSERT_EQ(lastSqlLine(), QStringLiteral(" ORDER BY 日期"));
    EXPECT_EQ(widths(), dragged) << "after a title-click sort";
    dm->q_xjrjz.openWith(dm->q_xjrjz.sql());
    EXPECT_EQ(widths(), dragged) << "after a reload";

    fitOn();
    dragEdge(QStringLiteral("摘要"), 70);
    const QList<int> fitted = widths();
    clickTitle(QStringLiteral("日期"));
    EXPECT_EQ(widths(), fitted) << "fitted, after a title-click sort";
    dm->q_xjrjz.close();
    dm->q_xjrjz.open();
    EXPECT_EQ(widths(), fitted) << "fitted, after a reload";
    // Hiding a column fits the rest again, from what the user arranged.
    testing_support::child<QToolButton>(window.get(), "ToolButton2")->click();
    EXPECT_EQ(totalWidth(), viewportWidth());
    EXPECT_GT(widths()[column("摘要")], fitted[column("摘要")]);
}
