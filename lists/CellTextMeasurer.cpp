#include "CellTextMeasurer.h"

#include "ui/Fonts.h"

#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace lists {

CellTextMeasurer::CellTextMeasurer(const QFont& font)
    : m_font(font)
    , m_metrics(font)
    , m_lineHeight(ui::textLineHeight(font))
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

bool CellTextMeasurer::fitsOneLine(const QString& text, qreal width) {
    // Summed advances differ from the shaped width by kerning only; well
    // inside the width the text surely stays on one line.
    const qreal estimate = estimatedWidth(text);
    if (estimate < 0)
        return false;
    return estimate <= width * 0.98 ||
           (estimate <= width * 1.03 && m_metrics.horizontalAdvance(text) <= width);
}

QStringList CellTextMeasurer::breakLines(const QString& text, qreal width) const {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    const QStringList paragraphs = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines.append(QString());
            continue;
        }
        QTextLayout layout(paragraph, m_font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max<qreal>(width, 1));
            lines.append(paragraph.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    return lines;
}

QStringList CellTextMeasurer::wrappedLines(const QString& text, qreal width) {
    if (text.isEmpty())
        return {};
    if (fitsOneLine(text, width))
        return {text};
    const QString key = QString::number(width, 'f', 2) + QChar(0x1f) + text;
    const auto found = m_wrapped.constFind(key);
    if (found != m_wrapped.constEnd())
        return found.value();
    const QStringList lines = breakLines(text, width);
    m_wrapped.insert(key, lines);
    return lines;
}

qreal CellTextMeasurer::wrappedHeight(const QString& text, qreal width) {
    return m_lineHeight * std::max<qsizetype>(1, wrappedLines(text, width).size());
}

} // namespace lists
