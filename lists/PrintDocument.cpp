#include "PrintDocument.h"

#include "CellTextMeasurer.h"
#include "ColumnFitting.h"
#include "PageMacros.h"
#include "TitleLevels.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace lists {

namespace {

constexpr qreal kScreenDpi = 96.0;
constexpr int kRowsPerChunk = 200;

// Fonts are sized in device pixels so that measuring and drawing agree on
// any device; without hinting the advances scale with the painter. Glyphs
// come straight from the face's character map: shaping would draw digits
// after Latin letters ("ABC123") with tabular glyphs of the Noto CJK faces
// that no character maps to, which a PDF's text layer then leaves out.
QFont atResolution(const QFont& font, qreal resolution) {
    QFont f(font);
    const qreal pixels = font.pointSizeF() > 0 ? font.pointSizeF() * resolution / 72.0
                                               : font.pixelSize() * resolution / kScreenDpi;
    f.setPixelSize(std::max(1, int(std::lround(pixels))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::PreferNoShaping));
    return f;
}

QFont fontOf(const CellFont& cell) {
    QFont f(cell.family);
    f.setPointSizeF(cell.pointSize > 0 ? cell.pointSize : 9);
    f.setBold(cell.bold);
    f.setItalic(cell.italic);
    f.setUnderline(cell.underline);
    f.setStrikeOut(cell.strikeOut);
    return f;
}

int lineCount(const QStringList& a, const QStringList& b, const QStringList& c) {
    return int(std::max({a.size(), b.size(), c.size()}));
}

} // namespace

PageCanvas PageCanvas::forPaper(const QPageSize& size, QPageLayout::Orientation orientation,
                                qreal resolution) {
    const QPageLayout layout(size, orientation, QMarginsF());
    PageCanvas canvas;
    canvas.resolution = resolution;
    canvas.paper = layout.fullRect(QPageLayout::Point).size() * (resolution / 72.0);
    canvas.printable = QRectF(QPointF(0, 0), canvas.paper);
    return canvas;
}

int PrintPage::firstRecord() const {
    for (const PrintBand& band : bands) {
        if (band.kind == PrintBand::Kind::Record)
            return band.record;
    }
    return -1;
}

int PrintPage::lastRecord() const {
    for (auto it = bands.crbegin(); it != bands.crend(); ++it) {
        if (it->kind == PrintBand::Kind::Record)
            return it->record;
    }
    return -1;
}

bool PrintPage::hasFooterRow() const {
    return std::any_of(bands.cbegin(), bands.cend(),
                       [](const PrintBand& b) { return b.kind == PrintBand::Kind::Footer; });
}

PrintDocument::PrintDocument(TableSnapshot snapshot, PrintSetup setup, PageCanvas canvas,
                             QDateTime now)
    : m_snapshot(std::move(snapshot))
    , m_setup(std::move(setup))
    , m_canvas(canvas)
    , m_now(std::move(now)) {
    m_unit = m_canvas.resolution / kScreenDpi;
    m_gap = m_canvas.resolution / 20.0;

    const qreal perCm = m_canvas.resolution / 2.54;
    const QRectF paper(QPointF(0, 0), m_canvas.paper);
    const QMarginsF& m = m_setup.marginsCm;
    m_frame =
        paper.adjusted(m.left() * perCm, m.top() * perCm, -m.right() * perCm, -m.bottom() * perCm);
    if (!m_canvas.printable.isEmpty())
        m_frame = m_frame.intersected(m_canvas.printable);
    // Margins that leave nothing of the sheet fall back to what can be printed.
    if (m_frame.width() < 20 * m_unit || m_frame.height() < 20 * m_unit)
        m_frame = m_canvas.printable.isEmpty() ? paper : m_canvas.printable;

    prepareFonts();
    m_titleMeasurer = &measurer(m_titleFont);
    m_footerMeasurer = &measurer(m_gridFooterFont);

    m_headerLineHeight = QFontMetricsF(m_headerFont).lineSpacing();
    m_footerLineHeight = QFontMetricsF(m_footerFont).lineSpacing();
    m_headerHeight = m_headerLineHeight *
                     lineCount(m_setup.headerLeft, m_setup.headerCentre, m_setup.headerRight);
    m_footerHeight = m_footerLineHeight *
                     lineCount(m_setup.footerLeft, m_setup.footerCentre, m_setup.footerRight);
    m_gridTop = m_frame.top() + m_headerHeight + (m_headerHeight > 0 ? m_gap : 0);
    m_gridBottom = m_frame.bottom() - m_footerHeight - (m_footerHeight > 0 ? m_gap : 0);

    prepareColumns();
    prepareTitle();
    prepareTextAfterGrid();
}

PrintDocument::~PrintDocument() = default;

QList<QFont> PrintDocument::fonts() const {
    QList<QFont> all = {m_headerFont, m_footerFont, m_afterGridFont, m_titleFont, m_gridFooterFont};
    return all + m_cellFonts;
}

CellTextMeasurer& PrintDocument::measurer(const QFont& font) {
    for (const auto& known : m_measurers) {
        if (known->font() == font)
            return *known;
    }
    m_measurers.push_back(std::make_unique<CellTextMeasurer>(font));
    return *m_measurers.back();
}

void PrintDocument::prepareFonts() {
    const qreal dpi = m_canvas.resolution;
    m_headerFont = atResolution(m_setup.headerFont, dpi);
    m_footerFont = atResolution(m_setup.footerFont, dpi);
    m_afterGridFont = atResolution(m_setup.afterGridFont, dpi);
    if (m_setup.printFont) {
        const QFont common = atResolution(*m_setup.printFont, dpi);
        m_titleFont = common;
        m_gridFooterFont = common;
        for (qsizetype c = 0; c < m_snapshot.columns.size(); ++c)
            m_cellFonts.append(common);
        return;
    }
    m_titleFont = atResolution(fontOf(m_snapshot.titleFont), dpi);
    m_gridFooterFont = atResolution(fontOf(m_snapshot.footerFont), dpi);
    for (const SnapshotColumn& column : m_snapshot.columns)
        m_cellFonts.append(atResolution(fontOf(column.font), dpi));
}

qreal PrintDocument::widestText(qsizetype column) {
    const SnapshotColumn& shown = m_snapshot.columns[column];
    qreal widest = m_titleMeasurer->lineWidth(shown.title.section(QLatin1Char('|'), -1));
    CellTextMeasurer& cells = *m_columnMeasurers[column];
    for (const QList<SnapshotCell>& row : std::as_const(m_snapshot.rows)) {
        if (column < row.size())
            widest = std::max(widest, cells.lineWidth(row[column].text));
    }
    if (column < m_snapshot.footer.size())
        widest = std::max(widest, m_footerMeasurer->lineWidth(m_snapshot.footer[column].text));
    return widest;
}

void PrintDocument::prepareColumns() {
    const qsizetype count = m_snapshot.columns.size();
    const qreal padding = 4 * m_unit;
    // Dates and amounts never narrow below their longest text; other text
    // wraps, down to about two characters a line.
    QList<qreal> narrowest;
    for (qsizetype c = 0; c < count; ++c) {
        CellTextMeasurer& cells = measurer(m_cellFonts[c]);
        m_columnMeasurers.append(&cells);
        const SnapshotColumn& column = m_snapshot.columns[c];
        const qreal screen = column.width * m_unit;
        if (!column.keepWhole && !m_setup.optimalColumnWidths) {
            m_columnWidths.append(screen);
            narrowest.append(std::min(screen, 2 * cells.lineHeight() + padding));
            continue;
        }
        const qreal needed = std::ceil(widestText(c) + padding + m_unit);
        m_columnWidths.append(m_setup.optimalColumnWidths ? needed : std::max(screen, needed));
        narrowest.append(column.keepWhole ? needed
                                          : std::min(needed, 2 * cells.lineHeight() + padding));
    }

    const auto sum = [](const QList<qreal>& widths) {
        return std::accumulate(widths.cbegin(), widths.cend(), qreal(0));
    };
    qreal total = sum(m_columnWidths);
    const qreal room = m_frame.width();
    if (m_setup.fitToPageWidth && total > room && total > 0) {
        if (m_setup.fitKind == PrintSetup::FitKind::ChangeColumnWidths) {
            m_columnWidths = fitColumnWidths(m_columnWidths, narrowest, room);
            total = sum(m_columnWidths);
        }
        // What narrowing could not take off is drawn smaller.
        if (total > room)
            m_scale = room / total;
    }
    m_gridWidth = total;
    qreal left = 0;
    for (qreal w : std::as_const(m_columnWidths)) {
        m_columnLefts.append(left);
        left += w;
    }

    qreal tallestLine = 0;
    for (CellTextMeasurer* cells : std::as_const(m_columnMeasurers))
        tallestLine = std::max(tallestLine, cells->lineHeight());
    if (tallestLine == 0)
        tallestLine = measurer(m_titleFont).lineHeight();
    m_singleRowHeight = tallestLine + 2 * m_unit;
}

void PrintDocument::prepareTitle() {
    m_titles = std::make_unique<TitleLevels>(m_snapshot.columns);
    const int levels = m_titles->levelCount();
    const int columns = int(m_snapshot.columns.size());
    CellTextMeasurer& titles = measurer(m_titleFont);
    const qreal oneLine = titles.lineHeight() + 2 * m_unit;

    const auto needed = [&](int level, int column) {
        const TitleLevels::Cell& cell = m_titles->cell(level, column);
        qreal width = 0;
        for (int c = column; c < column + cell.columnSpan && c < columns; ++c)
            width += m_columnWidths[c];
        return titles.wrappedHeight(cell.text, width - 4 * m_unit) + 2 * m_unit;
    };

    QList<qreal> heights(levels, oneLine);
    for (int level = 0; level < levels; ++level) {
        for (int c = 0; c < columns; ++c) {
            const TitleLevels::Cell& cell = m_titles->cell(level, c);
            if (cell.origin && cell.rowSpan == 1)
                heights[level] = std::max(heights[level], needed(level, c));
        }
    }
    // A last title part reaching down several levels grows the lowest of them.
    for (int level = 0; level < levels; ++level) {
        for (int c = 0; c < columns; ++c) {
            const TitleLevels::Cell& cell = m_titles->cell(level, c);
            if (!cell.origin || cell.rowSpan == 1)
                continue;
            qreal spanned = 0;
            for (int l = level; l < level + cell.rowSpan; ++l)
                spanned += heights[l];
            const qreal want = needed(level, c);
            if (want > spanned)
                heights[level + cell.rowSpan - 1] += want - spanned;
        }
    }
    qreal top = 0;
    for (qreal h : std::as_const(heights)) {
        m_titleLevelTops.append(top);
        top += h;
    }
    m_titleLevelTops.append(top);
}

void PrintDocument::prepareTextAfterGrid() {
    m_textAfterGrid = substitute(m_setup.afterGridText, m_setup.substitutions);
    if (m_textAfterGrid.isEmpty())
        return;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QStringList paragraphs = m_textAfterGrid.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, m_afterGridFont);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(m_frame.width());
            PrintTextLine placed;
            placed.text = paragraph.mid(line.textStart(), line.textLength());
            placed.rect = QRectF(0, 0, line.naturalTextWidth(), line.height());
            m_textLines.append(placed);
        }
        layout.endLayout();
    }
}

qreal PrintDocument::recordHeight(int record) {
    if (!m_setup.autoStretchRows)
        return m_singleRowHeight;
    const QList<SnapshotCell>& row = m_snapshot.rows[record];
    qreal tallest = 0;
    const qsizetype columns = std::min(row.size(), m_columnWidths.size());
    for (qsizetype c = 0; c < columns; ++c) {
        const QString& text = row[c].text;
        if (text.isEmpty())
            continue;
        tallest = std::max(tallest, m_columnMeasurers[c]->lineHeight() *
                                        linesOf(text, c, *m_columnMeasurers[c]).size());
    }
    return std::max(m_singleRowHeight, tallest + 2 * m_unit);
}

qreal PrintDocument::recordBreak(int record, qreal from, qreal limit) const {
    // Lines begin one unit below the record's top (drawLines).
    qreal end = limit;
    const QList<SnapshotCell>& row = m_snapshot.rows[record];
    const qsizetype columns = std::min(row.size(), m_columnWidths.size());
    for (qsizetype c = 0; c < columns; ++c) {
        const qreal lineHeight = m_columnMeasurers[c]->lineHeight();
        const qsizetype lines = cellLines(record, int(c)).size();
        for (qsizetype i = 0; i < lines; ++i) {
            const qreal top = m_unit + i * lineHeight;
            if (top >= end)
                break;
            if (top >= from && top + lineHeight > limit) {
                end = top;
                break;
            }
        }
    }
    return end;
}

qreal PrintDocument::footerRowHeight() {
    CellTextMeasurer& footer = measurer(m_gridFooterFont);
    qreal tallest = footer.lineHeight();
    if (m_setup.autoStretchRows) {
        const qsizetype columns = std::min(m_snapshot.footer.size(), m_columnWidths.size());
        for (qsizetype c = 0; c < columns; ++c) {
            const QStringList lines = linesOf(m_snapshot.footer[c].text, c, footer);
            tallest = std::max(tallest, footer.lineHeight() * lines.size());
        }
    }
    return tallest + 2 * m_unit;
}

bool PrintDocument::layOut(const std::function<bool()>& keepGoing) {
    m_pages.clear();
    m_complete = false;
    const qreal available = std::max((m_gridBottom - m_gridTop) / m_scale, m_unit);
    const qreal titleHeight = m_titleLevelTops.last();

    PrintPage page;
    qreal y = 0;
    bool pageHasRows = false;
    const auto startGridPage = [&] {
        page = PrintPage();
        page.bands.append({PrintBand::Kind::Title, -1, 0, titleHeight});
        y = titleHeight;
        pageHasRows = false;
    };
    // A row that does not fit below the rows of a page starts the next page,
    // unless it is taller than a whole page: then it starts where it is and
    // goes on over as many pages as it needs, broken between two lines.
    const auto place = [&](PrintBand::Kind kind, int record, qreal height) {
        const bool tallerThanAPage =
            kind == PrintBand::Kind::Record && height > available - titleHeight;
        if (pageHasRows && y + height > available && !tallerThanAPage) {
            m_pages.append(page);
            startGridPage();
        }
        qreal from = 0;
        while (tallerThanAPage && y + height - from > available) {
            const qreal to = recordBreak(record, from, from + available - y);
            if (to > from) {
                page.bands.append({kind, record, y, available - y, from, to});
                from = to;
            } else if (!pageHasRows) {
                break; // a single line taller than the page: printed as it is
            }
            m_pages.append(page);
            startGridPage();
        }
        PrintBand band{kind, record, y, height - from};
        if (from > 0)
            band.from = from;
        page.bands.append(band);
        y += height - from;
        pageHasRows = true;
    };

    startGridPage();
    const int records = int(m_snapshot.rows.size());
    for (int r = 0; r < records; ++r) {
        if (keepGoing && r > 0 && r % kRowsPerChunk == 0 && !keepGoing()) {
            m_pages.append(page);
            return false;
        }
        place(PrintBand::Kind::Record, r, recordHeight(r));
    }
    place(PrintBand::Kind::Footer, -1, footerRowHeight());

    qreal top = m_gridTop + y * m_scale + m_gap;
    bool pageHasContent = true;
    for (const PrintTextLine& line : std::as_const(m_textLines)) {
        if (pageHasContent && top + line.rect.height() > m_gridBottom) {
            m_pages.append(page);
            page = PrintPage();
            top = m_gridTop;
        }
        PrintTextLine placed = line;
        placed.rect.moveTo(m_frame.left(), top);
        page.textAfterGrid.append(placed);
        top += line.rect.height();
        pageHasContent = true;
    }
    m_pages.append(page);
    m_complete = true;
    return true;
}

QList<PrintTextLine> PrintDocument::marginLines(int index, bool header) const {
    const QFont& font = header ? m_headerFont : m_footerFont;
    const qreal lineHeight = header ? m_headerLineHeight : m_footerLineHeight;
    const QStringList& left = header ? m_setup.headerLeft : m_setup.footerLeft;
    const QStringList& centre = header ? m_setup.headerCentre : m_setup.footerCentre;
    const QStringList& right = header ? m_setup.headerRight : m_setup.footerRight;
    const qreal top = header ? m_frame.top() : m_frame.bottom() - m_footerHeight;

    const QFontMetricsF metrics(font);
    const PageMacroValues values{index + 1, pageCount(), m_now};
    QList<PrintTextLine> lines;
    const auto add = [&](const QStringList& texts, Qt::Alignment alignment) {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString text = expandPageMacros(texts[i], values);
            if (text.isEmpty())
                continue;
            const qreal width = metrics.horizontalAdvance(text);
            qreal x = m_frame.left();
            if (alignment & Qt::AlignHCenter)
                x = m_frame.center().x() - width / 2;
            else if (alignment & Qt::AlignRight)
                x = m_frame.right() - width;
            lines.append({text, QRectF(x, top + i * lineHeight, width, lineHeight), alignment});
        }
    };
    add(left, Qt::AlignLeft);
    add(centre, Qt::AlignHCenter);
    add(right, Qt::AlignRight);
    return lines;
}

QList<PrintTextLine> PrintDocument::headerLines(int index) const {
    return marginLines(index, true);
}

QList<PrintTextLine> PrintDocument::footerLines(int index) const {
    return marginLines(index, false);
}

QStringList PrintDocument::linesOf(const QString& text, qsizetype column,
                                   CellTextMeasurer& measurer) const {
    if (text.isEmpty())
        return {};
    if (m_snapshot.columns[column].keepWhole || !m_setup.autoStretchRows)
        return {text};
    return measurer.wrappedLines(text, m_columnWidths[column] - 4 * m_unit);
}

QStringList PrintDocument::cellLines(int record, int column) const {
    return linesOf(m_snapshot.rows[record][column].text, column, *m_columnMeasurers[column]);
}

void PrintDocument::drawLines(QPainter& painter, const QRectF& box, const QStringList& lines,
                              qreal lineHeight, Qt::Alignment alignment) const {
    const QRectF inner = box.adjusted(2 * m_unit, m_unit, -2 * m_unit, -m_unit);
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    qreal top = inner.top();
    if (alignment & Qt::AlignVCenter)
        top = inner.center().y() - lineHeight * lines.size() / 2;
    if (lines.size() == 1 && !m_setup.autoStretchRows) {
        // One line that may run over the cell's edge, which cuts it.
        painter.drawText(QRectF(inner.left(), top, inner.width(), inner.bottom() - top),
                         int(horizontal) | Qt::AlignTop, lines.first());
        return;
    }
    // A line higher than the face's own keeps its text in the middle.
    for (const QString& line : lines) {
        painter.drawText(QRectF(inner.left(), top, inner.width(), lineHeight),
                         int(horizontal) | Qt::AlignVCenter | Qt::TextDontClip, line);
        top += lineHeight;
    }
}

void PrintDocument::renderPage(int index, QPainter& painter) const {
    if (index < 0 || index >= pageCount())
        return;
    const PrintPage& page = m_pages[index];
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    constexpr int lineFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip;

    painter.setFont(m_headerFont);
    for (const PrintTextLine& line : headerLines(index))
        painter.drawText(line.rect, lineFlags, line.text);
    painter.setFont(m_footerFont);
    for (const PrintTextLine& line : footerLines(index))
        painter.drawText(line.rect, lineFlags, line.text);

    if (!page.bands.isEmpty()) {
        painter.save();
        painter.translate(m_frame.left(), m_gridTop);
        painter.scale(m_scale, m_scale);
        for (const PrintBand& band : page.bands) {
            switch (band.kind) {
            case PrintBand::Kind::Title:
                drawTitle(painter, band);
                break;
            case PrintBand::Kind::Record:
                drawRecord(painter, band);
                break;
            case PrintBand::Kind::Footer:
                drawFooterRow(painter, band);
                break;
            }
        }
        painter.restore();
    }

    painter.setPen(Qt::black);
    painter.setFont(m_afterGridFont);
    for (const PrintTextLine& line : page.textAfterGrid)
        painter.drawText(line.rect, lineFlags, line.text);
    painter.restore();
}

void PrintDocument::drawTitle(QPainter& painter, const PrintBand& band) const {
    const int columns = int(m_columnWidths.size());
    const QPen rule(Qt::black, 0.6 * m_unit);
    painter.setFont(m_titleFont);
    CellTextMeasurer& titles = *m_titleMeasurer;
    for (int level = 0; level < m_titles->levelCount(); ++level) {
        for (int c = 0; c < columns; ++c) {
            const TitleLevels::Cell& cell = m_titles->cell(level, c);
            if (!cell.origin)
                continue;
            qreal width = 0;
            for (int s = c; s < c + cell.columnSpan && s < columns; ++s)
                width += m_columnWidths[s];
            const qreal top = band.top + m_titleLevelTops[level];
            const qreal bottom = band.top + m_titleLevelTops[level + cell.rowSpan];
            const QRectF box(m_columnLefts[c], top, width, bottom - top);
            if (m_setup.colouredPrinting)
                painter.fillRect(box, m_snapshot.buttonFace);
            painter.setPen(m_setup.colouredPrinting ? m_snapshot.titleFont.color
                                                    : QColor(Qt::black));
            drawLines(painter, box, titles.wrappedLines(cell.text, width - 4 * m_unit),
                      titles.lineHeight(), Qt::AlignCenter);
            painter.setPen(rule);
            painter.drawRect(box);
        }
    }
}

void PrintDocument::drawRecord(QPainter& painter, const PrintBand& band) const {
    const QList<SnapshotCell>& row = m_snapshot.rows[band.record];
    const qsizetype columns = std::min(row.size(), m_columnWidths.size());
    const QFont* current = nullptr;
    for (qsizetype c = 0; c < columns; ++c) {
        const QRectF box(m_columnLefts[c], band.top, m_columnWidths[c], band.height);
        const SnapshotCell& cell = row[c];
        if (m_setup.colouredPrinting)
            painter.fillRect(box, cell.background);
        if (cell.text.isEmpty())
            continue;
        if (current != &m_cellFonts[c]) {
            current = &m_cellFonts[c];
            painter.setFont(*current);
        }
        const SnapshotColumn& column = m_snapshot.columns[c];
        painter.setPen(m_setup.colouredPrinting ? column.font.color : QColor(Qt::black));
        CellTextMeasurer& cells = *m_columnMeasurers[c];
        const Qt::Alignment alignment = column.alignment & Qt::AlignHorizontal_Mask;
        const QStringList lines = linesOf(cell.text, c, cells);
        if (!band.continues()) {
            drawLines(painter, box, lines, cells.lineHeight(), alignment);
            continue;
        }
        // The lines of this part, placed as they would be in the whole record.
        const qreal lineHeight = cells.lineHeight();
        qsizetype first = 0;
        while (first < lines.size() && m_unit + first * lineHeight < band.from)
            ++first;
        qsizetype last = first;
        while (last < lines.size() && m_unit + last * lineHeight < band.to)
            ++last;
        if (first == last)
            continue;
        const QRectF part(box.left(), band.top + first * lineHeight - band.from, box.width(),
                          (last - first) * lineHeight + 2 * m_unit);
        drawLines(painter, part, lines.mid(first, last - first), lineHeight, alignment);
    }
    drawCellLines(painter, band);
}

void PrintDocument::drawFooterRow(QPainter& painter, const PrintBand& band) const {
    const qsizetype columns = std::min(m_snapshot.footer.size(), m_columnWidths.size());
    if (m_setup.colouredPrinting)
        painter.fillRect(QRectF(0, band.top, m_gridWidth, band.height),
                         m_snapshot.footerBackground);
    painter.setFont(m_gridFooterFont);
    painter.setPen(m_setup.colouredPrinting ? m_snapshot.footerFont.color : QColor(Qt::black));
    CellTextMeasurer& footer = *m_footerMeasurer;
    for (qsizetype c = 0; c < columns; ++c) {
        const QRectF box(m_columnLefts[c], band.top, m_columnWidths[c], band.height);
        drawLines(painter, box, linesOf(m_snapshot.footer[c].text, c, footer), footer.lineHeight(),
                  m_snapshot.columns[c].footerAlignment & Qt::AlignHorizontal_Mask);
    }
    drawCellLines(painter, band);
}

void PrintDocument::drawCellLines(QPainter& painter, const PrintBand& band) const {
    QList<QLineF> lines;
    lines.reserve(m_columnLefts.size() + 3);
    const qreal bottom = band.top + band.height;
    lines.append(QLineF(0, band.top, m_gridWidth, band.top));
    lines.append(QLineF(0, bottom, m_gridWidth, bottom));
    for (qreal left : m_columnLefts)
        lines.append(QLineF(left, band.top, left, bottom));
    lines.append(QLineF(m_gridWidth, band.top, m_gridWidth, bottom));
    painter.setPen(QPen(Qt::black, 0.6 * m_unit));
    painter.drawLines(lines);
}

} // namespace lists
