#include "ExportSample.h"

#include "lists/XlsExportWriter.h"
#include "support/ExportReading.h"

#include <QList>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>
#include <variant>

using namespace exportsample;

namespace {

QByteArray xls(const lists::TableSnapshot& t) {
    return written([&](QIODevice& d) { lists::writeXlsExport(t, d); });
}

QByteArray le16(int v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    return QByteArray(b, 2);
}

QByteArray record(int type, const QByteArray& data) {
    return le16(type) + le16(static_cast<int>(data.size())) + data;
}

QByteArray at(int row, int column) {
    return le16(row) + le16(column);
}

QByteArray label(int row, int column, const QByteArray& text) {
    return record(0x0204, at(row, column) + le16(0) + le16(static_cast<int>(text.size())) + text);
}

QByteArray number(int row, int column, const char (&ieee)[9]) {
    return record(0x0203, at(row, column) + le16(0) + QByteArray(ieee, 8));
}

QByteArray integer(int row, int column, const char (&marked)[5]) {
    return record(0x027E, at(row, column) + le16(0) + QByteArray(marked, 4));
}

QByteArray blank(int row, int column) {
    return record(0x0201, at(row, column) + le16(0x17));
}

// A worksheet read back by walking its records, independently of the
// writer: every cell by position, with the kind of record that held it.
struct Label {
    QString text;
};
struct Number {
    double value;
};
struct Integer {
    qint64 value;
};
struct Blank {};
using Cell = std::variant<Label, Number, Integer, Blank>;

struct Sheet {
    int codePage = 0;
    QList<QList<Cell>> rows;
};

QString fromGbk(const QByteArray& bytes) {
    const std::optional<QString> text = exportreading::fromGbkProper(bytes);
    EXPECT_TRUE(text) << "label bytes are not GBK";
    return text.value_or(QString());
}

Sheet readSheet(const QByteArray& file) {
    Sheet sheet;
    const auto u16 = [&](qsizetype p) {
        return static_cast<int>(static_cast<unsigned char>(file[p])) |
               static_cast<unsigned char>(file[p + 1]) << 8;
    };
    qsizetype p = 0;
    bool first = true;
    bool ended = false;
    int expectRow = 0;
    int expectColumn = 0;
    while (p < file.size()) {
        EXPECT_FALSE(ended) << "records after the end of file";
        const int type = u16(p);
        const int length = u16(p + 2);
        const qsizetype data = p + 4;
        EXPECT_LE(data + length, file.size());
        p = data + length;
        if (first) {
            EXPECT_EQ(type, 0x0809);
            first = false;
            continue;
        }
        if (type == 0x000A) {
            EXPECT_EQ(length, 0);
            ended = true;
            continue;
        }
        if (type == 0x0042) {
            sheet.codePage = u16(data);
            continue;
        }
        const int row = u16(data);
        const int column = u16(data + 2);
        if (row != expectRow) {
            EXPECT_EQ(row, expectRow + 1);
            EXPECT_EQ(column, 0);
            expectRow = row;
            expectColumn = 0;
        }
        EXPECT_EQ(column, expectColumn++);
        if (sheet.rows.size() <= row)
            sheet.rows.resize(row + 1);
        QList<Cell>& cells = sheet.rows[row];
        switch (type) {
        case 0x0204: {
            EXPECT_EQ(u16(data + 4), 0);
            const int n = u16(data + 6);
            EXPECT_EQ(length, 8 + n);
            cells.append(Label{fromGbk(file.mid(data + 8, n))});
            break;
        }
        case 0x0203: {
            EXPECT_EQ(length, 14);
            double v;
            std::memcpy(&v, file.constData() + data + 6, 8); // a little-endian host
            cells.append(Number{v});
            break;
        }
        case 0x027E: {
            EXPECT_EQ(length, 10);
            qint32 v;
            std::memcpy(&v, file.constData() + data + 6, 4);
            EXPECT_EQ(v & 3, 2) << "an integer without the integer marker";
            cells.append(Integer{v >> 2});
            break;
        }
        case 0x0201:
            EXPECT_EQ(length, 6);
            EXPECT_EQ(u16(data + 4), 0x17);
            cells.append(Blank{});
            break;
        default:
            ADD_FAILURE() << "unexpected record " << type;
        }
    }
    EXPECT_TRUE(ended) << "no end-of-file record";
    return sheet;
}

} // namespace

TEST(XlsExport, WritesTheCellRecordsByteForByte) {
    const QByteArray expected =
        QByteArray("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12) +
        QByteArray("\x42\x00\x02\x00\xA8\x03", 6) // code page 936
        + label(0, 0, riqi) + label(0, 1, zhaiyao) + label(0, 2, beizhu) + label(0, 3, bianhao) +
        label(0, 4, jiefang) + label(1, 0, "2024-3-1") +
        label(1, 1, shou + "\"" + kuan + "\" & <" + qian + ">") + blank(1, 2) +
        integer(1, 3, "\x1E\x00\x00\x00") + number(1, 4, "\x00\x00\x00\x00\x00\x4A\x93\x40") +
        label(2, 0, "2024-3-2") + label(2, 1, "{" + ping + "\\" + sheng + "}") + blank(2, 2) +
        integer(2, 3, "\xF6\xFF\xFF\xFF") + blank(2, 4) + label(3, 0, jilushu) +
        number(3, 1, "\x00\x00\x00\x00\x00\x00\x00\x40") + label(3, 2, "") + label(3, 3, "") +
        number(3, 4, "\x00\x00\x00\x00\x00\x4A\x93\x40") + QByteArray("\x0A\x00\x00\x00", 4);
    EXPECT_EQ(xls(sample()), expected);
}

TEST(XlsExport, ReadsBackAsTheSameCells) {
    // Integers at the edges of what the integer record holds, and past them.
    const qint64 big = qint64(1) << 29;
    const QList<qint64> integers = {0, 1, -1, big - 1, -big, big, -big - 1, 4294967296LL};
    lists::TableSnapshot t = exportsample::sample();
    t.columns[2].fieldName = QStringLiteral("备注");
    t.rows.clear();
    QRandomGenerator random(7);
    const QStringList texts = {QStringLiteral("现金"), QStringLiteral("淺憑聖\\{}"),
                               QStringLiteral(""), QStringLiteral("a\tb\r\n"),
                               QStringLiteral("收款😀한")};
    for (int i = 0; i < 300; ++i) {
        QList<lists::SnapshotCell> row(5);
        for (auto& c : row)
            c.isNull = false;
        row[0].text = QStringLiteral("2024-1-%1").arg(i % 28 + 1);
        row[1].text = texts[i % texts.size()];
        row[2].isNull = i % 3 == 0;
        row[2].text = row[2].isNull ? QString() : QStringLiteral("备注%1").arg(i);
        row[3].integer = i < integers.size() ? integers[i] : random.bounded(-100000, 100000);
        row[4].number = random.bounded(2e9) - 1e9;
        row[4].isNull = i % 7 == 3;
        t.rows.append(row);
    }
    t.footer[4].number = 0.1 + 0.2;

    const Sheet sheet = readSheet(xls(t));
    EXPECT_EQ(sheet.codePage, 936);
    ASSERT_EQ(sheet.rows.size(), 302);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(std::get<Label>(sheet.rows[0][c]).text, t.columns[c].title);
    for (int i = 0; i < 300; ++i) {
        const QList<Cell>& cells = sheet.rows[i + 1];
        const QList<lists::SnapshotCell>& row = t.rows[i];
        ASSERT_EQ(cells.size(), 5);
        EXPECT_EQ(std::get<Label>(cells[0]).text, row[0].text);
        QString text = row[1].text;
        text.replace(QStringLiteral("😀"), QStringLiteral("?")).replace(u'한', u'?');
        EXPECT_EQ(std::get<Label>(cells[1]).text, text);
        if (row[2].isNull)
            EXPECT_TRUE(std::holds_alternative<Blank>(cells[2])) << i;
        else
            EXPECT_EQ(std::get<Label>(cells[2]).text, row[2].text);
        const qint64 v = row[3].integer;
        if (v >= -big && v < big)
            EXPECT_EQ(std::get<Integer>(cells[3]).value, v) << i;
        else
            EXPECT_EQ(std::get<Number>(cells[3]).value, static_cast<double>(v)) << i;
        if (row[4].isNull)
            EXPECT_TRUE(std::holds_alternative<Blank>(cells[4])) << i;
        else
            EXPECT_EQ(std::get<Number>(cells[4]).value, row[4].number) << i;
    }
    const QList<Cell>& footer = sheet.rows[301];
    EXPECT_EQ(std::get<Label>(footer[0]).text, QStringLiteral("记录数"));
    EXPECT_EQ(std::get<Number>(footer[1]).value, 2.0);
    EXPECT_EQ(std::get<Label>(footer[2]).text, QString());
    EXPECT_EQ(std::get<Number>(footer[4]).value, 0.1 + 0.2);
}

TEST(XlsExport, ALabelHoldsAt255BytesCutWithoutSplittingACharacter) {
    lists::TableSnapshot t = exportsample::sample();
    t.rows.resize(1);
    t.columns[0].title = QString(255, u'x');
    t.columns[1].title = QString(256, u'y');
    // 2 + 126 * 2 bytes fit; the next character would end at byte 256.
    t.rows[0][0].text = QStringLiteral("ab") + QString(40000, QChar(u'现'));
    t.rows[0][1].text = QStringLiteral("a") + QString(127, QChar(u'现')) + QStringLiteral("b");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(lists::writeXlsExport(t, buffer), 3) << "the cut labels are counted";
    const Sheet sheet = readSheet(buffer.data());
    EXPECT_EQ(std::get<Label>(sheet.rows[0][0]).text, t.columns[0].title);
    EXPECT_EQ(std::get<Label>(sheet.rows[0][1]).text, QString(255, u'y'));
    EXPECT_EQ(std::get<Label>(sheet.rows[1][0]).text, QStringLiteral("ab") + QString(126, u'现'));
    EXPECT_EQ(std::get<Label>(sheet.rows[1][1]).text, QStringLiteral("a") + QString(127, u'现'));
    EXPECT_EQ(std::get<Integer>(sheet.rows[1][3]).value, 7);
}

TEST(XlsExport, RefusesMoreRowsThanAWorksheetCanNumber) {
    lists::TableSnapshot t = exportsample::sample();
    t.rows.resize(lists::XlsMaxRecords, t.rows[0]);
    const Sheet sheet = readSheet(xls(t));
    ASSERT_EQ(sheet.rows.size(), 65536);
    EXPECT_EQ(std::get<Label>(sheet.rows[65535][0]).text, QStringLiteral("记录数"));

    t.rows.append(t.rows[0]);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    try {
        lists::writeXlsExport(t, buffer);
        ADD_FAILURE() << "no error";
    } catch (const lists::XlsTooManyRows& e) {
        EXPECT_EQ(e.rows(), 65537);
        EXPECT_EQ(e.limit(), 65536);
    }
    EXPECT_TRUE(buffer.data().isEmpty());
}
