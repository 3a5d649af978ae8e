#include "ExportSample.h"

#include "lists/CsvExportWriter.h"
#include "lists/HtmlExportWriter.h"
#include "lists/TextExportWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace exportsample;

namespace {

// The sample with formulas, links and signs at the start of its text cells,
// a negative amount and a negative integer beside them.
lists::TableSnapshot formulas() {
    lists::TableSnapshot t = sample();
    t.rows.resize(1);
    const QString texts[] = {QStringLiteral("=1+1"),
                             QStringLiteral("=SUM(1,2)"),
                             QStringLiteral("=HYPERLINK(\"http://example.com\",\"x\")"),
                             QStringLiteral("+1"),
                             QStringLiteral("-2"),
                             QStringLiteral("@A1"),
                             QStringLiteral("\tA"),
                             QStringLiteral("\rB"),
                             QStringLiteral("a=b"),
                             QStringLiteral("收款")};
    const QList<lists::SnapshotCell> first = t.rows.first();
    t.rows.clear();
    for (const QString& text : texts) {
        auto row = first;
        row[1].text = text;
        row[3].text = QStringLiteral("-3");
        row[4].text = QStringLiteral("-1,234.50");
        t.rows.append(row);
    }
    return t;
}

} // namespace

TEST(FormulaGuard, TextCellsThatASpreadsheetWouldEvaluateGetALeadingQuote) {
    const lists::TableSnapshot t = formulas();
    const QByteArray text = written([&](QIODevice& d) { lists::writeTextExport(t, d); });
    const QByteArray csv = written([&](QIODevice& d) { lists::writeCsvExport(t, d); });
    const QByteArray html = written([&](QIODevice& d) { lists::writeHtmlExport(t, d); });
    const QList<QByteArray> textCells = {
        "'=1+1",    "'=SUM(1,2)", "'=HYPERLINK(\"http://example.com\",\"x\")",
        "'+1",      "'-2",        "'@A1",
        "' A",      "' B",        "a=b",
        shou + kuan};
    for (const QByteArray& cell : textCells) {
        SCOPED_TRACE(cell.toStdString());
        // Amounts, counts and dates are written as the grid shows them.
        EXPECT_TRUE(text.contains("\r\n2024-3-1\t" + cell + "\t\t-3\t-1,234.50"))
            << text.constData();
        QByteArray quoted = cell;
        quoted.replace('"', "\"\"");
        quoted.replace("' ", cell.startsWith("' A") ? "'\t" : "'\r");
        EXPECT_TRUE(csv.contains("\r\n\"2024-3-1\";\"" + quoted + "\";\"\";\"-3\";\"-1,234.50\""))
            << csv.constData();
    }
    EXPECT_TRUE(html.contains(">'=1+1</FONT>")) << html.constData();
    EXPECT_TRUE(html.contains(">'=HYPERLINK(&quot;http://example.com&quot;,&quot;x&quot;)</FONT>"));
    EXPECT_TRUE(html.contains(">'@A1</FONT>"));
    EXPECT_TRUE(html.contains(">a=b</FONT>"));
    EXPECT_TRUE(html.contains(">-1,234.50</FONT>"));
    EXPECT_FALSE(html.contains(">'-3</FONT>"));
    EXPECT_FALSE(html.contains(">'-1,234.50</FONT>"));
    // Titles and the footer are the program's own texts.
    EXPECT_TRUE(text.endsWith(jilushu + "\t2\t\t\t1,234.50"));
}

// LibreOffice Calc, opening the .csv as a user does, keeps every such cell as text.
TEST(FormulaGuard, CalcOpensTheCsvWithFormulasAsText) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "libreoffice is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile csv(dir.filePath(QStringLiteral("formulas.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    lists::writeCsvExport(formulas(), csv);
    csv.close();
    QProcess calc;
    calc.start(
        office,
        {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
         QStringLiteral("--headless"),
         QStringLiteral("--infilter=Text - txt - csv (StarCalc):59,34,67,1"),
         QStringLiteral("--convert-to"),
         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), QStringLiteral("--outdir"),
         dir.filePath(QStringLiteral("read")), csv.fileName()});
    ASSERT_TRUE(calc.waitForFinished(180000));
    QFile read(dir.filePath(QStringLiteral("read/formulas.csv")));
    ASSERT_TRUE(read.open(QIODevice::ReadOnly)) << calc.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(read.readAll()).split(QStringLiteral("\n"));
    ASSERT_GE(lines.size(), 4);
    // Column two of the first three records: =1+1, =SUM(1,2), the link.
    for (int record = 1; record <= 3; ++record) {
        const QString& line = lines[record];
        SCOPED_TRACE(line.toStdString());
        EXPECT_FALSE(line.startsWith(QStringLiteral("2024-3-1,2,")));
        EXPECT_FALSE(line.startsWith(QStringLiteral("2024-3-1,3,")));
        EXPECT_TRUE(line.contains(QStringLiteral("=")));
    }
    EXPECT_TRUE(lines[1].contains(QStringLiteral("=1+1")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("=SUM(1")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("HYPERLINK")));
}
