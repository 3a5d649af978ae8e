#include "ColumnFitting.h"

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

} // namespace lists
