#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <vector>

namespace lists {

/// Measures cell texts in one font for the page layout of long lists. Most
/// cells fit on one line, which the cached advances of single characters
/// settle without shaping the text; only the others are wrapped and measured.
class CellTextMeasurer {
public:
    explicit CellTextMeasurer(const QFont& font);

    const QFont& font() const { return m_font; }
    /// The height of one line of text.
    qreal lineHeight() const { return m_lineHeight; }
    /// The height of `text` wrapped at word boundaries into `width`.
    qreal wrappedHeight(const QString& text, qreal width);
    /// The width of `text` on one line; a hair wider than drawn where the
    /// font kerns, never narrower.
    qreal lineWidth(const QString& text);

private:
    qreal advance(char16_t c);
    // The sum of single-character advances, or a negative value when the text
    // holds line breaks or characters outside the basic plane.
    qreal estimatedWidth(const QString& text);

    QFont m_font;
    QFontMetricsF m_metrics;
    qreal m_lineHeight = 0;
    std::vector<float> m_advances;   // by UTF-16 code unit; negative: not measured yet
    QHash<QString, qreal> m_wrapped; // key: width, a separator and the text
};

} // namespace lists
