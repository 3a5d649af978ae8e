// The chart's layout without a window: axis range, bars, marks and hits.

#include "stats/BarChartAxis.h"
#include "stats/BarChartGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using stats::BarChartAxis;
using stats::BarChartData;
using stats::BarChartGeometry;
using stats::BarShape;
using store::Currency;

namespace {

Currency units(std::int64_t n) {
    return Currency::fromUnits(n);
}

bool isRoundStep(Currency step) {
    std::int64_t raw = step.raw();
    while (raw % 10 == 0)
        raw /= 10;
    return raw == 1 || raw == 2 || raw == 5;
}

/// Every tick of the axis stands on a multiple of its step.
void expectWellFormed(const BarChartAxis& axis, Currency low, Currency high, int maxIntervals) {
    EXPECT_TRUE(isRoundStep(axis.step)) << axis.step.toString().toStdString();
    EXPECT_LE(axis.minimum, std::min(low, Currency()));
    EXPECT_GE(axis.maximum, std::max(high, Currency()));
    EXPECT_EQ(axis.minimum.raw() % axis.step.raw(), 0);
    EXPECT_EQ(axis.maximum.raw() % axis.step.raw(), 0);
    EXPECT_LE((axis.maximum.raw() - axis.minimum.raw()) / axis.step.raw(), maxIntervals);
    EXPECT_TRUE(axis.ticks().contains(Currency())) << "zero is always on the axis";
}

BarChartData chartOf(const QList<std::int64_t>& values, bool threeDimensional = true,
                     BarShape shape = BarShape::Rectangle) {
    BarChartData data;
    data.title = QStringLiteral("现金日记帐统计(月份)");
    data.threeDimensional = threeDimensional;
    data.shape = shape;
    for (int i = 0; i < values.size(); ++i)
        data.bars.append({QStringLiteral("%1月").arg(i + 1, 2, 10, QLatin1Char('0')),
                          units(values[i]), stats::barPaletteColor(i)});
    return data;
}

/// A year whose first month is `first`, the others smaller.
QList<std::int64_t> twelveMonths(std::int64_t first) {
    QList<std::int64_t> values = {first};
    for (int i = 1; i < 12; ++i)
        values << first / 4;
    return values;
}

TEST(ChartAxis, RangesAreRoundAndIncludeZero) {
    struct Case {
        std::int64_t low, high;
        int intervals;
    };
    for (const Case& c : {Case{100, 2500, 10}, Case{-40, 2500, 10}, Case{-900, -30, 8},
                          Case{12500, 24000, 12}, Case{-8800, 24000, 5}, Case{3, 3, 10}}) {
        SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
        expectWellFormed(BarChartAxis::covering(units(c.low), units(c.high), c.intervals),
                         units(c.low), units(c.high), c.intervals);
    }
    // All positive: the axis starts at zero; all negative: it ends there.
    EXPECT_EQ(BarChartAxis::covering(units(500), units(2500), 10).minimum, Currency());
    EXPECT_EQ(BarChartAxis::covering(units(-900), units(-30), 10).maximum, Currency());
    // The smallest fitting step: 0..2500 in at most 10 steps goes by 500, not 1000.
    const BarChartAxis fine = BarChartAxis::covering(units(0), units(2500), 10);
    EXPECT_EQ(fine.step, units(500));
    EXPECT_EQ(fine.maximum, units(2500));
}

TEST(ChartAxis, DegenerateAndExtremeValues) {
    const BarChartAxis nothing = BarChartAxis::covering(Currency(), Currency(), 10);
    EXPECT_EQ(nothing.minimum, Currency());
    EXPECT_GT(nothing.maximum, Currency());
    EXPECT_FALSE(nothing.ticks().isEmpty());

    // Cents only, and amounts near the limit of the type, without overflow.
    const Currency cent = Currency::fromRaw(100);
    expectWellFormed(BarChartAxis::covering(-cent, cent, 4), -cent, cent, 4);
    const Currency huge = Currency::fromRaw(std::numeric_limits<std::int64_t>::max() - 5);
    const BarChartAxis top = BarChartAxis::covering(-huge, huge, 10);
    EXPECT_LE(top.minimum, -huge);
    EXPECT_GE(top.maximum, huge);
    EXPECT_GT(top.step, Currency());
    EXPECT_LE(top.ticks().size(), 12);
}

TEST(ChartGeometry, OneBarPerRowInRowOrder) {
    for (bool depth : {true, false}) {
        const BarChartGeometry g(chartOf({300, 100, 200}, depth), QSizeF(1000, 600));
        ASSERT_EQ(g.bars().size(), 3);
        const qreal slot = g.plot().width() / 3;
        for (int i = 0; i < 3; ++i) {
            const QRectF body = g.bars()[i].body;
            EXPECT_NEAR(body.width(), slot * 0.8, 0.01);
            EXPECT_NEAR(body.center().x(), g.plot().left() + slot * (i + 0.5), 0.01);
            EXPECT_NEAR(body.bottom(), g.yOf(Currency()), 0.01);
        }
        EXPECT_LT(g.bars()[0].body.top(), g.bars()[2].body.top());
        EXPECT_LT(g.bars()[2].body.top(), g.bars()[1].body.top());
        EXPECT_EQ(g.bars()[0].markText, QStringLiteral("300"));
    }

    const BarChartGeometry single(chartOf({42}), QSizeF(800, 500));
    ASSERT_EQ(single.bars().size(), 1);
    EXPECT_NEAR(single.bars()[0].body.center().x(), single.plot().center().x(), 0.01);
}

TEST(ChartGeometry, NegativeMonthHangsBelowZeroWithItsMarkUnderneath) {
    for (bool depth : {true, false}) {
        SCOPED_TRACE(depth ? "3-D" : "flat");
        const BarChartGeometry g(chartOf({1200, -800}, depth), QSizeF(1000, 600));
        const qreal zero = g.yOf(Currency());
        EXPECT_LT(g.axis().minimum, units(-800));

        const stats::BarLayout& up = g.bars()[0];
        EXPECT_NEAR(up.body.bottom(), zero, 0.01);
        EXPECT_LT(up.mark.bottom(), up.body.top());
        EXPECT_NEAR(up.arrowFrom.y() - up.arrowTo.y(), BarChartGeometry::kArrowLength, 0.01);

        const stats::BarLayout& down = g.bars()[1];
        EXPECT_NEAR(down.body.top(), zero, 0.01);
        EXPECT_NEAR(down.body.bottom(), g.yOf(units(-800)), 0.01);
        EXPECT_EQ(down.markText, QStringLiteral("-800"));
        EXPECT_GE(down.arrowFrom.y(), down.body.bottom() - 0.5)
            << "the arrow leaves the bar's lower end";
        EXPECT_NEAR(down.arrowTo.y() - down.arrowFrom.y(), BarChartGeometry::kArrowLength, 0.01);
        EXPECT_NEAR(down.mark.top(), down.arrowTo.y(), 0.01);

        // Marks stay inside the plot, clear of the labels under it.
        for (const stats::BarLayout& bar : g.bars()) {
            EXPECT_GE(bar.mark.top(), g.plot().top() + g.depth().y() - 0.5);
            EXPECT_LE(bar.mark.bottom(), g.plot().bottom() + 0.5);
        }
    }
}

TEST(ChartGeometry, ClicksHitTheBarUnderThePointer) {
    for (bool depth : {true, false}) {
        for (BarShape shape :
             {BarShape::Rectangle, BarShape::Pyramid, BarShape::Cylinder, BarShape::Arrow}) {
            SCOPED_TRACE(testing::Message() << (depth ? "3-D " : "flat ") << int(shape));
            const BarChartGeometry g(chartOf({500, -300, 900}, depth, shape), QSizeF(900, 500));
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(g.barAt(g.view().map(g.bars()[i].body.center())), i);
            // Between two bars, and in the corner of the chart.
            const QPointF gap((g.bars()[0].body.right() + g.bars()[1].body.left()) / 2,
                              g.bars()[1].body.bottom() + 5);
            EXPECT_EQ(g.barAt(g.view().map(gap)), -1);
            EXPECT_EQ(g.barAt(QPointF(1, 1)), -1);
        }
    }
    // In depth the top of a block is part of the bar; flat there is nothing there.
    const BarChartGeometry deep(chartOf({500, 100}), QSizeF(900, 500));
    const QPointF onTop = deep.bars()[0].body.topLeft() + deep.depth() / 2 + QPointF(2, 0);
    EXPECT_EQ(deep.barAt(deep.view().map(onTop)), 0);
    const BarChartGeometry flat(chartOf({500, 100}, false), QSizeF(900, 500));
    const QPointF above = flat.bars()[0].body.topLeft() + deep.depth() / 2 + QPointF(2, 0);
    EXPECT_EQ(flat.barAt(flat.view().map(above)), -1);
}

TEST(ChartGeometry, TheViewInDepth) {
    const QSizeF size(1000, 600);
    const BarChartGeometry deep(chartOf({10, 20}), size);
    const BarChartGeometry flat(chartOf({10, 20}, false), size);

    EXPECT_FALSE(flat.threeDimensional());
    EXPECT_TRUE(flat.view().isIdentity());
    EXPECT_TRUE(flat.leftWall().isEmpty());

    ASSERT_TRUE(deep.threeDimensional());
    EXPECT_GT(deep.depth().x(), 0);
    EXPECT_LT(deep.depth().y(), 0) << "the back wall lies up and to the right";
    EXPECT_NEAR(deep.view().m11(), 1.05, 1e-9);
    EXPECT_NEAR(deep.view().m22(), 1.05, 1e-9);
    EXPECT_EQ(deep.leftWall().size(), 4);
    EXPECT_EQ(deep.bottomWall().size(), 4);
    // Walls and labels stay inside the widget after the zoom.
    const QRectF inside(QPointF(0, 0), size);
    EXPECT_TRUE(inside.contains(deep.view().map(deep.leftWall()).boundingRect()));
    EXPECT_TRUE(inside.contains(deep.view().map(deep.bottomWall()).boundingRect()));
    EXPECT_TRUE(inside.contains(deep.view().mapRect(deep.rightLabels().first().box)));
    // The title is framed and centred above the chart.
    EXPECT_NEAR(deep.titleBox().center().x(), size.width() / 2, 0.5);
    EXPECT_LT(deep.titleBox().bottom(), deep.view().map(deep.leftWall()).boundingRect().top());
    // Both value axes carry the same ticks.
    EXPECT_EQ(deep.leftLabels().size(), deep.axis().ticks().size());
    EXPECT_EQ(deep.rightLabels().size(), deep.axis().ticks().size());
}

TEST(ChartGeometry, ShapesInDepthAndFlat) {
    // Faces seen of each shape: a block three, a pyramid two (its base is
    // underneath), an arrow its front and right-hand sides, a cylinder its body and top.
    const struct {
        BarShape shape;
        int deepFaces;
    } cases[] = {{BarShape::Rectangle, 3}, {BarShape::Pyramid, 2}, {BarShape::InvertedPyramid, 3},
                 {BarShape::Cylinder, 2},  {BarShape::Ellipse, 1}, {BarShape::Arrow, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.shape));
        const BarChartGeometry deep(chartOf(twelveMonths(700), true, c.shape), QSizeF(1000, 600));
        const BarChartGeometry flat(chartOf(twelveMonths(700), false, c.shape), QSizeF(1000, 600));
        EXPECT_EQ(deep.bars()[0].faces.size(), c.deepFaces);
        ASSERT_EQ(flat.bars()[0].faces.size(), 1);
        // Every shape stays within its bar's room.
        const QRectF body = flat.bars()[0].body;
        EXPECT_TRUE(body.adjusted(-0.5, -0.5, 0.5, 0.5)
                        .contains(flat.bars()[0].faces[0].path.boundingRect()));
    }
    // Where the shape carries its weight: a pyramid on its base, an arrow
    // at its head, which points to the value.
    const auto weight = [](BarShape shape, std::int64_t value) {
        const BarChartGeometry g(chartOf(twelveMonths(value), false, shape), QSizeF(1000, 600));
        const QRectF body = g.bars()[0].body;
        const QPainterPath& path = g.bars()[0].faces[0].path;
        int upper = 0, lower = 0;
        for (int row = 0; row < 20; ++row) {
            for (int column = 0; column < 20; ++column) {
                const QPointF p(body.left() + body.width() * (column + 0.5) / 20,
                                body.top() + body.height() * (row + 0.5) / 20);
                if (path.contains(p))
                    ++(row < 10 ? upper : lower);
            }
        }
        return upper - lower;
    };
    EXPECT_LT(weight(BarShape::Pyramid, 700), 0);
    EXPECT_LT(weight(BarShape::Pyramid, -700), 0) << "point up, whatever the sign";
    EXPECT_GT(weight(BarShape::InvertedPyramid, 700), 0);
    EXPECT_GT(weight(BarShape::Arrow, 700), 0);
    EXPECT_LT(weight(BarShape::Arrow, -700), 0);
}

TEST(ChartValueText, GroupsThousandsAndDropsTrailingZeros) {
    EXPECT_EQ(stats::chartValueText(*Currency::parse(QStringLiteral("12500.5"))),
              QStringLiteral("12,500.5"));
    EXPECT_EQ(stats::chartValueText(units(-8800)), QStringLiteral("-8,800"));
    EXPECT_EQ(stats::chartValueText(Currency()), QStringLiteral("0"));
    EXPECT_EQ(stats::chartValueText(Currency::fromRaw(-1)), QStringLiteral("-0.0001"));
}

} // namespace
