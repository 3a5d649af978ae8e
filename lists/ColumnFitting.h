#pragma once

#include <QList>

namespace lists {

/// Widths in proportion to `widths` that together fill `room`, none below its
/// minimum: a column whose share would fall short keeps its minimum and the
/// others share the rest. When the minimums alone need more than the room,
/// every column has its minimum and the total is more than the room.
QList<qreal> fitColumnWidths(const QList<qreal>& widths, const QList<qreal>& minimums, qreal room);

/// Whole pixels, rounded down; with a `room` the last column takes what the
/// rounding left of it, so that the whole fills it exactly.
QList<int> wholePixels(const QList<qreal>& widths, int room = -1);

/// The widths of a grid that fills `room` after the user dragged column
/// `resized` to `width`: the columns left of it keep their `current` widths,
/// the dragged one has `width` but at least its minimum, and the columns right
/// of it share what is left in proportion to `proportions`, none below its
/// minimum. The last column cannot leave a gap or stick out: it takes the
/// rest. When the minimums need more than the room, the total is more.
QList<int> widthsAfterResize(const QList<int>& current, const QList<qreal>& proportions,
                             const QList<qreal>& minimums, qsizetype resized, int width, int room);

} // namespace lists
