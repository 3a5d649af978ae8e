#include "BarChartData.h"

namespace stats {

QColor barPaletteColor(int index) {
    // No greens or aqua: they would melt into the background and the left wall.
    static const QRgb palette[] = {
        qRgb(230, 57, 70),   // red
        qRgb(58, 100, 216),  // blue
        qRgb(247, 148, 29),  // orange
        qRgb(142, 68, 173),  // purple
        qRgb(255, 214, 10),  // yellow
        qRgb(24, 52, 110),   // navy
        qRgb(214, 90, 160),  // rose
        qRgb(140, 86, 45),   // brown
        qRgb(96, 160, 220),  // sky
        qRgb(128, 0, 32),    // maroon
        qRgb(250, 170, 140), // salmon
        qRgb(110, 110, 120), // slate
    };
    constexpr int count = int(sizeof palette / sizeof palette[0]);
    return QColor(palette[((index % count) + count) % count]);
}

QString chartValueText(store::Currency value) {
    QString text = value.format(4, true);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace stats
