#pragma once

#include <QString>

class QFontMetricsF;

namespace lists {

/// What a cell with `room` pixels for its text shows of a date or a number:
/// the whole text when it fits; otherwise as many "#" as fit, which nobody
/// reads as another number, where a cut or elided text would read as one.
QString wholeOrHashes(const QString& text, const QFontMetricsF& metrics, qreal room);

} // namespace lists
