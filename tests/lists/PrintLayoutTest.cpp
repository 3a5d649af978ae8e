#include "PrintSample.h"

#include "lists/PrintDocument.h"
#include "lists/PrintSetup.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using lists::PrintBand;
using lists::PrintDocument;
using lists::PrintSetup;

namespace {

const QDateTime kMoment(QDate(2005, 3, 1), QTime(14, 30, 5));

PrintSetup journalSetup() {
    PrintSetup setup = PrintSetup::standard(QStringLiteral("现金日记帐打印清单"));
    lists::setStandardSubstitutions(setup, QStringLiteral("王小明"), kMoment);
    return setup;
}

lists::PageCanvas a4(qreal dpi = 96) {
    return lists::PageCanvas::forPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait, dpi);
}

std::unique_ptr<PrintDocument> laidOut(lists::TableSnapshot snapshot, PrintSetup setup,
                                       lists::PageCanvas canvas = a4()) {
    ui::installFontSubstitutions();
    auto document =
        std::make_unique<PrintDocument>(std::move(snapshot), std::move(setup), canvas, kMoment);
    EXPECT_TRUE(document->layOut());
    return document;
}

const lists::PrintTextLine* lineWith(const QList<lists::PrintTextLine>& lines,
                                     const QString& text) {
    for (const lists::PrintTextLine& line : lines) {
        if (line.text == text)
            return &line;
    }
    return nullptr;
}

qreal bottomOf(const lists::PrintPage& page) {
    return page.bands.isEmpty() ? 0 : page.bands.last().top + page.bands.last().height;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    return n;
}

QImage rendered(const PrintDocument& document, int page) {
    const QSizeF paper = document.canvas().paper;
    QImage image(paper.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    document.renderPage(page, painter);
    return image;
}

// The cells' font as a page at 96 dots per inch draws it: 宋体 at 9 points.
QFontMetricsF cellMetrics() {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font);
}

// A cell's text has its column less two pixels on either side.
qreal needed(const QString& text) { return cellMetrics().horizontalAdvance(text) + 4; }

// A December journal whose dates and amounts the designed widths cannot hold
// in the face installed here.
lists::TableSnapshot december() {
    lists::TableSnapshot t = printsample::cashJournal(3);
    t.columns[0].width = 40; // 日期
    t.columns[5].width = 30; // 贷方
    t.columns[6].width = 30; // 余额
    t.rows[1][0].text = QStringLiteral("2026-12-10");
    t.rows[2][6].text = QStringLiteral("-136,845.91");
    t.footer[5].text = QStringLiteral("9,136,845.91");
    return t;
}

} // namespace

TEST(PrintLayout, ThreeEntriesMakeOnePageWithHeaderGridFooterRowAndTheLineAfter) {
    const auto doc = laidOut(printsample::cashJournal(3), journalSetup());
    ASSERT_EQ(doc->pageCount(), 1);
    const QRectF frame = doc->frame();

    const QList<lists::PrintTextLine> header = doc->headerLines(0);
    const auto* title = lineWith(header, QStringLiteral("现金日记帐打印清单"));
    const auto* pageLine = lineWith(header, QStringLiteral("第1页"));
    ASSERT_TRUE(title && pageLine);
    EXPECT_EQ(header.size(), 2); // the empty first left line draws nothing
    EXPECT_NEAR(title->rect.center().x(), frame.center().x(), 0.5);
    EXPECT_NEAR(title->rect.top(), frame.top(), 0.01);
    EXPECT_NEAR(pageLine->rect.left(), frame.left(), 0.01);
    EXPECT_NEAR(pageLine->rect.top(), title->rect.bottom(), 0.01); // the second line
    EXPECT_GT(doc->gridArea().top(), pageLine->rect.bottom());

    const lists::PrintPage& page = doc->page(0);
    ASSERT_EQ(page.bands.size(), 5);
    EXPECT_EQ(page.bands[0].kind, PrintBand::Kind::Title);
    EXPECT_EQ(page.bands[0].top, 0);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(page.bands[r + 1].kind, PrintBand::Kind::Record);
        EXPECT_EQ(page.bands[r + 1].record, r);
    }
    EXPECT_EQ(page.bands[4].kind, PrintBand::Kind::Footer);
    for (int b = 1; b < page.bands.size(); ++b)
        EXPECT_DOUBLE_EQ(page.bands[b].top, page.bands[b - 1].top + page.bands[b - 1].height);

    ASSERT_EQ(page.textAfterGrid.size(), 1);
    const lists::PrintTextLine& after = page.textAfterGrid[0];
    EXPECT_EQ(after.text, QStringLiteral("打印时间:2005-3-1 14:30:05") +
                              QString(21, QLatin1Char(' ')) + QStringLiteral("制表:王小明 ."));
    EXPECT_EQ(doc->textAfterGrid(), after.text);
    EXPECT_GT(after.rect.top(), doc->gridArea().top() + bottomOf(page) * doc->scale());
    EXPECT_NEAR(after.rect.left(), frame.left(), 0.01);
}

TEST(PrintLayout, LongListRepeatsTheTitleAndBreaksWhereTheNextRowNoLongerFits) {
    const auto doc = laidOut(printsample::cashJournal(300), journalSetup());
    const int pages = doc->pageCount();
    ASSERT_GT(pages, 3);
    const qreal available = doc->gridArea().height() / doc->scale();

    int expectedRecord = 0;
    for (int p = 0; p < pages; ++p) {
        const lists::PrintPage& page = doc->page(p);
        ASSERT_FALSE(page.bands.isEmpty());
        EXPECT_EQ(page.bands.first().kind, PrintBand::Kind::Title) << "page " << p + 1;
        EXPECT_LE(bottomOf(page), available + 1e-6) << "page " << p + 1;
        for (const PrintBand& band : page.bands) {
            if (band.kind == PrintBand::Kind::Record) {
                EXPECT_EQ(band.record, expectedRecord++);
            }
        }
        if (p + 1 < pages) {
            EXPECT_FALSE(page.hasFooterRow());
            EXPECT_TRUE(page.textAfterGrid.isEmpty());
            const PrintBand& next = doc->page(p + 1).bands[1];
            EXPECT_GT(bottomOf(page) + next.height, available) << "page " << p + 1 << " not full";
        }
        EXPECT_TRUE(lineWith(doc->headerLines(p), QStringLiteral("第%1页").arg(p + 1)))
            << "page " << p + 1;
    }
    EXPECT_EQ(expectedRecord, 300);

    const lists::PrintPage& last = doc->page(pages - 1);
    EXPECT_EQ(last.bands.last().kind, PrintBand::Kind::Footer);
    EXPECT_EQ(last.lastRecord(), 299);
    ASSERT_EQ(last.textAfterGrid.size(), 1);
    EXPECT_TRUE(last.textAfterGrid[0].text.endsWith(QStringLiteral("制表:王小明 .")));
    EXPECT_EQ(doc->page(0).firstRecord(), 0);
}

TEST(PrintLayout, PageCountMacroNamesTheFinalCount) {
    PrintSetup setup = journalSetup();
    setup.headerRight = {QStringLiteral("第&[Page]页 共&[Pages]页")};
    const auto doc = laidOut(printsample::cashJournal(300), setup);
    const int pages = doc->pageCount();
    ASSERT_GT(pages, 1);
    EXPECT_TRUE(lineWith(doc->headerLines(0), QStringLiteral("第1页 共%1页").arg(pages)));
    const auto* right =
        lineWith(doc->headerLines(pages - 1), QStringLiteral("第%1页 共%1页").arg(pages));
    ASSERT_TRUE(right);
    EXPECT_NEAR(right->rect.right(), doc->frame().right(), 0.01);
}

TEST(PrintLayout, WideGridIsScaledDownToThePageWidthAndNarrowOneKeptAtFullSize) {
    const auto wide = laidOut(printsample::cashJournal(20), journalSetup());
    EXPECT_LT(wide->scale(), 1.0);
    EXPECT_NEAR(wide->gridWidth(), 860.0, 1e-9); // screen widths at 96 dpi
    EXPECT_NEAR(wide->gridWidth() * wide->scale(), wide->frame().width(), 1e-6);

    // The same page at printer resolution: the same proportions.
    const auto fine = laidOut(printsample::cashJournal(20), journalSetup(), a4(600));
    EXPECT_NEAR(fine->scale(), wide->scale(), 1e-9);
    EXPECT_NEAR(fine->frame().left(), 2 / 2.54 * 600, 1e-6);

    const auto narrow = laidOut(printsample::narrowList(20), journalSetup());
    EXPECT_EQ(narrow->scale(), 1.0);
    EXPECT_NEAR(narrow->gridWidth(), 220.0, 1e-9);

    PrintSetup unfitted = journalSetup();
    unfitted.fitToPageWidth = false;
    EXPECT_EQ(laidOut(printsample::cashJournal(20), unfitted)->scale(), 1.0);
}

TEST(PrintLayout, NarrowedColumnsKeepTheirFontAndWrapIntoTallerRows) {
    // Record 4's detail "从工商银行提取备用金" fits its 140 pixels, not three quarters of them.
    const auto scaled = laidOut(printsample::cashJournal(8), journalSetup());
    PrintSetup setup = journalSetup();
    setup.fitKind = PrintSetup::FitKind::ChangeColumnWidths;
    const auto narrowed = laidOut(printsample::cashJournal(8), setup);

    EXPECT_EQ(narrowed->scale(), 1.0);
    EXPECT_NEAR(narrowed->gridWidth(), narrowed->frame().width(), 1e-6);
    const PrintBand& plain = scaled->page(0).bands[5];
    const PrintBand& wrapped = narrowed->page(0).bands[5];
    ASSERT_EQ(plain.record, 4);
    EXPECT_EQ(plain.height, scaled->page(0).bands[6].height);
    EXPECT_GT(wrapped.height, 1.8 * plain.height);

    setup.autoStretchRows = false;
    const auto clipped = laidOut(printsample::cashJournal(8), setup);
    EXPECT_EQ(clipped->page(0).bands[5].height, clipped->page(0).bands[6].height);
}

TEST(PrintLayout, MarginsCountFromThePaperEdgeUnlessThePrinterCannotReachThere) {
    const auto doc = laidOut(printsample::narrowList(3), journalSetup());
    const qreal twoCm = 2 / 2.54 * 96;
    EXPECT_NEAR(doc->frame().left(), twoCm, 1e-6);
    EXPECT_NEAR(doc->frame().top(), twoCm, 1e-6);
    EXPECT_NEAR(doc->frame().right(), doc->canvas().paper.width() - twoCm, 1e-6);
    EXPECT_NEAR(doc->frame().bottom(), doc->canvas().paper.height() - twoCm, 1e-6);

    lists::PageCanvas canvas = a4();
    canvas.printable = QRectF(QPointF(0, 0), canvas.paper).adjusted(100, 10, -10, -10);
    const auto bordered = laidOut(printsample::narrowList(3), journalSetup(), canvas);
    EXPECT_NEAR(bordered->frame().left(), 100, 1e-6);
    EXPECT_NEAR(bordered->frame().top(), twoCm, 1e-6);
}

TEST(PrintLayout, OptimalWidthsFollowTheWidestText) {
    lists::TableSnapshot snapshot = printsample::cashJournal(4);
    snapshot.columns[3].width = 20;
    EXPECT_EQ(laidOut(snapshot, journalSetup())->columnWidths()[3], 20.0);

    PrintSetup setup = journalSetup();
    setup.optimalColumnWidths = true;
    setup.fitToPageWidth = false;
    const auto doc = laidOut(snapshot, setup);
    const qreal detail = doc->columnWidths()[3];
    EXPECT_GT(detail, 10 * 12); // ten characters of 12 pixels
    EXPECT_LT(detail, 10 * 12 + 20);
    // Every record still fits one line at that width.
    EXPECT_EQ(doc->page(0).bands[1].height, doc->page(0).bands[2].height);
}

TEST(PrintLayout, MultiLevelTitlesTakeARowPerLevel) {
    lists::TableSnapshot plain = printsample::narrowList(2);
    lists::TableSnapshot levels = plain;
    levels.columns[0].title = QStringLiteral("项目|摘要");
    levels.columns[1].title = QStringLiteral("项目|属性");
    const qreal one = laidOut(plain, journalSetup())->page(0).bands[0].height;
    EXPECT_NEAR(laidOut(levels, journalSetup())->page(0).bands[0].height, 2 * one, 1e-6);
}

TEST(PrintLayout, BlackOnWhiteUnlessColouredPrintingIsOn) {
    const QRgb cyan = qRgb(0xEC, 0xF9, 0xF9);
    const auto plain = laidOut(printsample::cashJournal(6), journalSetup());
    const QImage page = rendered(*plain, 0);
    EXPECT_EQ(countColour(page, cyan), 0);

    // Something is drawn where the title and the grid are.
    const auto* title = lineWith(plain->headerLines(0), QStringLiteral("现金日记帐打印清单"));
    ASSERT_TRUE(title);
    const QImage titleArea = page.copy(title->rect.toAlignedRect());
    EXPECT_LT(countColour(titleArea, qRgb(255, 255, 255)), titleArea.width() * titleArea.height());
    const QRect gridCorner(plain->gridArea().topLeft().toPoint(), QSize(4, 4));
    EXPECT_LT(countColour(page.copy(gridCorner), qRgb(255, 255, 255)), 16);

    PrintSetup coloured = journalSetup();
    coloured.colouredPrinting = true;
    EXPECT_GT(countColour(rendered(*laidOut(printsample::cashJournal(6), coloured), 0), cyan),
              1000);
}

TEST(PrintLayout, StoppedLayoutKeepsThePagesSoFar) {
    ui::installFontSubstitutions();
    PrintDocument doc(printsample::cashJournal(1000), journalSetup(), a4(), kMoment);
    int asked = 0;
    EXPECT_FALSE(doc.layOut([&] { return ++asked < 2; }));
    EXPECT_FALSE(doc.isComplete());
    ASSERT_GT(doc.pageCount(), 0);
    const int last = doc.page(doc.pageCount() - 1).lastRecord();
    EXPECT_GT(last, 0);
    EXPECT_LT(last, 999);
    EXPECT_FALSE(doc.page(doc.pageCount() - 1).hasFooterRow());

    EXPECT_TRUE(doc.layOut());
    EXPECT_TRUE(doc.isComplete());
    EXPECT_EQ(doc.page(doc.pageCount() - 1).lastRecord(), 999);
}

TEST(PrintLayout, DateAndAmountColumnsAreAsWideAsTheirLongestTextAndPrintOnOneLine) {
    ui::installFontSubstitutions();
    const auto doc = laidOut(december(), journalSetup());
    EXPECT_GE(doc->columnWidths()[0], needed(QStringLiteral("2026-12-10")));
    EXPECT_GE(doc->columnWidths()[6], needed(QStringLiteral("-136,845.91")));
    EXPECT_GE(doc->columnWidths()[5], needed(QStringLiteral("9,136,845.91"))); // the footer sum
    EXPECT_EQ(doc->columnWidths()[3], 140.0); // a text column keeps its width
    EXPECT_EQ(doc->cellLines(1, 0), QStringList({QStringLiteral("2026-12-10")}));
    EXPECT_EQ(doc->cellLines(2, 6), QStringList({QStringLiteral("-136,845.91")}));
    // Then the whole grid is drawn smaller to fit the page.
    EXPECT_LT(doc->scale(), 1.0);
    EXPECT_NEAR(doc->gridWidth() * doc->scale(), doc->frame().width(), 1e-6);

    // Narrowing the columns to the page narrows the text columns only.
    PrintSetup narrowing = journalSetup();
    narrowing.fitKind = PrintSetup::FitKind::ChangeColumnWidths;
    const auto narrowed = laidOut(december(), narrowing);
    EXPECT_GE(narrowed->columnWidths()[0], needed(QStringLiteral("2026-12-10")));
    EXPECT_GE(narrowed->columnWidths()[6], needed(QStringLiteral("-136,845.91")));
    EXPECT_GE(narrowed->columnWidths()[5], needed(QStringLiteral("9,136,845.91")));
    EXPECT_LT(narrowed->columnWidths()[3], 140.0);
    EXPECT_NEAR(narrowed->gridWidth() * narrowed->scale(), narrowed->frame().width(), 1e-6);

    // On a page too narrow for even the dates and amounts, the grid is drawn smaller as well.
    lists::PageCanvas strip = a4();
    strip.paper.setWidth(2 * 2 / 2.54 * 96 + 150);
    strip.printable = QRectF(QPointF(0, 0), strip.paper);
    const auto squeezed = laidOut(december(), narrowing, strip);
    EXPECT_GE(squeezed->columnWidths()[6], needed(QStringLiteral("-136,845.91")));
    EXPECT_LT(squeezed->scale(), 1.0);
    EXPECT_NEAR(squeezed->gridWidth() * squeezed->scale(), squeezed->frame().width(), 1e-6);
}

TEST(PrintLayout, TextWithoutBreaksWrapsBetweenAnyTwoCharactersAndLosesNone) {
    lists::TableSnapshot t = printsample::narrowList(3); // 90, 50 and 80 pixels wide
    const struct {
        int record;
        int column;
        QString text;
    } cells[] = {
        {0, 0, QStringLiteral("6222020200112233445566778899")},
        {1, 0, QStringLiteral("北京市海淀区中关村大街二十七号中关村大厦十二层")},
        {2, 2, QStringLiteral("发票INV2026120100017/ABCDEF，已收")},
        {2, 1, QStringLiteral("增加")},
    };
    for (const auto& c : cells)
        t.rows[c.record][c.column].text = c.text;
    const auto doc = laidOut(t, journalSetup());
    const QFontMetricsF metrics = cellMetrics();
    for (const auto& c : cells) {
        SCOPED_TRACE(c.text.toStdString());
        const QStringList lines = doc->cellLines(c.record, c.column);
        EXPECT_EQ(lines.join(QString()), c.text); // every character, in order
        const qreal room = doc->columnWidths()[c.column] - 4;
        EXPECT_EQ(lines.size() > 1, metrics.horizontalAdvance(c.text) > room);
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), room + 0.01) << line.toStdString();
        const PrintBand& band = doc->page(0).bands[c.record + 1];
        ASSERT_EQ(band.record, c.record);
        EXPECT_GE(band.height, lines.size() * metrics.height());
    }
}
