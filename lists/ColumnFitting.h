#pragma once

#include <QList>

namespace lists {

/// Widths in proportion to `widths` that together fill `room`, none below its
/// minimum: a column whose share would fall short keeps its minimum and the
/// others share the rest. When the minimums alone need more than the room,
/// every column has its minimum and the total is more than the room.
QList<qreal> fitColumnWidths(const QList<qreal>& widths, const QList<qreal>& minimums, qreal room);

} // namespace lists
