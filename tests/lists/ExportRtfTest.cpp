#include "ExportSample.h"

#include "lists/RtfExportWriter.h"

#include <gtest/gtest.h>

using namespace exportsample;

namespace {

QByteArray rtf(const lists::TableSnapshot& t) {
    return written([&](QIODevice& d) { lists::writeRtfExport(t, d); });
}

const QByteArray allBorders = "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                              "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n";

// The row definition of the sample's five columns, all shaded with `colour`.
QByteArray rowDefinition(int colour) {
    QByteArray d = "\\trowd\\trgaph40\r\n";
    const QByteArray c = QByteArray::number(colour);
    for (const char* edge : {"1200", "3000", "3900", "4650", "6000"})
        d += allBorders + "\\clcfpat" + c + "\\clcbpat" + c + "\\cellx" + edge + "\r\n";
    return d + "{\\trrh0\r\n";
}

QByteArray rtfCell(const QByteArray& words, const QByteArray& text) {
    return "\\pard\\intbl{" + words + " " + text + "\\cell}\r\n";
}

const QByteArray rowEnd = "\\pard\\intbl\\row}\r\n";

// A4 upright with half-inch margins: the sample's 4.2 inches fit across.
const QByteArray portrait =
    "\\paperw11906\\paperh16838\\margl720\\margr720\\margt720\\margb720\r\n";

} // namespace

TEST(RtfExport, WritesTheWholeDocumentByteForByte) {
    const QByteArray title = "\\qc\\sb55\\sa55\\fs18\\b\\f0\\cf0\\cb2";
    const QByteArray left1 = "\\ql\\sb12\\sa12\\fs18\\f0\\cf0\\cb3";
    const QByteArray right1 = "\\qr\\sb12\\sa12\\fs18\\f0\\cf0\\cb3";
    const QByteArray left2 = "\\ql\\sb12\\sa12\\fs18\\f0\\cf0\\cb1";
    const QByteArray right2 = "\\qr\\sb12\\sa12\\fs18\\f0\\cf0\\cb1";
    const QByteArray expected =
        "{\\rtf0\\ansi\\ansicpg936\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;"
        "\\red240\\green240\\blue240;\\red236\\green249\\blue249;\\red255\\green0\\blue0;}\r\n"
        "{\\fonttbl\\f0\\fnil \\'cb\\'ce\\'cc\\'e5;\\f1\\fnil Arial;}\r\n" +
        portrait + rowDefinition(2) + rtfCell(title, "\\'c8\\'d5\\'c6\\'da") +
        rtfCell(title, "\\'d5\\'aa\\'d2\\'aa") + rtfCell(title, "\\'b1\\'b8\\'d7\\'a2") +
        rtfCell(title, "\\'b1\\'e0\\'ba\\'c5") + rtfCell(title, "\\'bd\\'e8\\'b7\\'bd") + rowEnd +
        rowDefinition(3) + rtfCell(left1, "2024-3-1") +
        rtfCell(left1, "\\'ca\\'d5\"\\'bf\\'ee\" & <\\'9c\\'5c>") + rtfCell(left1, "") +
        rtfCell(right1, "7") + rtfCell("\\qr\\sb12\\sa12\\fs18\\f1\\cf4\\cb3", "1,234.50") +
        rowEnd + rowDefinition(1) + rtfCell(left2, "2024-3-2") +
        rtfCell(left2, "\\{\\'91\\'7b\\\\\\'c2\\'7d\\}") + rtfCell(left2, "") +
        rtfCell(right2, "-3") + rtfCell("\\qr\\sb12\\sa12\\fs18\\f1\\cf4\\cb1", "") + rowEnd +
        rowDefinition(1) + rtfCell(left2, "\\'bc\\'c7\\'c2\\'bc\\'ca\\'fd") + rtfCell(left2, "2") +
        rtfCell(left2, "") + rtfCell(right2, "") + rtfCell(right2, "1,234.50") + rowEnd + "}";
    EXPECT_EQ(rtf(sample()), expected);
}

TEST(RtfExport, TablesFollowFirstUseAndGridSettings) {
    lists::TableSnapshot t = sample();
    t.flat = false;
    t.buttonFace = QColor(255, 255, 255); // a duplicate keeps its place
    t.titleFont = lists::CellFont();
    t.titleFont.family = QStringLiteral("Tahoma");
    t.titleFont.color = QColor(0, 0, 128);
    t.titleFont.pointSize = 11;
    t.titleFont.italic = true;
    t.titleFont.underline = true;
    t.titleFont.strikeOut = true;
    t.rows[0][0].background = QColor(1, 2, 3);
    t.footerFont.family = QStringLiteral("淺{}");
    t.footerBackground = QColor(236, 249, 249);
    const QByteArray bytes = rtf(t);
    // Title background, title font colour, the first record's shading left
    // to right, then its font colours, then nothing new until the footer.
    EXPECT_TRUE(bytes.startsWith(
        "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl\\red0\\green0\\blue0;"
        "\\red255\\green255\\blue255;\\red255\\green255\\blue255;\\red0\\green0\\blue128;"
        "\\red1\\green2\\blue3;\\red236\\green249\\blue249;\\red255\\green0\\blue0;}\r\n"
        "{\\fonttbl\\f0\\fnil Tahoma;\\f1\\fnil \\'cb\\'ce\\'cc\\'e5;\\f2\\fnil Arial;"
        "\\f3\\fnil \\'9c\\'5c\\{\\};}\r\n" +
        portrait + "\\trowd"))
        << bytes.left(400).constData();
    EXPECT_TRUE(bytes.contains("\\clcfpat1\\clcbpat1\\cellx1200\r\n"));
    EXPECT_TRUE(bytes.contains("{\\qc\\sb55\\sa55\\fs22\\i\\strike\\ul\\f0\\cf3\\cb1 "));
    EXPECT_TRUE(bytes.contains("{\\ql\\sb24\\sa24\\fs18\\f1\\cf0\\cb4 2024-3-1\\cell}"));
    EXPECT_TRUE(bytes.contains("{\\qr\\sb24\\sa24\\fs18\\f2\\cf6\\cb5 1,234.50\\cell}"));
    EXPECT_TRUE(bytes.contains("{\\qr\\sb24\\sa24\\fs18\\f3\\cf0\\cb5 1,234.50\\cell}"));
}

TEST(RtfExport, MultiLevelTitlesLeaveOutTheBordersInsideMergedParts) {
    lists::TableSnapshot t = sample();
    t.columns.resize(3);
    for (auto& row : t.rows)
        row.resize(3);
    t.footer.resize(3);
    t.columns[0].title = QStringLiteral("A|B");
    t.columns[1].title = QStringLiteral("A|C");
    t.columns[2].title = QStringLiteral("D");
    const QByteArray bytes = rtf(t);
    const QByteArray l = "\\clbrdrl\\brdrs\\brdrcf0\r\n";
    const QByteArray tp = "\\clbrdrt\\brdrs\\brdrcf0\r\n";
    const QByteArray b = "\\clbrdrb\\brdrs\\brdrcf0\r\n";
    const QByteArray r = "\\clbrdrr\\brdrs\\brdrcf0\r\n";
    const QByteArray shade = "\\clcfpat2\\clcbpat2\\cellx";
    const QByteArray firstLevel = "\\trowd\\trgaph40\r\n" + l + tp + b + shade + "1200\r\n" + tp +
                                  b + r + shade + "3000\r\n" + l + tp + r + shade + "3900\r\n" +
                                  "{\\trrh0\r\n";
    const QByteArray secondLevel = "\\trowd\\trgaph40\r\n" + allBorders + shade + "1200\r\n" +
                                   allBorders + shade + "3000\r\n" + l + b + r + shade +
                                   "3900\r\n{\\trrh0\r\n";
    const QByteArray words = "\\qc\\sb55\\sa55\\fs18\\b\\f0\\cf0\\cb2";
    EXPECT_TRUE(bytes.contains(firstLevel + rtfCell(words, "A") + rtfCell(words, "") +
                               rtfCell(words, "D") + rowEnd + secondLevel + rtfCell(words, "B") +
                               rtfCell(words, "C") + rtfCell(words, "") + rowEnd))
        << bytes.constData();
}

TEST(RtfExport, LineBreaksInsideCellsAreLineWords) {
    lists::TableSnapshot t = sample();
    t.rows[0][1].text = QStringLiteral("换行\n第二行\r\n3\r4\r\n\n");
    t.footer[2].text = QStringLiteral("a\nb");
    t.columns[3].title = QStringLiteral("\r\n");
    const QByteArray bytes = rtf(t);
    EXPECT_TRUE(
        bytes.contains(" \\'bb\\'bb\\'d0\\'d0\\line \\'b5\\'da\\'b6\\'fe\\'d0\\'d0\\line 3\\line "
                       "4\\line \\line \\cell}"))
        << bytes.constData();
    EXPECT_TRUE(bytes.contains("\\cb1 a\\line b\\cell}"));
    EXPECT_TRUE(bytes.contains("\\cb2 \\line \\cell}"));
}

namespace {

QList<int> cellEdges(const QByteArray& bytes) {
    QList<int> edges;
    const qsizetype firstRow = bytes.indexOf("{\\trrh0");
    for (qsizetype at = bytes.indexOf("\\cellx"); at >= 0 && at < firstRow;
         at = bytes.indexOf("\\cellx", at + 1))
        edges << bytes.mid(at + 6, bytes.indexOf('\r', at) - at - 6).toInt();
    return edges;
}

} // namespace

TEST(RtfExport, TheTableGetsAnA4PageTurnedAndNarrowedToFit) {
    lists::TableSnapshot t = sample();
    // 700 pixels, 10,500 twips: more than the 10,466 across an upright page.
    t.columns[0].width = 380;
    QByteArray bytes = rtf(t);
    EXPECT_TRUE(bytes.contains(
        "}\r\n\\paperw16838\\paperh11906\\margl720\\margr720\\margt720\\margb720\\landscape\r\n"
        "\\trowd"));
    EXPECT_EQ(cellEdges(bytes), QList<int>({5700, 7500, 8400, 9150, 10500}));

    // 1,080 pixels, 16,200 twips, narrowed to the 15,398 across a turned page.
    t.columns[0].width = 760;
    bytes = rtf(t);
    EXPECT_TRUE(bytes.contains("\\landscape\r\n"));
    EXPECT_EQ(cellEdges(bytes), QList<int>({10835, 12546, 13401, 14114, 15398}));
    EXPECT_EQ(bytes.count("\\cellx15398\r\n"), 4); // title, two records, footer

    t.columns[0].width = 50;
    bytes = rtf(t);
    EXPECT_TRUE(bytes.contains(portrait + "\\trowd"));
    EXPECT_FALSE(bytes.contains("\\landscape"));
    EXPECT_EQ(cellEdges(bytes), QList<int>({750, 2550, 3450, 4200, 5550}));
}
