#pragma once

#include "store/Currency.h"

#include <QColor>
#include <QList>
#include <QString>

namespace stats {

/// How every bar of the chart is drawn; the order is that of the shape list
/// of the chart window.
enum class BarShape { Rectangle, Pyramid, InvertedPyramid, Cylinder, Ellipse, Arrow };

struct BarChartBar {
    QString label;
    store::Currency value;
    QColor color;
};

/// What the statistics chart shows: its title, one bar per row and the view.
struct BarChartData {
    QString title;
    QList<BarChartBar> bars;
    BarShape shape = BarShape::Rectangle;
    bool threeDimensional = true;
};

/// The colour a bar gets from its position when the chart opens: distinct
/// neighbours that stand out from the light green background and the walls.
QColor barPaletteColor(int index);

/// A value as the marks and the axes show it: grouped thousands, the
/// decimals it has and no trailing zeros ("1,234.5", "-80", "0").
QString chartValueText(store::Currency value);

} // namespace stats
