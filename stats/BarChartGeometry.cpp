#include "BarChartGeometry.h"

#include "BarChartShapes.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

constexpr qreal kOuterMargin = 10;
constexpr qreal kTitlePadding = 4;
constexpr qreal kTitleGap = 8;
constexpr qreal kTick = 4;
constexpr qreal kLabelGap = 3;
constexpr qreal kMarkPaddingX = 4;
constexpr qreal kMarkPaddingY = 1;
// Value labels stand at least this many label heights apart.
constexpr qreal kLabelSpacing = 3;
// The share of the chart's smaller side that a depth of 100 per cent stands for.
constexpr qreal kFullDepthShare = 0.25;
constexpr qreal kBarWidthShare = 0.8;

QFont arial(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

/// The lowest point of a bar's outline on the upright line at `x`.
qreal lowestPoint(const BarLayout& bar, qreal x) {
    const QRectF around = bar.body.adjusted(-1, -bar.body.width() - 1, 1, 1);
    QPainterPath strip;
    strip.addRect(QRectF(x - 0.5, around.top(), 1, around.height()));
    qreal lowest = bar.body.top();
    for (const BarFace& face : bar.faces) {
        const QPainterPath cut = face.path.intersected(strip);
        if (!cut.isEmpty())
            lowest = std::max(lowest, cut.boundingRect().bottom());
    }
    return lowest;
}

} // namespace

bool BarLayout::contains(const QPointF& scenePoint) const {
    return std::any_of(faces.begin(), faces.end(),
                       [&](const BarFace& f) { return f.path.contains(scenePoint); });
}

QFont BarChartGeometry::titleFont() {
    return arial(21, true, true);
}
QFont BarChartGeometry::labelFont() {
    return arial(11);
}
QFont BarChartGeometry::markFont() {
    return arial(11);
}

BarChartGeometry::BarChartGeometry(const BarChartData& data, const QSizeF& size)
    : m_size(size) {
    placeTitle(data.title);
    const qreal top = m_titleBox.isEmpty() ? kOuterMargin : m_titleBox.bottom() + kTitleGap;
    const QRectF area(kOuterMargin, top, size.width() - 2 * kOuterMargin,
                      size.height() - top - kOuterMargin);
    if (!data.threeDimensional) {
        placePlot(data, area);
    } else {
        // The view lifts the chart and enlarges it about its centre; the
        // scene is laid out so that the result fills the area below the title.
        const QRectF lifted = area.adjusted(0, -kVerticalOffset, 0, 0);
        const qreal zoom = kZoomPercent / 100.0;
        const QPointF c = lifted.center();
        m_view = QTransform::fromTranslate(-c.x(), -c.y()) * QTransform::fromScale(zoom, zoom) *
                 QTransform::fromTranslate(c.x(), c.y() + kVerticalOffset);
        const QRectF region(c.x() - lifted.width() / zoom / 2, c.y() - lifted.height() / zoom / 2,
                            lifted.width() / zoom, lifted.height() / zoom);
        const qreal d = std::max<qreal>(0, kDepthPercent / 100.0 * kFullDepthShare *
                                               std::min(region.width(), region.height()));
        m_depth = QPointF(std::round(d), -std::round(d));
        placePlot(data, region);
    }
    placeBars(data);
}

void BarChartGeometry::placeTitle(const QString& title) {
    if (title.isEmpty())
        return;
    const QFontMetricsF metrics(titleFont());
    const QSizeF text(metrics.horizontalAdvance(title), metrics.height());
    const qreal edge = kTitleFrame + kTitlePadding;
    const QSizeF box(text.width() + 2 * edge, text.height() + 2 * edge);
    m_titleBox = QRectF(QPointF((m_size.width() - box.width()) / 2, kOuterMargin), box);
    m_titleText = m_titleBox.adjusted(edge, edge, -edge, -edge);
}

void BarChartGeometry::placePlot(const BarChartData& data, const QRectF& region) {
    const QFontMetricsF labels(labelFont());
    const QFontMetricsF marks(markFont());
    const qreal dx = m_depth.x();
    const qreal dy = -m_depth.y();

    const qreal plotTop = region.top() + dy + labels.height() / 2;
    const qreal plotBottom = region.bottom() - labels.height() - kTick - kLabelGap;
    const qreal height = std::max<qreal>(1, plotBottom - plotTop);

    // The range leaves room for every mark inside the plot: above a bar
    // that reaches up, below one that reaches down.
    store::Currency high, low;
    bool anyUp = data.bars.isEmpty();
    bool anyDown = false;
    for (const BarChartBar& bar : data.bars) {
        high = std::max(high, bar.value);
        low = std::min(low, bar.value);
        anyUp = anyUp || bar.value.raw() >= 0;
        anyDown = anyDown || bar.value.raw() < 0;
    }
    const qreal markSpace = kArrowLength + marks.height() + 2 * kMarkPaddingY + 2;
    const qreal needUp = anyUp ? std::max<qreal>(0, markSpace - dy / 2) : 0;
    const qreal needDown = anyDown ? markSpace : 0;
    const int intervals = std::max(1, int(height / (kLabelSpacing * labels.height())));

    // A first guess from the share of the height the marks take; rounding
    // the ends widens the range and so shrinks the room in pixels, which
    // the next rounds make up for.
    const double limit = 9.0e18;
    const auto currency = [limit](double raw) {
        return store::Currency::fromRaw(std::int64_t(std::clamp(raw, -limit, limit)));
    };
    const double top = double(high.raw());
    const double bottom = double(low.raw());
    const double span = (top - bottom) / std::max<qreal>(0.1, 1 - (needUp + needDown) / height);
    double roomHigh = top + needUp / height * span;
    double roomLow = bottom - needDown / height * span;
    for (int round = 0; round < 8; ++round) {
        m_axis = BarChartAxis::covering(currency(std::floor(roomLow)),
                                        currency(std::ceil(roomHigh)), intervals);
        const double axisHigh = double(m_axis.maximum.raw());
        const double axisLow = double(m_axis.minimum.raw());
        const double perPixel = (axisHigh - axisLow) / height;
        const double missingUp = needUp - (axisHigh - top) / perPixel;
        const double missingDown = needDown - (bottom - axisLow) / perPixel;
        if (missingUp <= 0.01 && missingDown <= 0.01)
            break;
        roomHigh = axisHigh + std::max(0.0, missingUp) * perPixel;
        roomLow = axisLow - std::max(0.0, missingDown) * perPixel;
    }

    qreal widest = 0;
    const QList<store::Currency> ticks = m_axis.ticks();
    for (const store::Currency& t : ticks)
        widest = std::max(widest, labels.horizontalAdvance(chartValueText(t)));
    const qreal left = region.left() + widest + kTick + kLabelGap;
    const qreal right = region.right() - widest - kTick - kLabelGap - dx;
    m_plot = QRectF(QPointF(left, plotTop), QPointF(std::max(left + 1, right), plotTop + height));

    for (const store::Currency& t : ticks) {
        const QString text = chartValueText(t);
        const qreal y = yOf(t);
        const qreal h = labels.height();
        m_leftLabels.append(
            {text, QRectF(m_plot.left() - kTick - kLabelGap - widest, y - h / 2, widest, h)});
        m_rightLabels.append(
            {text, QRectF(m_plot.right() + dx + kTick + kLabelGap, y - dy - h / 2, widest, h)});
    }
}

void BarChartGeometry::placeBars(const BarChartData& data) {
    const QFontMetricsF marks(markFont());
    const int count = int(data.bars.size());
    if (count == 0)
        return;
    const qreal slot = m_plot.width() / count;
    const qreal width = slot * kBarWidthShare;
    const qreal zeroY = yOf(store::Currency());
    for (int i = 0; i < count; ++i) {
        const BarChartBar& bar = data.bars[i];
        const bool negative = bar.value.raw() < 0;
        const qreal x = m_plot.left() + i * slot + (slot - width) / 2;
        const qreal valueY = yOf(bar.value);
        BarLayout layout;
        layout.body = QRectF(QPointF(x, std::min(zeroY, valueY)),
                             QPointF(x + width, std::max(zeroY, valueY)));
        layout.faces = barFaces(data.shape, layout.body, negative, m_depth);

        // The arrow leaves the middle of the bar's top, half way back; under
        // a bar that reaches down, the lowest point of its outline there.
        const qreal centreX = layout.body.center().x();
        const QPointF top = QPointF(centreX, layout.body.top()) + m_depth / 2;
        layout.arrowFrom = negative ? QPointF(top.x(), lowestPoint(layout, top.x())) : top;
        layout.arrowTo = layout.arrowFrom + QPointF(0, negative ? kArrowLength : -kArrowLength);
        layout.markText = chartValueText(bar.value);
        const QSizeF markSize(marks.horizontalAdvance(layout.markText) + 2 * kMarkPaddingX,
                              marks.height() + 2 * kMarkPaddingY);
        const QPointF markCorner(layout.arrowTo.x() - markSize.width() / 2,
                                 negative ? layout.arrowTo.y()
                                          : layout.arrowTo.y() - markSize.height());
        layout.mark = QRectF(markCorner, markSize);
        layout.labelAt = QPointF(centreX, m_plot.bottom() + kTick + kLabelGap);
        m_bars.append(layout);
    }
}

qreal BarChartGeometry::yOf(store::Currency value) const {
    return m_plot.bottom() - m_axis.fraction(value) * m_plot.height();
}

QPolygonF BarChartGeometry::leftWall() const {
    if (!threeDimensional())
        return {};
    QPolygonF wall;
    wall << m_plot.topLeft() << m_plot.topLeft() + m_depth << m_plot.bottomLeft() + m_depth
         << m_plot.bottomLeft();
    return wall;
}

QPolygonF BarChartGeometry::bottomWall() const {
    if (!threeDimensional())
        return {};
    QPolygonF wall;
    wall << m_plot.bottomLeft() << m_plot.bottomRight() << m_plot.bottomRight() + m_depth
         << m_plot.bottomLeft() + m_depth;
    return wall;
}

int BarChartGeometry::barAt(const QPointF& widgetPoint) const {
    bool invertible = false;
    const QPointF scene = m_view.inverted(&invertible).map(widgetPoint);
    if (!invertible)
        return -1;
    for (int i = int(m_bars.size()) - 1; i >= 0; --i) {
        if (m_bars[i].contains(scene))
            return i;
    }
    return -1;
}

} // namespace stats
