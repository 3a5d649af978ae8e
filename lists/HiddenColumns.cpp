#include "HiddenColumns.h"

namespace lists {

QString hiddenColumnCaption(const QString& title) {
    QString caption = title;
    if (caption.count(QLatin1Char('|')) >= 2) {
        const qsizetype last = caption.lastIndexOf(QLatin1Char('|'));
        const qsizetype secondLast = caption.lastIndexOf(QLatin1Char('|'), last - 1);
        caption = caption.mid(secondLast + 1);
    }
    caption.replace(QLatin1Char('|'), QLatin1Char('\t'));
    return caption;
}

} // namespace lists
