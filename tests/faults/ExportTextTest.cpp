// Seeded random cell texts through the five export writers: each file is read
// back by a reader of its own format, written here, and must give back every
// title, cell and footer text (in the GBK bytes the files carry; in .txt,
// .csv and .htm a text cell a spreadsheet would evaluate has a leading quote).

#include "RandomText.h"

#include "lists/ExportFormat.h"
#include "lists/FormulaGuard.h"
#include "lists/GbkText.h"
#include "lists/TableSnapshot.h"
#include "support/ExportReading.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using faults::RandomText;
using lists::CellKind;
using lists::TableSnapshot;

constexpr int kRows = 40;

/// Three text columns and an amount; every text random, one of them far
/// longer than a worksheet label holds.
TableSnapshot randomTable(RandomText& random) {
    TableSnapshot t;
    for (int c = 0; c < 4; ++c) {
        lists::SnapshotColumn column;
        // Titles are the program's own; a "|" in one would split it into title levels.
        column.title = random.anyText(12).remove(QLatin1Char('|'));
        column.fieldName = QStringLiteral("f%1").arg(c);
        column.kind = c == 3 ? CellKind::Number : CellKind::Text;
        column.alignment = c == 3 ? Qt::AlignRight : Qt::AlignLeft;
        t.columns << column;
    }
    for (int r = 0; r < kRows; ++r) {
        QList<lists::SnapshotCell> row;
        for (int c = 0; c < 4; ++c) {
            lists::SnapshotCell cell;
            cell.isNull = false;
            cell.text = c == 3 ? QString::number(r * 1.25, 'f', 2) : random.anyText(30);
            cell.number = r * 1.25;
            row << cell;
        }
        t.rows << row;
    }
    QString huge;
    while (huge.size() < 40000)
        huge += random.anyText(50) + QStringLiteral("长");
    t.rows[kRows / 2][1].text = huge;
    for (int c = 0; c < 4; ++c) {
        lists::SnapshotFooterCell footer;
        footer.kind = c == 3 ? lists::FooterKind::Sum : lists::FooterKind::StaticText;
        footer.text = random.anyText(10);
        t.footer << footer;
    }
    return t;
}

QByteArray gbk(const QString& text) { return lists::toGbk(text); }

/// The table as .txt, .csv and .htm carry it: cells that begin like a formula
/// with the leading quote that keeps them text.
TableSnapshot guarded(TableSnapshot t) {
    for (auto& row : t.rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (lists::needsFormulaGuard(t.columns[c], row[c].text))
                row[c].text.prepend(QLatin1Char('\''));
        }
    }
    return t;
}

/// Every text of the table in the order the formats write them: titles,
/// then row by row, then the footer.
QList<QByteArray> textsInOrder(const TableSnapshot& t) {
    QList<QByteArray> texts;
    for (const auto& c : t.columns)
        texts << gbk(c.title);
    for (const auto& row : t.rows)
        for (const auto& cell : row)
            texts << gbk(cell.text);
    for (const auto& f : t.footer)
        texts << gbk(f.text);
    return texts;
}

QByteArray exported(int type, const TableSnapshot& t) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    lists::writeExport(type, t, buffer);
    return buffer.data();
}

// The text format writes the texts with a blank for each tab and line break
// in them (a CR LF pair one blank): tabs between cells, a line break before
// each record and before the footer.
void checkText(const TableSnapshot& t, const QByteArray& file) {
    QByteArray expected;
    TableSnapshot blanked = t;
    const auto blank = [](QString& s) {
        s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        for (const QChar c : {u'\t', u'\r', u'\n'})
            s.replace(c, u' ');
    };
    for (auto& c : blanked.columns)
        blank(c.title);
    for (auto& row : blanked.rows)
        for (auto& cell : row)
            blank(cell.text);
    for (auto& f : blanked.footer)
        blank(f.text);
    const QList<QByteArray> texts = textsInOrder(blanked);
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0)
            expected += i % 4 == 0 ? "\r\n" : "\t";
        expected += texts[i];
    }
    EXPECT_EQ(file, expected);
}

// Values between double quotes with inner quotes doubled, ";" between
// values, a line break between rows outside the quotes.
void checkCsv(const TableSnapshot& t, const QByteArray& file) {
    const exportreading::CsvRows<QByteArray> read = exportreading::readCsv(file);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    const QList<QList<QByteArray>>& rows = read.rows;
    ASSERT_EQ(rows.size(), kRows + 2);
    QList<QByteArray> values;
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), 4);
        values += row;
    }
    EXPECT_EQ(values, textsInOrder(t));
}

// Each cell is the font tag around the escaped text; "&" always begins one of
// the entities, each closed by its semicolon, and nothing else is markup.
void checkHtml(const TableSnapshot& t, const QByteArray& file) {
    ASSERT_TRUE(file.startsWith("<!DOCTYPE HTML PUBLIC"));
    ASSERT_TRUE(file.endsWith("</TR>\r\n</TABLE>\r\n</BODY>\r\n</HTML>\r\n"));
    QList<QByteArray> cells;
    for (qsizetype at = file.indexOf("<TD "); at >= 0; at = file.indexOf("<TD ", at + 1)) {
        const qsizetype open = file.indexOf("<FONT STYLE=\"", at);
        const qsizetype start = file.indexOf("\">", open) + 2;
        const qsizetype end = file.indexOf("</FONT></TD>\r\n", start);
        ASSERT_TRUE(open > at && start > open && end >= start) << "cell at byte " << at;
        const QByteArray raw = file.mid(start, end - start);
        ASSERT_FALSE(raw.contains('<') || raw.contains('>') || raw.contains('"')) << raw.constData();
        if (raw == "&nbsp;") {
            cells << QByteArray();
            continue;
        }
        QByteArray text;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                text += raw[i];
                continue;
            }
            static const std::pair<const char*, char> entities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
            bool known = false;
            for (const auto& [name, c] : entities) {
                if (raw.mid(i).startsWith(name)) {
                    text += c;
                    i += qsizetype(std::strlen(name)) - 1;
                    known = true;
                    break;
                }
            }
            ASSERT_TRUE(known) << "a bare & in " << raw.constData();
        }
        cells << text;
    }
    EXPECT_EQ(cells, textsInOrder(t));
}

// Groups balance; control words, symbols and \'hh escapes are well formed;
// the text of each cell, up to its \cell, gives back the cell's bytes, with
// each line break (CR LF, CR or LF) as a \line. RTF readers skip bare line
// breaks.
void checkRtf(const TableSnapshot& t, const QByteArray& file) {
    ASSERT_TRUE(file.startsWith("{\\rtf0\\ansi"));
    const exportreading::RtfRead read = exportreading::readRtf(file);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    QList<QByteArray> cells;
    for (const QList<QByteArray>& row : read.rows)
        cells += row;
    QList<QByteArray> expected = textsInOrder(t);
    for (QByteArray& e : expected)
        e.replace("\r\n", "\n").replace('\r', '\n');
    EXPECT_EQ(cells, expected);
}

quint16 word(const QByteArray& b, qsizetype at) {
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

// Record after record to the end of the file: beginning of file and code
// page, then every cell in its row and column, labels holding the text
// (cut to the 255 bytes a label holds, never inside a character), then end
// of file.
void checkXls(const TableSnapshot& t, const QByteArray& file) {
    const QList<QByteArray> texts = textsInOrder(t);
    qsizetype at = 0;
    int index = 0;
    QList<quint16> types;
    while (at < file.size()) {
        ASSERT_LE(at + 4, file.size()) << "a record header cut short";
        const quint16 type = word(file, at);
        const quint16 length = word(file, at + 2);
        ASSERT_LE(at + 4 + length, file.size()) << "a record past the end";
        const QByteArray data = file.mid(at + 4, length);
        types << type;
        if (type == 0x0204 || type == 0x0203) {
            const int row = index / 4;
            const int column = index % 4;
            EXPECT_EQ(word(data, 0), row);
            EXPECT_EQ(word(data, 2), column);
            const bool numeric = column == 3 && row > 0;
            EXPECT_EQ(type, numeric ? 0x0203 : 0x0204) << "row " << row << " column " << column;
            if (type == 0x0204) {
                const quint16 n = word(data, 6);
                ASSERT_EQ(length, 8 + n);
                const QByteArray expected = texts[index];
                const QByteArray label = data.mid(8);
                if (expected.size() <= 255) {
                    EXPECT_EQ(label, expected);
                } else {
                    EXPECT_TRUE(expected.startsWith(label));
                    EXPECT_GE(label.size(), 255 - 1);
                    // Not inside a double-byte character: the cut falls where one begins.
                    qsizetype i = 0;
                    while (i < label.size())
                        i += quint8(expected[i]) >= 0x81 ? 2 : 1;
                    EXPECT_EQ(i, label.size());
                }
            } else {
                EXPECT_EQ(length, 14);
            }
            ++index;
        }
        at += 4 + length;
    }
    ASSERT_GE(types.size(), 3);
    EXPECT_EQ(types[0], 0x0809);
    EXPECT_EQ(types[1], 0x0042);
    EXPECT_EQ(types.last(), 0x000A);
    EXPECT_EQ(index, (kRows + 2) * 4);
}

TEST(ExportOfAnyText, EveryFormatReadsBackToTheTexts) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        RandomText random(seed);
        const TableSnapshot table = randomTable(random);
        SCOPED_TRACE(seed);
        {
            SCOPED_TRACE("txt");
            checkText(guarded(table), exported(1, table));
        }
        {
            SCOPED_TRACE("csv");
            checkCsv(guarded(table), exported(2, table));
        }
        {
            SCOPED_TRACE("htm");
            checkHtml(guarded(table), exported(3, table));
        }
        {
            SCOPED_TRACE("rtf");
            checkRtf(table, exported(4, table));
        }
        {
            SCOPED_TRACE("xls");
            checkXls(table, exported(5, table));
        }
    }
}

} // namespace
