// The five export formats as their readers see them: a list with hard cell
// texts (quotes, separators, tabs and line breaks inside cells, RTF's
// special characters, Chinese whose GBK bytes look like ASCII, characters
// outside GBK, a 5,000-character text) is written in every format and read
// back. The worksheet is opened by python3-xlrd, and the text files are
// decoded with Python's strict gbk codec, the one xlrd and pandas use; the
// structure of each text format is read by a small parser here that does
// what the format's readers do.

#include "lists/ExportFormat.h"
#include "lists/TableSnapshot.h"
#include "support/ExportReading.h"
#include "support/QtPrinting.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

using lists::CellKind;
using lists::FooterKind;
using lists::TableSnapshot;

enum Column { Date, Voucher, Summary, Detail, Handler, Debit, Credit, Number, Invoice, Note };
constexpr int kColumns = 10;

// 6 + 3 GBK bytes a round: a cut at 255 bytes would fall inside "文".
QString longText() {
    QString text;
    while (text.size() < 5000)
        text += QStringLiteral("长文本abc");
    return text.left(5000);
}

// A bank-journal-like list, wider than an A4 page across.
TableSnapshot hardTable() {
    TableSnapshot t;
    struct Plan {
        const char* title;
        int width;
        CellKind kind;
    };
    const Plan plans[kColumns] = {
        {"日期", 72, CellKind::Text},      {"凭证号", 56, CellKind::Text},
        {"摘要", 200, CellKind::Text},     {"明细", 300, CellKind::Text},
        {"经办人", 56, CellKind::Text},    {"借方", 90, CellKind::Number},
        {"贷方", 90, CellKind::Number},    {"编号", 50, CellKind::Integer},
        {"发票单位", 160, CellKind::Text}, {"备注", 200, CellKind::Text},
    };
    for (const Plan& p : plans) {
        lists::SnapshotColumn c;
        c.title = c.fieldName = QString::fromUtf8(p.title);
        c.width = p.width;
        c.kind = p.kind;
        c.alignment = c.footerAlignment = p.kind == CellKind::Text ? Qt::AlignLeft : Qt::AlignRight;
        t.columns << c;
    }
    t.columns[Debit].footerKind = t.columns[Credit].footerKind = FooterKind::Sum;
    t.columns[Date].footerKind = FooterKind::StaticText;
    t.columns[Voucher].footerKind = FooterKind::Count;

    const auto row = [](const QStringList& texts) {
        QList<lists::SnapshotCell> cells;
        for (const QString& text : texts) {
            lists::SnapshotCell c;
            c.text = text;
            c.isNull = text.isEmpty();
            cells << c;
        }
        return cells;
    };
    t.rows << row({QStringLiteral("2024-3-1"), QStringLiteral("a\";b"),
                   QStringLiteral("\"TCL电视\""), QStringLiteral("P&G公司"),
                   QStringLiteral("AT&T中国"), QStringLiteral("1,234.50"), QString(),
                   QStringLiteral("7"), QStringLiteral("x;y;"), QStringLiteral("<b>&nbsp;</b>")});
    t.rows << row(
        {QStringLiteral("2024-3-2"), QStringLiteral("甲\t乙"), QStringLiteral("换行\n第二行"),
         QStringLiteral("一\r\n二"), QStringLiteral("三\r四"), QString(), QStringLiteral("99.99"),
         QStringLiteral("-3"), QStringLiteral("C:\\新建{文件}"), QStringLiteral("淺憑聖")});
    t.rows << row({QStringLiteral("2024-3-31"), QStringLiteral("€100"), QStringLiteral("😀表情"),
                   longText(), QString(), QStringLiteral("0.01"), QStringLiteral("5,000.00"),
                   QStringLiteral("12"), QString(), QStringLiteral("价格\t€5\r\n完")});
    t.rows[0][Debit].number = 1234.5;
    t.rows[0][Number].integer = 7;
    t.rows[1][Credit].number = 99.99;
    t.rows[1][Number].integer = -3;
    t.rows[2][Debit].number = 0.01;
    t.rows[2][Credit].number = 5000;
    t.rows[2][Number].integer = 12;

    t.footer.resize(kColumns);
    for (int c = 0; c < kColumns; ++c)
        t.footer[c].kind = t.columns[c].footerKind;
    t.footer[Date].text = QStringLiteral("记录数");
    t.footer[Voucher].text = QStringLiteral("3");
    t.footer[Voucher].number = 3;
    t.footer[Debit].text = QStringLiteral("1,234.51");
    t.footer[Debit].number = 1234.51;
    t.footer[Credit].text = QStringLiteral("5,099.99");
    t.footer[Credit].number = 5099.99;
    return t;
}

// Every text of the table as rows: the title row, the records, the footer.
QList<QStringList> textRows(const TableSnapshot& t) {
    QList<QStringList> rows(1);
    for (const auto& c : t.columns)
        rows[0] << c.title;
    for (const auto& r : t.rows) {
        rows << QStringList();
        for (const auto& cell : r)
            rows.last() << cell.text;
    }
    rows << QStringList();
    for (const auto& f : t.footer)
        rows.last() << f.text;
    return rows;
}

// What survives GBK proper: the euro sign and the emoji become one "?" each.
QString inGbk(QString text) {
    return text.replace(QStringLiteral("😀"), QStringLiteral("?")).replace(u'€', u'?');
}

QByteArray exported(int type, const TableSnapshot& t) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    lists::writeExport(type, t, buffer);
    return buffer.data();
}

QString python() {
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

bool hasXlrd() {
    QProcess p;
    p.start(python(), {QStringLiteral("-c"), QStringLiteral("import xlrd")});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Reads the worksheet with xlrd and decodes every other file with the
// strict gbk codec; prints one JSON object.
constexpr char kReader[] = R"(
import json, sys, xlrd
out = {}
for path in sys.argv[1:]:
    if path.endswith('.xls'):
        try:
            book = xlrd.open_workbook(path)
            sheet = book.sheet_by_index(0)
            out['xls'] = [[{'type': sheet.cell_type(r, c), 'value': sheet.cell_value(r, c)}
                           for c in range(sheet.row_len(r))] for r in range(sheet.nrows)]
        except Exception as e:
            out['xls'] = 'error: %s: %s' % (type(e).__name__, e)
    else:
        data = open(path, 'rb').read()
        try:
            out[path[-3:]] = {'text': data.decode('gbk')}
        except UnicodeDecodeError as e:
            out[path[-3:]] = {'error': str(e)}
print(json.dumps(out))
)";

// The files of all five formats, as the readers saw them.
class ExportReaders : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasXlrd())
            GTEST_SKIP() << "python3-xlrd is not installed (scripts/setup installs it)";
        ASSERT_TRUE(m_dir.isValid());
        QStringList paths;
        for (int type = 1; type <= 5; ++type) {
            const QString path =
                m_dir.filePath(QStringLiteral("list.") + lists::exportExtension(type));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            m_bytes[type] = exported(type, m_table);
            file.write(m_bytes[type]);
            paths << path;
        }
        QProcess reader;
        reader.start(python(),
                     QStringList{QStringLiteral("-c"), QString::fromLatin1(kReader)} + paths);
        ASSERT_TRUE(reader.waitForFinished(60000));
        ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().constData();
        QJsonParseError error;
        m_read = QJsonDocument::fromJson(reader.readAllStandardOutput(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError);
    }

    // The file's text as Python's gbk codec decodes it.
    QString decoded(const char* extension) {
        const QJsonObject file = m_read.value(QLatin1String(extension)).toObject();
        EXPECT_FALSE(file.contains(QLatin1String("error")))
            << extension << ": " << file.value(QLatin1String("error")).toString().toStdString();
        return file.value(QLatin1String("text")).toString();
    }

    const TableSnapshot m_table = hardTable();
    QTemporaryDir m_dir;
    QByteArray m_bytes[6];
    QJsonObject m_read;
};

// Compares what a reader found with the table's texts after `view`, row by
// row and column by column.
template <typename View>
void expectRows(const QList<QStringList>& found, const TableSnapshot& t, View view) {
    const QList<QStringList> rows = textRows(t);
    ASSERT_EQ(found.size(), rows.size()) << "rows";
    for (int r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(found[r].size(), rows[r].size()) << "columns of row " << r;
        for (int c = 0; c < rows[r].size(); ++c)
            EXPECT_EQ(found[r][c], view(rows[r][c])) << "row " << r << " column " << c;
    }
}

TEST_F(ExportReaders, TextKeepsEveryRowAndColumn) {
    const QString text = decoded("txt");
    QList<QStringList> rows;
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        rows << line.split(u'\t');
    // A tab or line break inside a cell reads as one blank; a CRLF pair too.
    expectRows(rows, m_table, [](const QString& s) {
        return inGbk(s)
            .replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            .replace(QRegularExpression(QStringLiteral("[\t\r\n]")), QStringLiteral(" "));
    });
}

TEST_F(ExportReaders, CsvKeepsQuotesSemicolonsAndLineBreaksInsideValues) {
    const exportreading::CsvRows<QString> read = exportreading::readCsv(decoded("csv"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    expectRows(read.rows, m_table, inGbk);
}

// A browser's reading of a character reference: a known name with its ";",
// or one of the old names that may stand without it (the longest that fits);
// a ";" right after such a name is taken as part of it.
QString htmlCellText(const QString& markup) {
    static const std::pair<const char*, QChar> names[] = {
        {"quot", u'"'}, {"nbsp", QChar(0xA0)}, {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}};
    QString text;
    for (qsizetype i = 0; i < markup.size(); ++i) {
        if (markup[i] == u'<') {
            const qsizetype end = markup.indexOf(u'>', i);
            EXPECT_GT(end, i) << "an open tag in " << markup.toStdString();
            i = end;
            continue;
        }
        if (markup[i] != u'&') {
            text += markup[i];
            continue;
        }
        bool known = false;
        for (const auto& [name, c] : names) {
            const QString n = QString::fromLatin1(name);
            if (markup.mid(i + 1, n.size()) != n)
                continue;
            i += n.size();
            const bool closed = markup.mid(i + 1, 1) == QStringLiteral(";");
            EXPECT_TRUE(closed) << "&" << name << " without its \";\" in " << markup.toStdString();
            if (closed)
                ++i;
            text += c;
            known = true;
            break;
        }
        EXPECT_TRUE(known) << "a bare & in " << markup.toStdString();
        if (!known)
            text += u'&';
    }
    return text;
}

TEST_F(ExportReaders, HtmlCellsDecodeToTheirTexts) {
    const QString text = decoded("htm");
    const qsizetype table = text.indexOf(QStringLiteral("<TABLE "));
    ASSERT_GE(table, 0);
    QList<QStringList> rows;
    static const QRegularExpression row(QStringLiteral("<TR>(.*?)</TR>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<TD [^>]*>(.*?)</TD>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto r = row.globalMatch(text, table); r.hasNext();) {
        rows << QStringList();
        const QString cells = r.next().captured(1);
        for (auto c = cell.globalMatch(cells); c.hasNext();) {
            const QString value = htmlCellText(c.next().captured(1));
            rows.last() << (value == QChar(0xA0) ? QString() : value);
        }
    }
    expectRows(rows, m_table, inGbk);
}

TEST_F(ExportReaders, RtfKeepsLineBreaksAndEveryColumnFitsTheLandscapePage) {
    const exportreading::RtfRead doc = exportreading::readRtf(m_bytes[4]);
    ASSERT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
    QList<QStringList> rows;
    for (const QList<QByteArray>& cells : doc.rows) {
        rows << QStringList();
        for (const QByteArray& cell : cells) {
            const std::optional<QString> text = exportreading::fromGbkProper(cell);
            EXPECT_TRUE(text) << "cell bytes that GBK proper does not hold";
            rows.last() << text.value_or(QString());
        }
    }
    expectRows(rows, m_table, [](const QString& s) {
        return inGbk(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    });
    // A4 across, and the table, wider than that, scaled into the margins.
    EXPECT_EQ(doc.words.value("paperw"), 16838);
    EXPECT_EQ(doc.words.value("paperh"), 11906);
    EXPECT_TRUE(doc.words.contains("landscape"));
    ASSERT_TRUE(doc.words.contains("margl") && doc.words.contains("margr"));
    ASSERT_TRUE(doc.words.contains("margt") && doc.words.contains("margb"));
    ASSERT_EQ(doc.edges.size(), kColumns);
    const int printable = 16838 - doc.words.value("margl") - doc.words.value("margr");
    EXPECT_LE(doc.edges.last(), printable);
    EXPECT_GT(doc.edges.last(), printable - kColumns);
    // The columns keep their proportions: 明细 is half as wide again as 摘要.
    const int summary = doc.edges[Summary] - doc.edges[Summary - 1];
    const int detail = doc.edges[Detail] - doc.edges[Detail - 1];
    EXPECT_NEAR(detail * 2, summary * 3, 6);
}

// How much of `text` a worksheet label holds: whole characters up to 255
// GBK bytes.
QString labelPart(const QString& text) {
    int bytes = 0;
    qsizetype n = 0;
    for (; n < text.size(); ++n) {
        bytes += text[n].unicode() < 0x80 ? 1 : 2;
        if (bytes > 255)
            break;
    }
    return text.left(n);
}

TEST_F(ExportReaders, XlrdOpensTheWorksheetAndReadsEveryCell) {
    const QJsonValue sheet = m_read.value(QLatin1String("xls"));
    ASSERT_TRUE(sheet.isArray()) << sheet.toString().toStdString();
    const QJsonArray rows = sheet.toArray();
    const QList<QStringList> texts = textRows(m_table);
    ASSERT_EQ(rows.size(), texts.size());
    constexpr int xlText = 1;
    constexpr int xlNumber = 2;
    for (int r = 0; r < rows.size(); ++r) {
        const QJsonArray cells = rows[r].toArray();
        // xlrd leaves out the trailing blanks of a row.
        ASSERT_LE(cells.size(), kColumns) << "row " << r;
        for (int c = 0; c < cells.size(); ++c) {
            const QJsonObject cell = cells[c].toObject();
            const int type = cell.value(QLatin1String("type")).toInt();
            const QJsonValue value = cell.value(QLatin1String("value"));
            const bool record = r > 0 && r < rows.size() - 1;
            const CellKind kind = m_table.columns[c].kind;
            if (record && kind != CellKind::Text && !texts[r][c].isEmpty()) {
                EXPECT_EQ(type, xlNumber) << "row " << r << " column " << c;
                const auto& s = m_table.rows[r - 1][c];
                EXPECT_DOUBLE_EQ(value.toDouble(),
                                 kind == CellKind::Integer ? double(s.integer) : s.number);
            } else if (r == rows.size() - 1 && (m_table.footer[c].kind == FooterKind::Count ||
                                                m_table.footer[c].kind == FooterKind::Sum)) {
                EXPECT_EQ(type, xlNumber) << "footer column " << c;
                EXPECT_DOUBLE_EQ(value.toDouble(), m_table.footer[c].number);
            } else if (!texts[r][c].isEmpty() || type == xlText) {
                EXPECT_EQ(type, xlText) << "row " << r << " column " << c;
                EXPECT_EQ(value.toString(), labelPart(inGbk(texts[r][c])))
                    << "row " << r << " column " << c;
            }
        }
    }
    // The long text is cut before the character that would pass 255 bytes.
    const QString cut =
        rows[3].toArray()[Detail].toObject().value(QLatin1String("value")).toString();
    EXPECT_EQ(cut.size(), 28 * 6 + 1);
    EXPECT_TRUE(longText().startsWith(cut));
}

} // namespace
