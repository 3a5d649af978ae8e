#include "ColumnFitting.h"

#include <algorithm>
#include <cmath>

namespace lists {

QList<qreal> fitColumnWidths(const QList<qreal>& widths, const QList<qreal>& minimums, qreal room) {
    const qsizetype count = widths.size();
    QList<bool> held(count, false);
    qreal shared = 0;
    qreal left = room;
    // Each pass holds at least one more column at its minimum, or ends.
    for (bool changed = true; changed;) {
        changed = false;
        shared = 0;
        left = room;
        for (qsizetype c = 0; c < count; ++c) {
            if (held[c])
                left -= minimums.value(c);
            else
                shared += widths[c];
        }
        for (qsizetype c = 0; c < count; ++c) {
            const qreal share = shared > 0 ? widths[c] * left / shared : 0;
            if (!held[c] && share < minimums.value(c)) {
                held[c] = true;
                changed = true;
            }
        }
    }
    QList<qreal> fitted(count);
    for (qsizetype c = 0; c < count; ++c)
        fitted[c] = held[c] ? minimums.value(c) : widths[c] * left / shared;
    return fitted;
}

QList<int> wholePixels(const QList<qreal>& widths, int room) {
    QList<int> pixels;
    int used = 0;
    for (qreal w : widths) {
        pixels << int(std::floor(w + 1e-6));
        used += pixels.last();
    }
    if (room >= 0 && !pixels.isEmpty() && used < room)
        pixels.last() += room - used;
    return pixels;
}

QList<int> widthsAfterResize(const QList<int>& current, const QList<qreal>& proportions,
                             const QList<qreal>& minimums, qsizetype resized, int width, int room) {
    QList<int> widths = current.mid(0, resized);
    int left = 0;
    for (int w : std::as_const(widths))
        left += w;
    const int narrowest = int(std::ceil(minimums.value(resized) - 1e-6));
    if (resized + 1 >= current.size()) {
        widths << std::max(narrowest, room - left);
        return widths;
    }
    const int own = std::max(width, narrowest);
    widths << own;
    const QList<qreal> right = fitColumnWidths(proportions.mid(resized + 1),
                                               minimums.mid(resized + 1), qreal(room - left - own));
    widths += wholePixels(right, std::max(0, room - left - own));
    return widths;
}

} // namespace lists
