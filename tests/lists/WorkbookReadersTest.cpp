// Files to import as online banking and spreadsheets save them: workbooks
// LibreOffice wrote (checked in, and made again here when LibreOffice is
// installed), a GBK text with lines above its table, and workbooks made to
// break the readers.

#include "lists/ImportFileReader.h"
#include "support/FileContents.h"
#include "support/TestData.h"

#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>

#include <sys/resource.h>

#include <gtest/gtest.h>

using testing_support::contents;
using testing_support::dataFile;

namespace {

QStringList texts(const QList<lists::ImportRow>& rows) {
    QStringList lines;
    for (const lists::ImportRow& row : rows)
        lines << QStringLiteral("%1:%2").arg(row.line).arg(row.cells.join(QLatin1Char('|')));
    return lines;
}

// The statement as the spreadsheet holds it: days in a date style, amounts as numbers.
const QStringList kStatementRows = {
    QStringLiteral("1:账户历史明细清单||||||"),
    QStringLiteral("2:账号：6222 0210 0100 8888 123|户名：本公司|||||"),
    QStringLiteral("3:起止日期：2026-12-01 至 2026-12-31|币种：人民币|||||"),
    QStringLiteral("4:交易日期|摘要|借方发生额|贷方发生额|余额|对方户名|流水号"),
    QStringLiteral("5:2026-12-01|货款||12000|62000|华兴商贸有限公司|HX20261201001"),
    QStringLiteral("6:2026-12-02|转账支取|3500||58500|宏达物流有限公司|HD20261202007"),
    QStringLiteral("7:2026-12-03|手续费|15.5||58484.5||FE20261203001"),
    QStringLiteral("8:2026-12-05|货款||8800.88|67285.38|远东电子科技有限公司|YD20261205012"),
    QStringLiteral("9:2026-12-08|代发工资|21000||46285.38||PY20261208001"),
    QStringLiteral("10:2026-12-15|利息||12.34|46297.72||IN20261215001"),
    QStringLiteral("11:2026-12-20|电费|1234.56||45063.16|国网电力公司|EL20261220003"),
    QStringLiteral("12:2026-12-31|结息||0.05|45063.21||IN20261231001"),
};

QByteArray zipOf(const QList<std::pair<QString, QByteArray>>& parts) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QuaZip zip(&buffer);
    EXPECT_TRUE(zip.open(QuaZip::mdCreate));
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)));
        file.write(bytes);
        file.close();
    }
    zip.close();
    return buffer.data();
}

QByteArray sheetXml(const QByteArray& cells) {
    return "<?xml version=\"1.0\"?><worksheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           cells + "</sheetData></worksheet>";
}

QString refusal(const QByteArray& bytes) {
    try {
        lists::readImportBytes(bytes, QStringLiteral("x.xlsx"));
    } catch (const lists::ImportFileError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(WorkbookReaders, WorkbooksLibreOfficeSavedReadCellForCell) {
    for (const char* name : {"statement-bank-sense.xls", "statement-bank-sense.xlsx"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(texts(lists::readImportFile(dataFile(name))), kStatementRows);
    }
}

TEST(WorkbookReaders, WorkbooksMadeNowByLibreOfficeReadAsTheCheckedInOnes) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    // Column 1 a Y-M-D date, 6 and 7 text, the rest as the spreadsheet guesses.
    const QString filter = QStringLiteral("CSV:44,34,76,1,1/5/2/2/3/1/4/1/5/1/6/2/7/2");
    for (const char* format : {"xls", "xlsx"}) {
        SCOPED_TRACE(format);
        QProcess convert;
        convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + dir.path() +
                                   QStringLiteral("/profile"),
                               QStringLiteral("--headless"), QStringLiteral("--infilter=") + filter,
                               QStringLiteral("--convert-to"), QString::fromUtf8(format),
                               QStringLiteral("--outdir"), dir.path(),
                               dataFile("statement-bank-sense.csv")});
        ASSERT_TRUE(convert.waitForFinished(120000));
        const QString made =
            dir.filePath(QStringLiteral("statement-bank-sense.") + QString::fromUtf8(format));
        ASSERT_TRUE(QFile::exists(made)) << convert.readAllStandardError().toStdString();
        EXPECT_EQ(texts(lists::readImportFile(made)), kStatementRows);
    }
}

TEST(WorkbookReaders, BankTextInGbkWithLinesAboveTheTable) {
    const QList<lists::ImportRow> rows = lists::readImportFile(dataFile("statement-gbk.csv"));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0].cells, QStringList{QStringLiteral("账户交易明细")});
    EXPECT_EQ(rows[3].cells.join(QLatin1Char('|')),
              QStringLiteral("交易日期|交易时间|摘要|收入金额|支出金额|余额|对方户名|流水号"));
    EXPECT_EQ(
        rows[4].cells.join(QLatin1Char('|')),
        QStringLiteral(
            "2026/12/01|09:12:30|货款|￥12,000.00||62,000.00|华兴商贸有限公司|HX20261201001"));
    EXPECT_EQ(rows[8].line, 9);
}

TEST(WorkbookReaders, DamagedAndCraftedWorkbooksAreRefusedWithTheirReason) {
    // A compound document that holds no workbook.
    EXPECT_TRUE(refusal(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\x01'))
                    .contains(QStringLiteral("不是 Excel 97-2003 工作簿")));
    // A zip that is no workbook, and one cut short.
    EXPECT_TRUE(
        refusal(zipOf({{QStringLiteral("a.txt"), "x"}})).contains(QStringLiteral("没有工作簿")));
    const QByteArray xlsx = contents(dataFile("statement-bank-sense.xlsx"));
    EXPECT_FALSE(refusal(xlsx.left(xlsx.size() / 2)).isEmpty());

    const QByteArray workbook =
        "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/"
        "2006/relationships\"><sheets><sheet name=\"a\" r:id=\"rId1\"/></sheets></workbook>";
    // Two cells far apart would ask for millions of empty ones between them.
    const QByteArray far =
        zipOf({{QStringLiteral("xl/workbook.xml"), workbook},
               {QStringLiteral("xl/worksheets/sheet1.xml"),
                sheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c></row>"
                         "<row r=\"900000\"><c r=\"IV900000\"><v>1</v></c></row>")}});
    EXPECT_TRUE(refusal(far).contains(QStringLiteral("远多于文件中的单元格")))
        << refusal(far).toStdString();
    const QByteArray wide = zipOf({{QStringLiteral("xl/workbook.xml"), workbook},
                                   {QStringLiteral("xl/worksheets/sheet1.xml"),
                                    sheetXml("<row r=\"1\"><c r=\"IW1\"><v>1</v></c></row>")}});
    EXPECT_TRUE(refusal(wide).contains(QStringLiteral("超出工作表的 256 列")));
    // A small archive whose sheet unpacks to more than any file the import reads.
    QByteArray huge = sheetXml(QByteArray(65 << 20, ' '));
    const QByteArray bomb = zipOf({{QStringLiteral("xl/workbook.xml"), workbook},
                                   {QStringLiteral("xl/worksheets/sheet1.xml"), huge}});
    huge.clear();
    EXPECT_LT(bomb.size(), 1 << 20);
    EXPECT_TRUE(refusal(bomb).contains(QStringLiteral("解开后大于 64 MB")));
    // A reference to a shared text the workbook lacks.
    const QByteArray missing =
        zipOf({{QStringLiteral("xl/workbook.xml"), workbook},
               {QStringLiteral("xl/worksheets/sheet1.xml"),
                sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>7</v></c></row>")}});
    EXPECT_TRUE(refusal(missing).contains(QStringLiteral("共享文字 7")));
}

TEST(WorkbookReaders, AWorkbookDeclaringHugeSheetsNeverTakesTheMemory) {
    // Each sheet of this workbook declares 65,536 rows of 256 columns and
    // holds one cell: the library would hold 256 MB for each.
    rusage before;
    getrusage(RUSAGE_SELF, &before);
    const QString message = refusal(contents(dataFile("crafted-three-sheets.xls")));
    EXPECT_TRUE(message.contains(QStringLiteral("512 MB"))) << message.toStdString();
    // One such sheet fits; what it holds reads as ever.
    QByteArray statement = contents(dataFile("statement-bank-sense.xls"));
    const qsizetype dimensions = statement.indexOf(QByteArray("\x00\x02\x0e\x00", 4));
    ASSERT_GT(dimensions, 0);
    statement.replace(dimensions + 4, 12, QByteArray("\0\0\0\0\0\0\1\0\0\0\0\1", 12));
    EXPECT_EQ(texts(lists::readImportBytes(statement, QStringLiteral("x.xls"))), kStatementRows);
    rusage after;
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes";
}
