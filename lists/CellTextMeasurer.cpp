#include "CellTextMeasurer.h"

#include <QRectF>

#include <algorithm>

namespace lists {

CellTextMeasurer::CellTextMeasurer(const QFont& font)
    : m_font(font)
    , m_metrics(font)
    , m_lineHeight(m_metrics.height())
    , m_advances(0x10000, -1.0f) {}

qreal CellTextMeasurer::advance(char16_t c) {
    float& known = m_advances[c];
    if (known < 0)
        known = float(m_metrics.horizontalAdvance(QChar(c)));
    return known;
}

qreal CellTextMeasurer::estimatedWidth(const QString& text) {
    qreal sum = 0;
    for (QChar c : text) {
        if (c.isSurrogate() || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return -1;
        sum += advance(c.unicode());
    }
    return sum;
}

qreal CellTextMeasurer::lineWidth(const QString& text) {
    const qreal estimate = estimatedWidth(text);
    if (estimate >= 0)
        return estimate;
    return m_metrics.horizontalAdvance(text);
}

qreal CellTextMeasurer::wrappedHeight(const QString& text, qreal width) {
    if (text.isEmpty())
        return m_lineHeight;
    // Summed advances differ from the shaped width by kerning only; well
    // inside the width the text surely stays on one line.
    const qreal estimate = estimatedWidth(text);
    if (estimate >= 0 && estimate <= width * 0.98)
        return m_lineHeight;
    if (estimate >= 0 && estimate <= width * 1.03 && m_metrics.horizontalAdvance(text) <= width)
        return m_lineHeight;

    const QString key = QString::number(width, 'f', 2) + QChar(0x1f) + text;
    const auto found = m_wrapped.constFind(key);
    if (found != m_wrapped.constEnd())
        return found.value();
    const QRectF box = m_metrics.boundingRect(QRectF(0, 0, std::max<qreal>(width, 1), 1e7),
                                              Qt::TextWordWrap, text);
    const qreal height = std::max(m_lineHeight, box.height());
    m_wrapped.insert(key, height);
    return height;
}

} // namespace lists
