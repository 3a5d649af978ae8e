// Dates and amounts of the RTF and HTML exports stay on one line in the
// programs people open them with, whatever face those draw 宋体 in.

#include "PrintSample.h"

#include "lists/HtmlExportWriter.h"
#include "lists/RtfExportWriter.h"
#include "support/PdfText.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The cash journal of a month with amounts over ten million.
lists::TableSnapshot bigMonth() {
    lists::TableSnapshot t = printsample::cashJournal(31);
    for (int i = 0; i < t.rows.size(); ++i) {
        t.rows[i][0].text = QStringLiteral("2026-12-%1").arg(i + 1);
        if (!t.rows[i][4].text.isEmpty())
            t.rows[i][4].text = QStringLiteral("12,345,678.90");
        else
            t.rows[i][5].text = QStringLiteral("-8,765,432.10");
        t.rows[i][6].text = QStringLiteral("%1,888,888.88").arg(10 + i);
    }
    t.footer[4].text = QStringLiteral("148,148,146.80");
    t.footer[5].text = QStringLiteral("-166,543,209.90");
    return t;
}

QByteArray bytesOf(void (*write)(const lists::TableSnapshot&, QIODevice&),
                   const lists::TableSnapshot& t) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(t, buffer);
    return buffer.data();
}

// Each cell's width in twips, from the first row definition.
QList<int> cellWidths(const QByteArray& rtf) {
    QList<int> widths;
    int left = 0;
    const qsizetype firstRow = rtf.indexOf("{\\trrh0");
    for (qsizetype at = rtf.indexOf("\\cellx"); at >= 0 && at < firstRow;
         at = rtf.indexOf("\\cellx", at + 1)) {
        const int edge = rtf.mid(at + 6, rtf.indexOf('\r', at) - at - 6).toInt();
        widths << edge - left;
        left = edge;
    }
    return widths;
}

// The faces word processors here draw 宋体 and its neighbours in, those installed.
QList<QFont> commonFaces(int twipsPerEm) {
    QList<QFont> faces;
    for (const char* family : {"Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN",
                               "WenQuanYi Zen Hei", "DejaVu Sans", "DejaVu Serif"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(twipsPerEm);
        font.setHintingPreference(QFont::PreferNoHinting);
        if (QRawFont::fromFont(font).familyName() == font.family())
            faces << font;
    }
    return faces;
}

} // namespace

TEST(ExportOneLine, RtfDateAndAmountCellsHoldTheirTextInEveryCommonFace) {
    lists::TableSnapshot t = bigMonth();
    const QList<QFont> faces = commonFaces(9 * 20); // 9 points in twips
    ASSERT_FALSE(faces.isEmpty());
    const struct {
        int column;
        QString text;
    } widest[] = {{0, QStringLiteral("2026-12-31")},
                  {4, QStringLiteral("148,148,146.80")},
                  {5, QStringLiteral("-166,543,209.90")},
                  {6, QStringLiteral("40,888,888.88")}};
    // As the window shows it, and with a detail column so wide that the
    // table is narrowed to the turned page: by the text columns alone.
    for (const int detailWidth : {140, 600}) {
        t.columns[3].width = detailWidth;
        const QList<int> widths = cellWidths(bytesOf(lists::writeRtfExport, t));
        ASSERT_EQ(widths.size(), t.columns.size());
        for (const auto& w : widest) {
            for (const QFont& face : faces) {
                SCOPED_TRACE(face.family().toStdString() + " " + w.text.toStdString());
                // The text and the gaps of \trgaph40 on either side.
                EXPECT_GT(widths[w.column], QFontMetricsF(face).horizontalAdvance(w.text) + 80);
            }
        }
        int total = 0;
        for (int w : widths)
            total += w;
        EXPECT_LE(total, 16838 - 2 * 720);
        if (detailWidth == 600) {
            EXPECT_EQ(total, 16838 - 2 * 720);
            EXPECT_LT(widths[3], 600 * 15);
        }
    }
}

TEST(ExportOneLine, HtmlDateAndAmountCellsDoNotWrap) {
    const QByteArray html = bytesOf(lists::writeHtmlExport, bigMonth());
    EXPECT_TRUE(html.contains("<TD WIDTH=70 ALIGN=\"LEFT\" NOWRAP BGCOLOR=#ECF9F9>"));
    EXPECT_TRUE(html.contains("<TD WIDTH=90 ALIGN=\"RIGHT\" NOWRAP BGCOLOR=#ECF9F9>"));
    EXPECT_TRUE(html.contains("<TD WIDTH=140 ALIGN=\"LEFT\" BGCOLOR=#ECF9F9>"));
    // The footer's sums too.
    EXPECT_TRUE(html.contains("<TD WIDTH=90 ALIGN=\"RIGHT\" NOWRAP BGCOLOR=#FFFFFF>"));
    EXPECT_EQ(html.count(" NOWRAP "), 32 * 4);
}

namespace {

void expectEveryDateAndAmountWhole(const QString& pdf) {
    const QSet<QString> words = testing_support::wordsOf(testing_support::pdfText(pdf));
    const lists::TableSnapshot t = bigMonth();
    for (const QList<lists::SnapshotCell>& row : t.rows) {
        for (int c : {0, 4, 5, 6}) {
            if (!row[c].text.isEmpty()) {
                EXPECT_TRUE(words.contains(row[c].text)) << row[c].text.toStdString();
            }
        }
    }
    EXPECT_TRUE(words.contains(QStringLiteral("148,148,146.80")));
}

QString writeFile(const QTemporaryDir& dir, const char* name,
                  void (*write)(const lists::TableSnapshot&, QIODevice&)) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    write(bigMonth(), file);
    return file.fileName();
}

} // namespace

TEST(ExportOneLine, WriterShowsEveryDateAndAmountOfTheRtfOnOneLine) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "libreoffice is not installed";
    QTemporaryDir dir;
    const QString rtf = writeFile(dir, "month.rtf", lists::writeRtfExport);
    QProcess writer;
    writer.start(office, {QStringLiteral("-env:UserInstallation=file://") +
                              dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                          QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path(), rtf});
    ASSERT_TRUE(writer.waitForFinished(180000));
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("month.pdf"))));
    expectEveryDateAndAmountWhole(dir.filePath(QStringLiteral("month.pdf")));
}

TEST(ExportOneLine, ChromiumShowsEveryDateAndAmountOfTheHtmlOnOneLine) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed";
    QTemporaryDir dir;
    const QString html = writeFile(dir, "month.htm", lists::writeHtmlExport);
    const QString pdf = dir.filePath(QStringLiteral("month.pdf"));
    QProcess browser;
    browser.start(chromium,
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                   QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
                   QStringLiteral("--user-data-dir=") + dir.filePath(QStringLiteral("p")),
                   QStringLiteral("--no-pdf-header-footer"),
                   QStringLiteral("--print-to-pdf=") + pdf, QStringLiteral("file://") + html});
    ASSERT_TRUE(browser.waitForFinished(180000));
    ASSERT_TRUE(QFile::exists(pdf)) << browser.readAllStandardError().toStdString();
    expectEveryDateAndAmountWhole(pdf);
}
