#include "WholeText.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace lists {

QString wholeOrHashes(const QString& text, const QFontMetricsF& metrics, qreal room) {
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= room)
        return text;
    const qreal hash = metrics.horizontalAdvance(QLatin1Char('#'));
    const int fitting = hash > 0 ? int(std::floor(std::max<qreal>(room, 0) / hash)) : 0;
    return QString(std::min<int>(fitting, int(text.size())), QLatin1Char('#'));
}

} // namespace lists
