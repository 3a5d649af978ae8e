#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace lists {

/// Measures and breaks cell texts in one font for the page layout of long
/// lists. Most cells fit on one line, which the cached advances of single
/// characters settle without shaping the text; only the others are broken.
class CellTextMeasurer {
public:
    explicit CellTextMeasurer(const QFont& font);

    const QFont& font() const { return m_font; }
    /// The height of one line of text.
    qreal lineHeight() const { return m_lineHeight; }
    /// `text` broken into lines no wider than `width`: at its line breaks, at
    /// word boundaries where there are any, and between any two characters
    /// of a run that has none (Chinese, long numbers), so that no character
    /// is lost. Only a single character wider than `width` is wider. Empty
    /// text has no lines.
    QStringList wrappedLines(const QString& text, qreal width);
    /// The height of `text` as wrappedLines() breaks it; one line at least.
    qreal wrappedHeight(const QString& text, qreal width);
    /// The width of `text` on one line; a hair wider than drawn where the
    /// font kerns, never narrower.
    qreal lineWidth(const QString& text);

private:
    qreal advance(char16_t c);
    // The sum of single-character advances, or a negative value when the text
    // holds line breaks or characters outside the basic plane.
    qreal estimatedWidth(const QString& text);
    bool fitsOneLine(const QString& text, qreal width);
    QStringList breakLines(const QString& text, qreal width) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    qreal m_lineHeight = 0;
    std::vector<float> m_advances;         // by UTF-16 code unit; negative: not measured yet
    QHash<QString, QStringList> m_wrapped; // key: width, a separator and the text
};

} // namespace lists
