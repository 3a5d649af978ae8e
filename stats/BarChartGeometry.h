#pragma once

#include "BarChartAxis.h"
#include "BarChartData.h"

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

namespace stats {

/// One face of a bar as painted: its outline and how the bar's colour is
/// shaded on it.
struct BarFace {
    enum class Shade { Front, Top, Side, Cylinder, Ball };
    QPainterPath path;
    Shade shade = Shade::Front;
};

/// A bar laid out: where it stands, its visible faces in painting order,
/// the mark with its arrow and the bottom label.
struct BarLayout {
    /// The front face's rectangle, from the zero line to the value.
    QRectF body;
    QList<BarFace> faces;
    QPointF arrowFrom;
    QPointF arrowTo;
    QRectF mark;
    QString markText;
    /// The top centre of the label under the bar.
    QPointF labelAt;

    bool contains(const QPointF& scenePoint) const;
};

/// A value written beside an axis, and the box it is drawn in.
struct AxisLabel {
    QString text;
    QRectF box;
};

/// Where every part of the chart goes at one size, without any widget, so
/// that the screen, the saved picture, the printout and the tests agree.
/// The title is placed in widget coordinates; everything else in scene
/// coordinates, which view() maps into the widget (the zoom and vertical
/// offset of the three-dimensional view).
class BarChartGeometry {
public:
    static constexpr int kArrowLength = 20;
    static constexpr int kDepthPercent = 40;
    static constexpr int kVerticalOffset = -10;
    static constexpr int kZoomPercent = 105;
    static constexpr int kTitleFrame = 4;

    BarChartGeometry(const BarChartData& data, const QSizeF& size);

    static QFont titleFont();
    static QFont labelFont();
    static QFont markFont();

    QSizeF size() const { return m_size; }
    bool threeDimensional() const { return m_depth != QPointF(); }
    /// The frame's outer edge and the text inside it; empty without a title.
    QRectF titleBox() const { return m_titleBox; }
    QRectF titleText() const { return m_titleText; }
    QTransform view() const { return m_view; }

    /// The front plane of the value area.
    QRectF plot() const { return m_plot; }
    /// From a point of the front plane to the same point on the back wall;
    /// nothing when the chart is flat.
    QPointF depth() const { return m_depth; }
    const BarChartAxis& axis() const { return m_axis; }
    qreal yOf(store::Currency value) const;

    /// Empty when the chart is flat.
    QPolygonF leftWall() const;
    QPolygonF bottomWall() const;
    const QList<AxisLabel>& leftLabels() const { return m_leftLabels; }
    const QList<AxisLabel>& rightLabels() const { return m_rightLabels; }
    const QList<BarLayout>& bars() const { return m_bars; }

    /// The bar under a widget point, the front one where bars overlap; -1 for none.
    int barAt(const QPointF& widgetPoint) const;

private:
    void placeTitle(const QString& title);
    void placePlot(const BarChartData& data, const QRectF& region);
    void placeBars(const BarChartData& data);

    QSizeF m_size;
    QRectF m_titleBox;
    QRectF m_titleText;
    QTransform m_view;
    QRectF m_plot;
    QPointF m_depth;
    BarChartAxis m_axis;
    QList<AxisLabel> m_leftLabels;
    QList<AxisLabel> m_rightLabels;
    QList<BarLayout> m_bars;
};

} // namespace stats
