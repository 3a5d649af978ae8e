// Printouts written as PDF files and read back with a PDF reader.

#include "PrintSample.h"

#include "lists/PrintDocument.h"
#include "lists/PrintOutput.h"
#include "lists/PrintSetup.h"

#include "support/PdfText.h"
#include "ui/Fonts.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A setup without page header and footer, so that a reader's text holds the grid alone.
lists::PrintSetup bareSetup() {
    lists::PrintSetup setup = lists::PrintSetup::standard(QString());
    setup.headerLeft.clear();
    setup.headerCentre.clear();
    setup.headerRight.clear();
    setup.footerLeft.clear();
    setup.footerCentre.clear();
    setup.footerRight.clear();
    setup.afterGridText.clear();
    return setup;
}

std::unique_ptr<lists::PrintDocument> laidOut(lists::TableSnapshot table) {
    ui::installFontSubstitutions();
    const lists::PrintSetup setup = bareSetup();
    auto document =
        std::make_unique<lists::PrintDocument>(std::move(table), setup, lists::pdfCanvas(setup));
    EXPECT_TRUE(document->layOut());
    return document;
}

// What a PDF reader finds in the document's PDF file, blanks and line ends left out.
QString pdfText(const lists::PrintDocument& document) {
    QTemporaryDir dir;
    QFile pdf(dir.filePath(QStringLiteral("list.pdf")));
    EXPECT_TRUE(pdf.open(QIODevice::WriteOnly));
    EXPECT_TRUE(lists::writePdf(document, pdf));
    pdf.close();
    return testing_support::pdfText(pdf.fileName())
        .remove(QRegularExpression(QStringLiteral("\\s")));
}

lists::TableSnapshot oneColumn(const QStringList& texts, int width = 200) {
    lists::TableSnapshot t;
    t.columns = {printsample::column(QStringLiteral("明细"), width)};
    for (const QString& text : texts)
        t.rows.append({printsample::cell(text)});
    t.footer.resize(1);
    return t;
}

} // namespace

TEST(PrintPdfText, ARowTallerThanAPageGoesOnOverTheNextPagesAndLosesNothing) {
    QString tall;
    for (int i = 1; i <= 900; ++i)
        tall += QStringLiteral("第%1段").arg(i, 3, 10, QLatin1Char('0'));
    const auto document =
        laidOut(oneColumn({QStringLiteral("开头"), tall, QStringLiteral("结尾")}));
    ASSERT_GE(document->pageCount(), 3);
    const qreal page = document->gridArea().height() / document->scale();
    int parts = 0;
    for (int p = 0; p < document->pageCount(); ++p) {
        for (const lists::PrintBand& band : document->page(p).bands) {
            EXPECT_LE(band.top + band.height, page + 1e-6) << "page " << p + 1;
            parts += band.record == 1;
        }
    }
    EXPECT_GE(parts, 2);
    EXPECT_EQ(document->page(0).firstRecord(), 0);
    EXPECT_EQ(document->page(0).lastRecord(), 1) << "it starts below the row before it";
    EXPECT_EQ(document->page(document->pageCount() - 1).lastRecord(), 2);
    // The title row stands on every page.
    EXPECT_EQ(pdfText(*document).remove(QStringLiteral("明细")),
              QStringLiteral("开头") + tall + QStringLiteral("结尾"));
}

TEST(PrintPdfText, TheTextLayerHoldsLettersAndDigitsAsDrawn) {
    const QStringList texts = {QStringLiteral("ABC123"), QStringLiteral("发票No.12345"),
                               QStringLiteral("金额100元"), QStringLiteral("日期2026-3-15"),
                               QStringLiteral("页码7页")};
    const QString text = pdfText(*laidOut(oneColumn(texts)));
    for (const QString& expected : texts)
        EXPECT_TRUE(text.contains(expected))
            << expected.toStdString() << " in " << text.toStdString();
    EXPECT_EQ(text, QStringLiteral("明细") + texts.join(QString()));
}
