#include "RtfExportWriter.h"

#include "ColumnFitting.h"
#include "ExportStream.h"
#include "TableSnapshot.h"
#include "TitleLevels.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace lists {

namespace {

constexpr int TwipsPerPixel = 1440 / 96;
// Half the gap between the texts of neighbouring cells (\trgaph).
constexpr int RowGap = 40;
// Half the grid's 10-pixel title margin in twips, less 20.
constexpr int TitleSpacing = 10 / 2 * TwipsPerPixel - 20;
// A cell's colour is its background (\clcbpat, written after this with the
// same index as the pattern colour). No shading percentage goes with it:
// LibreOffice paints a cell with \clshdng10000 black, whatever its colours.
constexpr char Shading[] = "\\clcfpat";

// The page the document asks for, in twips: A4 with narrow margins, turned
// across when the table is wider than the page is in portrait. Without it a
// word processor takes its own default paper (Letter upright, as a rule) and
// leaves the right-hand columns of a wide list off the page.
struct RtfPage {
    static constexpr int ShortSide = 11906;
    static constexpr int LongSide = 16838;
    static constexpr int Margin = 720;

    explicit RtfPage(const QList<int>& widths)
        : landscape(std::accumulate(widths.cbegin(), widths.cend(), 0) > ShortSide - 2 * Margin) {}

    int width() const { return landscape ? LongSide : ShortSide; }
    int height() const { return landscape ? ShortSide : LongSide; }
    int printableWidth() const { return width() - 2 * Margin; }

    bool landscape;
};

// The widest advance, in thousandths of an em, that a date's or an amount's
// characters have in the faces word processors here draw 宋体 and its
// neighbours with: Noto Serif and Sans CJK SC, AR PL UMing, WenQuanYi Zen
// Hei, and DejaVu Sans and Serif, which LibreOffice takes for the digits of a
// face it does not have. Any other character counts as a full em.
int widestAdvance(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return 636; // DejaVu
    switch (c) {
    case u'-':
    case u',':
    case u'.':
    case u':':
    case u' ':
    case u'(':
    case u')':
        return 500; // AR PL UMing
    case u'/':
        return 520; // WenQuanYi Zen Hei
    case u'%':
        return 950; // DejaVu
    default:
        return 1000;
    }
}

// Twips a cell needs to hold `text` on one line at `pointSize` in any of
// those faces: a tenth more than the widest, and the cell's gaps.
int wholeTextTwips(const QString& text, int pointSize) {
    qint64 thousandths = 0;
    for (const QChar c : text)
        thousandths += widestAdvance(c.unicode());
    const qint64 twips = thousandths * pointSize * 20 / 1000;
    return static_cast<int>(twips + twips / 10 + 2 * RowGap + 40);
}

// Each column's width in twips: a date or amount column at least as wide as
// its longest cell or footer text needs.
QList<int> columnTwips(const TableSnapshot& table) {
    QList<int> widths;
    for (qsizetype c = 0; c < table.columns.size(); ++c) {
        const SnapshotColumn& column = table.columns[c];
        int width = column.width * TwipsPerPixel;
        if (column.keepWhole) {
            for (const QList<SnapshotCell>& row : table.rows) {
                if (c < row.size())
                    width = std::max(width, wholeTextTwips(row[c].text, column.font.pointSize));
            }
            if (c < table.footer.size())
                width = std::max(width,
                                 wholeTextTwips(table.footer[c].text, table.footerFont.pointSize));
        }
        widths.append(width);
    }
    return widths;
}

// The cells' right edges in twips; a table wider than the printable width is
// narrowed to it, every column in proportion, dates and amounts never below
// what their text needs.
QList<int> cellEdges(const TableSnapshot& table, const QList<int>& widths, int printableWidth) {
    const int width = std::accumulate(widths.cbegin(), widths.cend(), 0);
    QList<qreal> fitted(widths.cbegin(), widths.cend());
    if (width > printableWidth) {
        QList<qreal> minimums;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            const SnapshotColumn& column = table.columns[c];
            // Two characters a line for other text, as a word processor wraps it.
            const int twoCharacters = 2 * column.font.pointSize * 20 + 2 * RowGap;
            minimums.append(column.keepWhole ? widths[c] : std::min(widths[c], twoCharacters));
        }
        fitted = fitColumnWidths(fitted, minimums, printableWidth);
    }
    QList<int> edges;
    qreal edge = 0;
    for (const qreal w : std::as_const(fitted)) {
        edge += w;
        edges.append(static_cast<int>(std::floor(edge + 1e-6)));
    }
    return edges;
}

// The colour and font tables, filled in the order the body first uses them.
class RtfTables {
public:
    explicit RtfTables(const QColor& buttonFace) {
        m_colours = {qRgb(0, 0, 0), qRgb(255, 255, 255), rgbOf(buttonFace)};
    }

    int colour(const QColor& colour) {
        const QRgb rgb = rgbOf(colour);
        if (rgb == m_lastRgb && m_lastIndex >= 0)
            return m_lastIndex;
        qsizetype index = m_colours.indexOf(rgb);
        if (index < 0) {
            index = m_colours.size();
            m_colours.append(rgb);
        }
        m_lastRgb = rgb;
        m_lastIndex = static_cast<int>(index);
        return m_lastIndex;
    }

    int font(const QString& family) {
        qsizetype index = m_fonts.indexOf(family);
        if (index < 0) {
            index = m_fonts.size();
            m_fonts.append(family);
        }
        return static_cast<int>(index);
    }

    const QList<QRgb>& colours() const { return m_colours; }
    const QStringList& fonts() const { return m_fonts; }

private:
    static QRgb rgbOf(const QColor& colour) {
        return colour.isValid() ? colour.rgb() : qRgb(0, 0, 0);
    }

    QList<QRgb> m_colours;
    QStringList m_fonts;
    QRgb m_lastRgb = 0;
    int m_lastIndex = -1;
};

// One row's table indexes, taken in the order its text uses them: every
// cell's shading in the row definition first, then each cell's font and
// font colour.
struct RowStyle {
    QList<int> background;
    QList<int> font;
    QList<int> fontColour;

    void resize(qsizetype columns) {
        background.resize(columns);
        font.resize(columns);
        fontColour.resize(columns);
    }
};

template <typename BackgroundOf, typename FontOf>
void styleRow(RtfTables& tables, qsizetype columns, BackgroundOf backgroundOf, FontOf fontOf,
              RowStyle& style) {
    style.resize(columns);
    for (qsizetype c = 0; c < columns; ++c)
        style.background[c] = tables.colour(backgroundOf(c));
    for (qsizetype c = 0; c < columns; ++c) {
        const CellFont& font = fontOf(c);
        style.font[c] = tables.font(font.family);
        style.fontColour[c] = tables.colour(font.color);
    }
}

// GBK bytes as RTF text: both bytes of a double-byte character as \'hh
// (its second byte may be "\", "{" or "}"), those three escaped when they
// stand alone, and a line break (CR LF, CR or LF) as \line, since readers
// skip bare line breaks.
void appendRtfText(QByteArray& out, const QByteArray& bytes) {
    static const char hex[] = "0123456789abcdef";
    const auto appendHex = [&](unsigned char b) {
        const char escaped[4] = {'\\', '\'', hex[b >> 4], hex[b & 15]};
        out.append(escaped, 4);
    };
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x81 && b <= 0xFE && i + 1 < n) {
            appendHex(b);
            appendHex(static_cast<unsigned char>(bytes[++i]));
        } else if (b >= 0x80) {
            appendHex(b);
        } else if (b == '\r' || b == '\n') {
            if (b == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            out.append("\\line ");
        } else {
            if (b == '\\' || b == '{' || b == '}')
                out.append('\\');
            out.append(static_cast<char>(b));
        }
    }
}

bool isPlain(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == '\\' || u == '{' || u == '}' || u == '\r' || u == '\n')
            return false;
    }
    return true;
}

void writeText(ExportStream& out, const QString& text) {
    if (isPlain(text))
        out.text(text);
    else
        appendRtfText(out.buffer(), out.gbk(text));
}

const char* alignmentWord(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return "\\qr";
    if (alignment & Qt::AlignHCenter)
        return "\\qc";
    return "\\ql";
}

// "\fs18\b\i" and so on: what a font adds to every cell written with it.
QByteArray fontWords(const CellFont& font) {
    QByteArray words = "\\fs" + QByteArray::number(font.pointSize * 2);
    if (font.bold)
        words += "\\b";
    if (font.italic)
        words += "\\i";
    if (font.strikeOut)
        words += "\\strike";
    if (font.underline)
        words += "\\ul";
    return words;
}

struct Borders {
    bool left = true;
    bool top = true;
    bool bottom = true;
    bool right = true;
};

QByteArray borderLines(Borders borders) {
    QByteArray lines;
    if (borders.left)
        lines += "\\clbrdrl\\brdrs\\brdrcf0\r\n";
    if (borders.top)
        lines += "\\clbrdrt\\brdrs\\brdrcf0\r\n";
    if (borders.bottom)
        lines += "\\clbrdrb\\brdrs\\brdrcf0\r\n";
    if (borders.right)
        lines += "\\clbrdrr\\brdrs\\brdrcf0\r\n";
    return lines;
}

class RtfBodyWriter {
public:
    RtfBodyWriter(const TableSnapshot& table, const QList<int>& edges, RtfTables& tables,
                  ExportStream* out)
        : m_table(table)
        , m_tables(tables)
        , m_out(out)
        , m_levels(table.columns)
        , m_columns(table.columns.size()) {
        for (qsizetype c = 0; c < m_columns; ++c) {
            const SnapshotColumn& column = table.columns[c];
            m_edges.append("\\cellx" + QByteArray::number(edges[c]) + "\r\n");
            m_recordStarts.append(QByteArray("\\pard\\intbl{") + alignmentWord(column.alignment) +
                                  "\\sb" + QByteArray::number(spacing()) + "\\sa" +
                                  QByteArray::number(spacing()) + fontWords(column.font));
        }
        m_fullBorders = borderLines(Borders()) + Shading;
    }

    // Without a stream only the tables are filled, in the body's order.
    void run() {
        writeTitleRows();
        writeRecords();
        writeFooterRow();
    }

private:
    int spacing() const { return m_table.flat ? 12 : 24; }

    void writeTitleRows() {
        const auto background = [&](qsizetype) { return m_table.buttonFace; };
        const auto font = [&](qsizetype) -> const CellFont& { return m_table.titleFont; };
        const QByteArray start = "\\pard\\intbl{\\qc\\sb" + QByteArray::number(TitleSpacing) +
                                 "\\sa" + QByteArray::number(TitleSpacing) +
                                 fontWords(m_table.titleFont);
        for (int level = 0; level < m_levels.levelCount(); ++level) {
            styleRow(m_tables, m_columns, background, font, m_style);
            if (!m_out)
                continue;
            ExportStream& out = *m_out;
            out << "\\trowd\\trgaph40\r\n";
            for (qsizetype c = 0; c < m_columns; ++c) {
                const TitleLevels::Cell& cell = m_levels.cell(level, static_cast<int>(c));
                Borders borders;
                borders.left = !cell.joinsLeft;
                borders.top = !cell.joinsAbove;
                borders.bottom = !cell.joinsBelow;
                borders.right = !cell.joinsRight;
                out << borderLines(borders) << Shading << m_style.background[c] << "\\clcbpat"
                    << m_style.background[c] << m_edges[c];
            }
            out << "{\\trrh0\r\n";
            for (qsizetype c = 0; c < m_columns; ++c) {
                out << start;
                writeCellEnd(c, m_levels.cell(level, static_cast<int>(c)).text);
            }
            out << "\\pard\\intbl\\row}\r\n";
        }
    }

    void writeRecords() {
        static const SnapshotCell missing;
        for (const QList<SnapshotCell>& row : m_table.rows) {
            const auto background = [&](qsizetype c) -> const QColor& {
                return c < row.size() ? row[c].background : missing.background;
            };
            const auto font = [&](qsizetype c) -> const CellFont& {
                return m_table.columns[c].font;
            };
            styleRow(m_tables, m_columns, background, font, m_style);
            if (!m_out)
                continue;
            ExportStream& out = *m_out;
            out << recordDefinition();
            if (m_recordPrefixes.isEmpty()) {
                // A column's font and font colour are the same in every record.
                for (qsizetype c = 0; c < m_columns; ++c) {
                    m_recordPrefixes.append(m_recordStarts[c] + "\\f" +
                                            QByteArray::number(m_style.font[c]) + "\\cf" +
                                            QByteArray::number(m_style.fontColour[c]) + "\\cb");
                }
            }
            for (qsizetype c = 0; c < m_columns; ++c) {
                out << m_recordPrefixes[c] << m_style.background[c] << ' ';
                writeText(out, c < row.size() ? row[c].text : QString());
                out << "\\cell}\r\n";
            }
            out << "\\pard\\intbl\\row}\r\n";
            out.flushIfFull();
        }
    }

    // Rows alternate between a few shadings, so their definitions are kept.
    const QByteArray& recordDefinition() {
        for (const auto& [background, definition] : m_definitions) {
            if (background == m_style.background)
                return definition;
        }
        QByteArray definition = "\\trowd\\trgaph40\r\n";
        for (qsizetype c = 0; c < m_columns; ++c) {
            definition += m_fullBorders + QByteArray::number(m_style.background[c]) + "\\clcbpat" +
                          QByteArray::number(m_style.background[c]) + m_edges[c];
        }
        definition += "{\\trrh0\r\n";
        if (m_definitions.size() >= 8)
            m_definitions.removeFirst();
        m_definitions.append({m_style.background, definition});
        return m_definitions.last().second;
    }

    void writeFooterRow() {
        const auto background = [&](qsizetype) { return m_table.footerBackground; };
        const auto font = [&](qsizetype) -> const CellFont& { return m_table.footerFont; };
        styleRow(m_tables, m_columns, background, font, m_style);
        if (!m_out)
            return;
        ExportStream& out = *m_out;
        out << "\\trowd\\trgaph40\r\n";
        for (qsizetype c = 0; c < m_columns; ++c) {
            out << m_fullBorders << m_style.background[c] << "\\clcbpat" << m_style.background[c]
                << m_edges[c];
        }
        out << "{\\trrh0\r\n";
        for (qsizetype c = 0; c < m_columns; ++c) {
            out << "\\pard\\intbl{" << alignmentWord(m_table.columns[c].footerAlignment) << "\\sb"
                << spacing() << "\\sa" << spacing() << fontWords(m_table.footerFont);
            writeCellEnd(c, c < m_table.footer.size() ? m_table.footer[c].text : QString());
        }
        out << "\\pard\\intbl\\row}\r\n";
    }

    // "\f0\cf0\cb3 text\cell}" after the words that open the cell.
    void writeCellEnd(qsizetype c, const QString& text) {
        ExportStream& out = *m_out;
        out << "\\f" << m_style.font[c] << "\\cf" << m_style.fontColour[c] << "\\cb"
            << m_style.background[c] << ' ';
        writeText(out, text);
        out << "\\cell}\r\n";
    }

    const TableSnapshot& m_table;
    RtfTables& m_tables;
    ExportStream* m_out;
    TitleLevels m_levels;
    qsizetype m_columns;
    QList<QByteArray> m_edges;
    QList<QByteArray> m_recordStarts;
    QList<QByteArray> m_recordPrefixes;
    QByteArray m_fullBorders;
    RowStyle m_style;
    QList<std::pair<QList<int>, QByteArray>> m_definitions;
};

} // namespace

void writeRtfExport(const TableSnapshot& table, QIODevice& device) {
    // The tables stand in front of the body but list what the body uses, so
    // a first pass over the rows fills them before anything is written.
    RtfTables tables(table.buttonFace);
    const QList<int> widths = columnTwips(table);
    const RtfPage page(widths);
    const QList<int> edges = cellEdges(table, widths, page.printableWidth());
    RtfBodyWriter(table, edges, tables, nullptr).run();

    ExportStream out(device);
    out << "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl";
    for (const QRgb rgb : tables.colours())
        out << "\\red" << qRed(rgb) << "\\green" << qGreen(rgb) << "\\blue" << qBlue(rgb) << ';';
    out << "}\r\n{\\fonttbl";
    for (int i = 0; i < tables.fonts().size(); ++i) {
        out << "\\f" << i << "\\fnil ";
        writeText(out, tables.fonts()[i]);
        out << ';';
    }
    out << "}\r\n";
    out << "\\paperw" << page.width() << "\\paperh" << page.height() << "\\margl" << RtfPage::Margin
        << "\\margr" << RtfPage::Margin << "\\margt" << RtfPage::Margin << "\\margb"
        << RtfPage::Margin << (page.landscape ? "\\landscape\r\n" : "\r\n");
    RtfBodyWriter(table, edges, tables, &out).run();
    out << '}';
    out.finish();
}

} // namespace lists
