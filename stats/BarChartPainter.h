#pragma once

#include <QColor>

class QPainter;

namespace stats {

class BarChartGeometry;
struct BarChartData;

/// The look of the statistics chart.
namespace chart_colors {
inline const QColor background{128, 255, 128};
inline const QColor titleFrame{64, 128, 128};
inline const QColor titleText{0, 0, 128};
inline const QColor leftWall{0, 255, 255};
inline const QColor bottomWall{255, 0, 128};
inline const QColor markBox{255, 255, 190};
} // namespace chart_colors

/// The grid lines' colour: the system's scroll-bar grey, which the palette
/// keeps as its mid-light shade.
QColor chartGridColor();

/// Paints the whole chart as `geometry` lays it out, onto a device of the
/// geometry's size (or one the painter's transform maps it to).
void paintBarChart(QPainter& painter, const BarChartData& data, const BarChartGeometry& geometry);

} // namespace stats
