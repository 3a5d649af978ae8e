#pragma once

#include "PrintSetup.h"
#include "TableSnapshot.h"

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

class QPainter;

namespace lists {

class CellTextMeasurer;
class TitleLevels;

/// The sheet a document is laid out for, in the units of the device that
/// prints it (dots at `resolution` per inch).
struct PageCanvas {
    qreal resolution = 96;
    QSizeF paper;
    /// The part of the sheet the device can print on; empty: all of it.
    QRectF printable;

    static PageCanvas forPaper(const QPageSize& size, QPageLayout::Orientation orientation,
                               qreal resolution);
};

/// One line of text placed on a page: `rect` is the box the text fills.
struct PrintTextLine {
    QString text;
    QRectF rect;
    Qt::Alignment alignment = Qt::AlignLeft;
};

/// A horizontal strip of the grid: its title rows, one record, or the footer row.
/// A record taller than a page is continued on the next pages, each band
/// holding the lines of its cells that begin between `from` and `to`.
struct PrintBand {
    enum class Kind { Title, Record, Footer };
    Kind kind = Kind::Record;
    int record = -1;  // for records: the row of the snapshot
    qreal top = 0;    // grid units (before scaling) from the grid's top on the page
    qreal height = 0; // grid units
    qreal from = 0;   // grid units from the record's top: where this part begins
    qreal to = std::numeric_limits<qreal>::infinity(); // where the next part begins

    bool continues() const { return from > 0 || to < std::numeric_limits<qreal>::infinity(); }
};

struct PrintPage {
    QList<PrintBand> bands;
    /// The lines of the text after the grid that fall on this page.
    QList<PrintTextLine> textAfterGrid;

    /// The first and last record on the page, -1 when there is none.
    int firstRecord() const;
    int lastRecord() const;
    bool hasFooterRow() const;
};

/// A list's rows laid out on pages as its print setup asks: page header and
/// footer, the grid with its title rows on every page, the footer row after
/// the last record and the text after the grid. The one render function
/// serves both the preview and the printer.
class PrintDocument {
public:
    /// `now` is the moment the date and time macros of the header show.
    PrintDocument(TableSnapshot snapshot, PrintSetup setup, PageCanvas canvas,
                  QDateTime now = QDateTime::currentDateTime());
    ~PrintDocument();
    PrintDocument(const PrintDocument&) = delete;
    PrintDocument& operator=(const PrintDocument&) = delete;

    /// Breaks the rows into pages. `keepGoing` is asked between chunks of rows;
    /// when it answers false the work stops and the pages so far remain.
    /// True when the document is complete.
    bool layOut(const std::function<bool()>& keepGoing = {});
    bool isComplete() const { return m_complete; }

    int pageCount() const { return int(m_pages.size()); }
    const PrintPage& page(int index) const { return m_pages[index]; }
    /// The page header's non-empty lines with the page macros expanded.
    QList<PrintTextLine> headerLines(int index) const;
    QList<PrintTextLine> footerLines(int index) const;

    const PageCanvas& canvas() const { return m_canvas; }
    const PrintSetup& setup() const { return m_setup; }
    /// Every font the pages are drawn with.
    QList<QFont> fonts() const;
    const TableSnapshot& snapshot() const { return m_snapshot; }
    /// The paper less its margins, in device units.
    QRectF frame() const { return m_frame; }
    /// The room for the grid and the text after it on every page, in device
    /// units: the frame below the page header and above the page footer.
    QRectF gridArea() const {
        return QRectF(m_frame.left(), m_gridTop, m_frame.width(), m_gridBottom - m_gridTop);
    }
    /// The factor the grid part is drawn at: below 1 only for a grid wider than the frame.
    qreal scale() const { return m_scale; }
    /// Printed column widths and their total, in grid units (device units before scaling).
    const QList<qreal>& columnWidths() const { return m_columnWidths; }
    qreal gridWidth() const { return m_gridWidth; }
    /// The lines a record's cell is drawn in, top to bottom; without row
    /// stretching one line, which the cell's edge may cut unless it is a
    /// date or an amount.
    QStringList cellLines(int record, int column) const;
    /// The text after the grid with the substitutions applied.
    const QString& textAfterGrid() const { return m_textAfterGrid; }

    /// Draws page `index` in device units with the paper's top-left corner at
    /// the painter's origin. Paints no background: the paper is white.
    void renderPage(int index, QPainter& painter) const;

private:
    void prepareFonts();
    void prepareColumns();
    void prepareTitle();
    void prepareTextAfterGrid();
    qreal widestText(qsizetype column);
    /// A cell's or footer cell's text as it is drawn in its column: dates
    /// and amounts whole on one line, other text wrapped when rows stretch.
    QStringList linesOf(const QString& text, qsizetype column, CellTextMeasurer& measurer) const;
    void drawLines(QPainter& painter, const QRectF& box, const QStringList& lines,
                   qreal lineHeight, Qt::Alignment alignment) const;
    qreal recordHeight(int record);
    /// Where a part of a record that begins at `from` and may reach down to
    /// `limit` ends: at the top of the first cell line that would cross
    /// `limit`, so that no line is cut.
    qreal recordBreak(int record, qreal from, qreal limit) const;
    qreal footerRowHeight();
    CellTextMeasurer& measurer(const QFont& font);
    QList<PrintTextLine> marginLines(int index, bool header) const;
    void drawTitle(QPainter& painter, const PrintBand& band) const;
    void drawRecord(QPainter& painter, const PrintBand& band) const;
    void drawFooterRow(QPainter& painter, const PrintBand& band) const;
    void drawCellLines(QPainter& painter, const PrintBand& band) const;

    TableSnapshot m_snapshot;
    PrintSetup m_setup;
    PageCanvas m_canvas;
    QDateTime m_now;
    qreal m_unit = 1; // one screen pixel in device units
    qreal m_gap = 0;

    QFont m_headerFont;
    QFont m_footerFont;
    QFont m_afterGridFont;
    QFont m_titleFont;
    QFont m_gridFooterFont;
    QList<QFont> m_cellFonts;
    std::vector<std::unique_ptr<CellTextMeasurer>> m_measurers;
    QList<CellTextMeasurer*> m_columnMeasurers;
    CellTextMeasurer* m_titleMeasurer = nullptr;
    CellTextMeasurer* m_footerMeasurer = nullptr;

    QRectF m_frame;
    qreal m_headerHeight = 0;
    qreal m_footerHeight = 0;
    qreal m_headerLineHeight = 0;
    qreal m_footerLineHeight = 0;
    qreal m_gridTop = 0;
    qreal m_gridBottom = 0;

    QList<qreal> m_columnWidths;
    QList<qreal> m_columnLefts;
    qreal m_gridWidth = 0;
    qreal m_scale = 1;
    std::unique_ptr<TitleLevels> m_titles;
    QList<qreal> m_titleLevelTops; // one more than levels: the last is the title's height
    qreal m_singleRowHeight = 0;

    QString m_textAfterGrid;
    QList<PrintTextLine> m_textLines; // unplaced: text and size only

    QList<PrintPage> m_pages;
    bool m_complete = false;
};

} // namespace lists
