#include "HtmlExportWriter.h"

#include "ExportStream.h"
#include "FormulaGuard.h"
#include "TableSnapshot.h"
#include "TitleLevels.h"

#include <cstdio>

namespace lists {

namespace {

QByteArray hexColour(const QColor& colour) {
    if (!colour.isValid())
        return QByteArrayLiteral("000000");
    char text[7];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour.red(), colour.green(), colour.blue());
    return QByteArray(text, 6);
}

const char* alignmentName(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return "RIGHT";
    if (alignment & Qt::AlignHCenter)
        return "CENTER";
    return "LEFT";
}

// A date or an amount stays on one line whatever face the reader draws it in.
const char* noWrap(const SnapshotColumn& column) {
    return column.keepWhole ? " NOWRAP" : "";
}

// The font tag around a cell's text, split into what goes before and after.
struct FontTag {
    QByteArray open;
    QByteArray close;
};

FontTag fontTag(ExportStream& out, const CellFont& font) {
    FontTag tag;
    tag.open = "<FONT STYLE=\"font-family: " + out.gbk(font.family) +
               "; font-size: " + QByteArray::number(font.pointSize) + "pt; color: #" +
               hexColour(font.color) + "\">";
    if (font.bold)
        tag.open += "<B>";
    if (font.italic)
        tag.open += "<I>";
    if (font.underline)
        tag.open += "<U>";
    if (font.strikeOut)
        tag.open += "<STRIKE>";
    if (font.bold)
        tag.close += "</B>";
    if (font.italic)
        tag.close += "</I>";
    if (font.underline)
        tag.close += "</U>";
    if (font.strikeOut)
        tag.close += "</STRIKE>";
    tag.close += "</FONT>";
    return tag;
}

// The entities are put in on the GBK bytes: "&", "<", ">" and the double
// quote are all below 0x40 and never part of a GBK double-byte character.
void writeEscaped(ExportStream& out, const QString& text) {
    if (text.isEmpty()) {
        out << "&nbsp;";
        return;
    }
    QByteArray& buffer = out.buffer();
    const qsizetype start = buffer.size();
    out.text(text);
    qsizetype i = start;
    for (; i < buffer.size(); ++i) {
        const char c = buffer[i];
        if (c == '&' || c == '<' || c == '>' || c == '"')
            break;
    }
    if (i == buffer.size())
        return;
    const QByteArray bytes = buffer.mid(i);
    buffer.truncate(i);
    for (const char c : bytes) {
        switch (c) {
        case '&':
            buffer.append("&amp;");
            break;
        case '<':
            buffer.append("&lt;");
            break;
        case '>':
            buffer.append("&gt;");
            break;
        case '"':
            buffer.append("&quot;");
            break;
        default:
            buffer.append(c);
        }
    }
}

void writeCell(ExportStream& out, const QByteArray& start, const FontTag& font,
               const QString& text) {
    out << start << font.open;
    writeEscaped(out, text);
    out << font.close << "</TD>\r\n";
}

void writeTitleRows(ExportStream& out, const TableSnapshot& table) {
    const TitleLevels levels(table.columns);
    const FontTag font = fontTag(out, table.titleFont);
    for (int level = 0; level < levels.levelCount(); ++level) {
        out << "<TR>\r\n";
        for (int c = 0; c < table.columns.size(); ++c) {
            const TitleLevels::Cell& cell = levels.cell(level, c);
            if (!cell.origin)
                continue;
            QByteArray start =
                "  <TD WIDTH=" + QByteArray::number(cell.width) + " ALIGN=\"CENTER\"";
            if (cell.columnSpan > 1)
                start += " COLSPAN = \"" + QByteArray::number(cell.columnSpan) + '"';
            if (cell.rowSpan > 1)
                start += " ROWSPAN = \"" + QByteArray::number(cell.rowSpan) + '"';
            start += '>';
            writeCell(out, start, font, cell.text);
        }
        out << "</TR>\r\n";
    }
}

} // namespace

void writeHtmlExport(const TableSnapshot& table, QIODevice& device) {
    ExportStream out(device);
    out << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
           "<HTML>\r\n"
           "<HEAD>\r\n"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
           "<TITLE>\r\n";
    out.text(table.gridName);
    out << "\r\n</TITLE>\r\n</HEAD>\r\n";
    out << "<TABLE "
        << (table.threeDimensionalFrame ? "BORDER=1 CELLSPACING=0 CELLPADDING="
                                        : "BORDER=0 CELLSPACING=1 CELLPADDING=")
        << (table.flat ? "1" : "2") << " BGCOLOR=#" << hexColour(table.buttonFace) << ">\r\n\r\n";

    writeTitleRows(out, table);

    // What precedes a cell's background is the same for every cell of a column.
    const qsizetype columns = table.columns.size();
    QList<QByteArray> starts;
    QList<FontTag> fonts;
    for (const SnapshotColumn& column : table.columns) {
        starts.append("  <TD WIDTH=" + QByteArray::number(column.width) + " ALIGN=\"" +
                      alignmentName(column.alignment) + '"' + noWrap(column) + " BGCOLOR=#");
        fonts.append(fontTag(out, column.font));
    }
    QRgb lastColour = 0;
    QByteArray lastHex;
    bool lastValid = false;
    for (const QList<SnapshotCell>& row : table.rows) {
        out << "<TR>\r\n";
        for (qsizetype c = 0; c < columns; ++c) {
            static const SnapshotCell missing;
            const SnapshotCell& cell = c < row.size() ? row[c] : missing;
            const QRgb rgb = cell.background.isValid() ? cell.background.rgb() : 0;
            if (!lastValid || rgb != lastColour) {
                lastColour = rgb;
                lastHex = hexColour(cell.background);
                lastValid = true;
            }
            out << starts[c] << lastHex << '>' << fonts[c].open;
            if (needsFormulaGuard(table.columns[c], cell.text))
                out << '\'';
            writeEscaped(out, cell.text);
            out << fonts[c].close << "</TD>\r\n";
        }
        out << "</TR>\r\n";
        out.flushIfFull();
    }

    out << "<TR>\r\n";
    const FontTag footerFont = fontTag(out, table.footerFont);
    const QByteArray footerColour = hexColour(table.footerBackground);
    for (qsizetype c = 0; c < columns; ++c) {
        const QByteArray start = "  <TD WIDTH=" + QByteArray::number(table.columns[c].width) +
                                 " ALIGN=\"" + alignmentName(table.columns[c].footerAlignment) +
                                 '"' + noWrap(table.columns[c]) + " BGCOLOR=#" + footerColour + '>';
        writeCell(out, start, footerFont,
                  c < table.footer.size() ? table.footer[c].text : QString());
    }
    out << "</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
    out.finish();
}

} // namespace lists
