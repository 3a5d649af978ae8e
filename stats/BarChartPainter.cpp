#include "BarChartPainter.h"

#include "BarChartData.h"
#include "BarChartGeometry.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QRadialGradient>

namespace stats {

namespace {

QBrush faceBrush(const BarFace& face, const QColor& color) {
    switch (face.shade) {
    case BarFace::Shade::Front:
        return color;
    case BarFace::Shade::Top:
        return color.lighter(135);
    case BarFace::Shade::Side:
        return color.darker(150);
    case BarFace::Shade::Cylinder: {
        const QRectF box = face.path.boundingRect();
        QLinearGradient g(box.topLeft(), box.topRight());
        g.setColorAt(0, color.darker(160));
        g.setColorAt(0.35, color.lighter(140));
        g.setColorAt(1, color.darker(180));
        return g;
    }
    case BarFace::Shade::Ball: {
        const QRectF box = face.path.boundingRect();
        QRadialGradient g(box.center(), std::max(box.width(), box.height()) / 2,
                          box.center() - QPointF(box.width() / 5, box.height() / 5));
        g.setColorAt(0, color.lighter(160));
        g.setColorAt(1, color.darker(150));
        return g;
    }
    }
    return color;
}

void paintTitle(QPainter& p, const BarChartData& data, const BarChartGeometry& g) {
    if (g.titleBox().isEmpty())
        return;
    const qreal half = BarChartGeometry::kTitleFrame / 2.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(chart_colors::titleFrame, BarChartGeometry::kTitleFrame, Qt::SolidLine,
                  Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(g.titleBox().adjusted(half, half, -half, -half));
    p.setFont(BarChartGeometry::titleFont());
    p.setPen(chart_colors::titleText);
    p.drawText(g.titleText(), Qt::AlignCenter | Qt::TextSingleLine, data.title);
}

void paintWallsAndGrid(QPainter& p, const BarChartGeometry& g) {
    const QRectF plot = g.plot();
    const QPointF depth = g.depth();
    p.setPen(QPen(Qt::black, 0));
    if (g.threeDimensional()) {
        p.setBrush(chart_colors::leftWall);
        p.drawPolygon(g.leftWall());
        p.setBrush(chart_colors::bottomWall);
        p.drawPolygon(g.bottomWall());
    }

    const QPen grid(chartGridColor(), 1);
    const QPen zero(Qt::darkGray, 1);
    for (const store::Currency& tick : g.axis().ticks()) {
        const qreal y = g.yOf(tick);
        if (y >= plot.bottom() - 0.5 && g.threeDimensional())
            continue; // the bottom wall's edge
        p.setPen(tick.isZero() && g.axis().minimum.raw() < 0 ? zero : grid);
        const QPointF left(plot.left(), y);
        const QPointF right(plot.right(), y);
        p.drawLine(left + depth, right + depth);
        if (g.threeDimensional())
            p.drawLine(left, left + depth);
    }
}

void paintAxes(QPainter& p, const BarChartGeometry& g) {
    const QRectF plot = g.plot();
    const QPointF depth = g.depth();
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(plot.topLeft(), plot.bottomLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.topRight() + depth, plot.bottomRight() + depth);
    constexpr qreal tick = 4;
    for (const store::Currency& value : g.axis().ticks()) {
        const qreal y = g.yOf(value);
        p.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        const QPointF right = QPointF(plot.right(), y) + depth;
        p.drawLine(right, right + QPointF(tick, 0));
    }
    p.setFont(BarChartGeometry::labelFont());
    for (const AxisLabel& label : g.leftLabels())
        p.drawText(label.box, Qt::AlignRight | Qt::AlignVCenter, label.text);
    for (const AxisLabel& label : g.rightLabels())
        p.drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter, label.text);
}

void paintBars(QPainter& p, const BarChartData& data, const BarChartGeometry& g) {
    p.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < g.bars().size(); ++i) {
        const QColor color = data.bars.value(i).color;
        for (const BarFace& face : g.bars()[i].faces) {
            p.setBrush(faceBrush(face, color));
            p.drawPath(face.path);
        }
    }
}

void paintMarksAndLabels(QPainter& p, const BarChartData& data, const BarChartGeometry& g) {
    const QRectF plot = g.plot();
    for (int i = 0; i < g.bars().size(); ++i) {
        const BarLayout& bar = g.bars()[i];
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(bar.arrowFrom, bar.arrowTo);
        p.setBrush(chart_colors::markBox);
        p.drawRect(bar.mark);
        p.setFont(BarChartGeometry::markFont());
        p.drawText(bar.mark, Qt::AlignCenter | Qt::TextSingleLine, bar.markText);

        p.drawLine(QPointF(bar.labelAt.x(), plot.bottom()),
                   QPointF(bar.labelAt.x(), plot.bottom() + 4));
        p.setFont(BarChartGeometry::labelFont());
        const qreal width = plot.width();
        p.drawText(QRectF(bar.labelAt.x() - width / 2, bar.labelAt.y(), width, 100),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, data.bars.value(i).label);
    }
}

} // namespace

QColor chartGridColor() {
    return QGuiApplication::palette().color(QPalette::Midlight);
}

void paintBarChart(QPainter& painter, const BarChartData& data, const BarChartGeometry& geometry) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), geometry.size()), chart_colors::background);
    paintTitle(painter, data, geometry);
    painter.setTransform(geometry.view(), true);
    paintWallsAndGrid(painter, geometry);
    paintAxes(painter, geometry);
    paintBars(painter, data, geometry);
    paintMarksAndLabels(painter, data, geometry);
    painter.restore();
}

} // namespace stats
