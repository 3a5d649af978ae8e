#pragma once

#include "BarChartGeometry.h"

namespace stats {

/// The visible faces of one bar, in painting order. `body` is the bar's
/// front rectangle; `depth` leads from the front plane to the back wall
/// (nothing: the bar is flat). Pyramids point up and inverted pyramids
/// down whatever the sign; the arrow points away from the zero line, to
/// the value (`negative` tells which way that is).
QList<BarFace> barFaces(BarShape shape, const QRectF& body, bool negative, const QPointF& depth);

} // namespace stats
