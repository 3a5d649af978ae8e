// What the cash journal's grid shows of dates and amounts: always the whole
// text, or marks that cannot be read as another number.

#include "JournalFixture.h"

#include "ui/Fonts.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

using testing_support::child;

namespace {

store::BookkeepingPeriod december2026() {
    return store::BookkeepingPeriod(store::DateTime::fromDate(QDate(2026, 12, 1)));
}

/// The tooltip a user gets on resting the mouse at `pos` of `widget`.
QString tooltipAt(QWidget* widget, const QPoint& pos) {
    // A tooltip fades out a moment after it is told to hide.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
    QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

/// Drags the right edge of a column's title to make the column `width` wide.
void dragColumnEdge(QHeaderView* header, int column, int width) {
    const int edge = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
    const int y = header->height() / 2;
    const QPoint to(edge - (header->sectionSize(column) - width), y);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), to);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
}

bool onlyHashes(const QString& text) {
    return !text.isEmpty() && text == QString(text.size(), QLatin1Char('#'));
}

class JournalGridText : public JournalFixture {
protected:
    void SetUp() override {
        JournalFixture::SetUp();
        ui::installFontSubstitutions();
        db.exec(QStringLiteral(
            "insert into 现金日记帐 (日期, 摘要, 借方, 贷方, 余额) values "
            "(cdate('2026-12-10'), '销售收入', ccur('12345678.9'), null, ccur('12345678.9')),"
            "(cdate('2026-12-30'), '差旅费', null, ccur('12482524.81'), ccur('-136845.91'))"));
        openCash(december2026());
    }
    lists::DataGrid* grid() { return window->grid(); }
    int column(const char* field) { return grid()->indexOfField(QString::fromUtf8(field)); }
    QRect cellRect(int row, int column) {
        QTableView* view = grid()->view();
        return view->visualRect(view->model()->index(row, column));
    }
    /// The footer cell of a column, in the footer's coordinates.
    QPoint footerPoint(QWidget* footer, int column) {
        QTableView* view = grid()->view();
        const int x = view->frameWidth() + view->verticalHeader()->width() +
                      view->horizontalHeader()->sectionViewportPosition(column) +
                      view->horizontalHeader()->sectionSize(column) / 2;
        return QPoint(x, footer->height() / 2);
    }
    /// Every date and amount of the month, and the footer sums, fit the room a
    /// cell gives its text: the column less its grid line and text margins.
    void expectEveryNumberWhole() {
        QTableView* view = grid()->view();
        const QFontMetrics cells(view->font());
        const int margin =
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const struct {
            const char* field;
            QString text;
        } shown[] = {
            {"日期", QStringLiteral("2026-12-10")},    {"日期", QStringLiteral("2026-12-30")},
            {"借方", QStringLiteral("12,345,678.90")}, {"贷方", QStringLiteral("12,482,524.81")},
            {"余额", QStringLiteral("12,345,678.90")}, {"余额", QStringLiteral("-136,845.91")},
        };
        for (const auto& s : shown) {
            const int c = column(s.field);
            EXPECT_GE(grid()->columnWidth(c) - 1 - 2 * margin, cells.horizontalAdvance(s.text))
                << s.field << " " << s.text.toStdString();
        }
        for (int row = 0; row < 2; ++row) {
            for (const char* field : {"日期", "借方", "贷方", "余额"}) {
                const QString text = view->model()->index(row, column(field)).data().toString();
                EXPECT_EQ(grid()->shownText(row, column(field)), text) << field;
            }
        }
        for (const char* field : {"借方", "贷方"})
            EXPECT_EQ(grid()->shownFooterText(column(field)), grid()->footerText(column(field)));
    }
    int totalWidth() {
        int total = 0;
        for (int c = 0; c < grid()->columnCount(); ++c)
            total += grid()->columnWidth(c);
        return total;
    }
};

} // namespace

TEST_F(JournalGridText, DatesAndAmountsShowWholeWhetherOrNotTheGridFitsItsWidth) {
    expectEveryNumberWhole();
    EXPECT_EQ(grid()->columnWidth(column("摘要")), 120); // text columns keep their designed width

    // 满屏显示 twice: the columns fill the width, in a wide window and in a
    // narrow one, where only the text columns give way.
    auto* fit = child<QCheckBox>(window.get(), "CheckBox1");
    QTest::mouseClick(fit, Qt::LeftButton, {}, QPoint(8, fit->height() / 2));
    QTest::mouseClick(fit, Qt::LeftButton, {}, QPoint(8, fit->height() / 2));
    ASSERT_TRUE(grid()->fitToWidth());
    window->resize(1300, 600);
    QApplication::processEvents();
    expectEveryNumberWhole();
    EXPECT_EQ(totalWidth(), grid()->view()->viewport()->width());

    window->resize(560, 600);
    QApplication::processEvents();
    expectEveryNumberWhole();
    EXPECT_LT(grid()->columnWidth(column("明细")), 200 * 560 / 1115);
}

TEST_F(JournalGridText, ANumberThatNoLongerFitsShowsHashesAndItsWholeValueAsTooltip) {
    QTableView* view = grid()->view();
    const int balance = column("余额");
    dragColumnEdge(view->horizontalHeader(), balance, 30);
    EXPECT_EQ(grid()->columnWidth(balance), 30);
    EXPECT_TRUE(onlyHashes(grid()->shownText(1, balance)))
        << grid()->shownText(1, balance).toStdString();
    EXPECT_EQ(tooltipAt(view->viewport(), cellRect(1, balance).center()),
              QStringLiteral("-136,845.91"));
    // Whole texts need no tooltip.
    EXPECT_EQ(tooltipAt(view->viewport(), cellRect(1, column("摘要")).center()), QString());

    // A footer sum too: its leading digits are never lost.
    const int debit = column("借方");
    dragColumnEdge(view->horizontalHeader(), debit, 40);
    EXPECT_EQ(grid()->columnWidth(debit), 40);
    EXPECT_TRUE(onlyHashes(grid()->shownFooterText(debit)))
        << grid()->shownFooterText(debit).toStdString();
    auto* footer = child<QWidget>(grid(), "DBGridEh1Footer");
    EXPECT_EQ(tooltipAt(footer, footerPoint(footer, debit)), QStringLiteral("12,345,678.90"));
    EXPECT_EQ(tooltipAt(footer, footerPoint(footer, column("贷方"))), QString());
}
