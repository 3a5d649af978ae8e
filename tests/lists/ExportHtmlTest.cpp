#include "ExportSample.h"

#include "lists/HtmlExportWriter.h"

#include <gtest/gtest.h>

using namespace exportsample;

namespace {

QByteArray html(const lists::TableSnapshot& t) {
    return written([&](QIODevice& d) { lists::writeHtmlExport(t, d); });
}

QByteArray font(const QByteArray& family, const char* colour, const QByteArray& text) {
    return "<FONT STYLE=\"font-family: " + family + "; font-size: 9pt; color: #" + colour + "\">" +
           text + "</FONT>";
}

QByteArray cell(int width, const char* align, const char* background, const QByteArray& inner) {
    return "  <TD WIDTH=" + QByteArray::number(width) + " ALIGN=\"" + align + "\" BGCOLOR=#" +
           background + ">" + inner + "</TD>\r\n";
}

QByteArray titleCell(int width, const QByteArray& text) {
    return "  <TD WIDTH=" + QByteArray::number(width) + " ALIGN=\"CENTER\">" +
           font(songti, "000000", "<B>" + text + "</B>") + "</TD>\r\n";
}

} // namespace

TEST(HtmlExport, WritesTheWholeDocumentByteForByte) {
    const QByteArray arialRed = "Arial";
    const QByteArray expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
        "<TITLE>\r\nDBGridEh1\r\n</TITLE>\r\n</HEAD>\r\n"
        "<TABLE BORDER=0 CELLSPACING=1 CELLPADDING=1 BGCOLOR=#F0F0F0>\r\n\r\n"
        "<TR>\r\n" +
        titleCell(80, riqi) + titleCell(120, zhaiyao) + titleCell(60, beizhu) +
        titleCell(50, bianhao) + titleCell(90, jiefang) + "</TR>\r\n<TR>\r\n" +
        cell(80, "LEFT", "ECF9F9", font(songti, "000000", "2024-3-1")) +
        cell(120, "LEFT", "ECF9F9",
             font(songti, "000000", shou + "&quot;" + kuan + "&quot; &amp; &lt;" + qian + "&gt;")) +
        cell(60, "LEFT", "ECF9F9", font(songti, "000000", "&nbsp;")) +
        cell(50, "RIGHT", "ECF9F9", font(songti, "000000", "7")) +
        cell(90, "RIGHT", "ECF9F9", font(arialRed, "FF0000", "1,234.50")) + "</TR>\r\n<TR>\r\n" +
        cell(80, "LEFT", "FFFFFF", font(songti, "000000", "2024-3-2")) +
        cell(120, "LEFT", "FFFFFF", font(songti, "000000", "{" + ping + "\\" + sheng + "}")) +
        cell(60, "LEFT", "FFFFFF", font(songti, "000000", "&nbsp;")) +
        cell(50, "RIGHT", "FFFFFF", font(songti, "000000", "-3")) +
        cell(90, "RIGHT", "FFFFFF", font(arialRed, "FF0000", "&nbsp;")) + "</TR>\r\n<TR>\r\n" +
        cell(80, "LEFT", "FFFFFF", font(songti, "000000", jilushu)) +
        cell(120, "LEFT", "FFFFFF", font(songti, "000000", "2")) +
        cell(60, "LEFT", "FFFFFF", font(songti, "000000", "&nbsp;")) +
        cell(50, "RIGHT", "FFFFFF", font(songti, "000000", "&nbsp;")) +
        cell(90, "RIGHT", "FFFFFF", font(songti, "000000", "1,234.50")) +
        "</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
    EXPECT_EQ(html(sample()), expected);
}

TEST(HtmlExport, CellsCarryTheirOwnBackgroundAndTheFrameDecidesTheTable) {
    // Without the two-colour rows the cells carry their column's colour.
    lists::TableSnapshot t = sample();
    t.threeDimensionalFrame = true;
    t.flat = false;
    t.buttonFace = QColor(0x12, 0xAB, 0x0F);
    for (auto& row : t.rows) {
        for (auto& c : row)
            c.background = QColor(0xFF, 0xFF, 0xFF);
    }
    t.rows[1][3].background = QColor(0xFE, 0xDC, 0xBA);
    t.rows[1][4].background = QColor(); // the empty colour
    const QByteArray bytes = html(t);
    EXPECT_TRUE(bytes.contains("<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2 BGCOLOR=#12AB0F>"
                               "\r\n\r\n<TR>\r\n"));
    EXPECT_EQ(bytes.count("BGCOLOR=#ECF9F9"), 0);
    EXPECT_EQ(bytes.count("BGCOLOR=#FFFFFF"), 5 + 3 + 5);
    EXPECT_TRUE(bytes.contains(" ALIGN=\"RIGHT\" BGCOLOR=#FEDCBA><FONT"));
    EXPECT_TRUE(bytes.contains(" ALIGN=\"RIGHT\" BGCOLOR=#000000><FONT"));
}

TEST(HtmlExport, StylesWrapTheTextAndEntitiesGoInOrder) {
    lists::TableSnapshot t = sample();
    t.footerFont.italic = true;
    t.footerFont.underline = true;
    t.footerFont.strikeOut = true;
    t.footerFont.bold = true;
    t.footerFont.pointSize = 12;
    t.footer[2].text = QStringLiteral("&lt;\"&amp\"");
    t.columns[1].alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    const QByteArray bytes = html(t);
    EXPECT_TRUE(bytes.contains("font-size: 12pt; color: #000000\"><B><I><U><STRIKE>"
                               "&amp;lt;&quot;&amp;amp&quot;</B></I></U></STRIKE></FONT></TD>"));
    EXPECT_TRUE(bytes.contains("  <TD WIDTH=120 ALIGN=\"CENTER\" BGCOLOR=#ECF9F9>"));
}

TEST(HtmlExport, MultiLevelTitlesSpanColumnsAndRows) {
    lists::TableSnapshot t = sample();
    t.titleFont.bold = false;
    t.columns[0].title = QStringLiteral("A|B|C");
    t.columns[1].title = QStringLiteral("A|B|D");
    t.columns[2].title = QStringLiteral("A|E");
    t.columns[3].title = QStringLiteral("F");
    t.columns[4].title = QStringLiteral("F|G");
    const QByteArray bytes = html(t);
    const auto title = [](int width, const char* spans, const QByteArray& text) {
        return "  <TD WIDTH=" + QByteArray::number(width) + " ALIGN=\"CENTER\"" + spans + ">" +
               font(songti, "000000", text) + "</TD>\r\n";
    };
    const QByteArray expected =
        "<TR>\r\n" + title(260, " COLSPAN = \"3\"", "A") + title(50, " ROWSPAN = \"3\"", "F") +
        title(90, "", "F") + "</TR>\r\n<TR>\r\n" + title(200, " COLSPAN = \"2\"", "B") +
        title(60, " ROWSPAN = \"2\"", "E") + title(90, " ROWSPAN = \"2\"", "G") +
        "</TR>\r\n<TR>\r\n" + title(80, "", "C") + title(120, "", "D") +
        "</TR>\r\n<TR>\r\n  <TD WIDTH=80 ALIGN=\"LEFT\"";
    EXPECT_TRUE(bytes.contains(expected)) << bytes.constData();
}
