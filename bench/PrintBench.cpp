// Page layout of long lists: a cash journal month of 5,000 entries, ten
// columns, as the print preview lays it out before showing page 1.

#include "lists/PrintDocument.h"
#include "lists/PrintSetup.h"
#include "lists/TableSnapshot.h"

#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Font metrics need a GUI application: the suite's main makes it.
void ensureGuiApplication() { Q_ASSERT(QGuiApplication::instance()); }

lists::SnapshotCell cell(const QString& text) {
    lists::SnapshotCell c;
    c.text = text;
    c.isNull = text.isEmpty();
    return c;
}

// Details of varied length: one in forty wraps in its column, each one a
// different text, and every third record names an invoicing party that wraps.
lists::TableSnapshot journal(int entries, bool everyDetailWraps = false) {
    lists::TableSnapshot t;
    const auto column = [](const char* title, int width, Qt::Alignment align = Qt::AlignLeft) {
        lists::SnapshotColumn c;
        c.title = QString::fromUtf8(title);
        c.fieldName = c.title;
        c.width = width;
        c.alignment = align;
        // Dates and amounts are kept whole, as the grid's snapshot marks them.
        c.keepWhole = align == Qt::AlignRight || c.title == QStringLiteral("日期");
        return c;
    };
    t.columns = {column("日期", 70),
                 column("凭证号", 50),
                 column("摘要", 90),
                 column("明细", 140),
                 column("借方", 90, Qt::AlignRight),
                 column("贷方", 90, Qt::AlignRight),
                 column("余额", 90, Qt::AlignRight),
                 column("经办人", 60),
                 column("发票单位", 100),
                 column("备注", 80)};
    const QString summaries[] = {QStringLiteral("提现"), QStringLiteral("差旅费"),
                                 QStringLiteral("办公用品"), QStringLiteral("销售收入"),
                                 QStringLiteral("支付货款")};
    const QString details[] = {
        QStringLiteral("备用金"), QStringLiteral("张经理出差北京"),
        QStringLiteral("打印纸两箱、墨盒三个、文件夹二十个及其他零星用品，第%1号"),
        QStringLiteral("门市部收款"), QStringLiteral("第%1号发票")};
    const QLocale english(QLocale::English);
    qint64 balance = 0;
    for (int i = 0; i < entries; ++i) {
        const qint64 cents = 1000 + (i * 7919LL) % 9000000;
        const bool in = i % 3 != 1;
        balance += in ? cents : -cents;
        const auto money = [&](qint64 v) { return english.toString(v / 100.0, 'f', 2); };
        int kind = (i + i / 7) % 5;
        if (everyDetailWraps)
            kind = 2;
        else if (kind == 2 && i % 8 != 0)
            kind = 0;
        const QString detail = kind == 2 || kind == 4 ? details[kind].arg(i) : details[kind];
        t.rows.append(
            {cell(QStringLiteral("2005-3-%1").arg(1 + i % 28)), cell(QString::number(i + 1)),
             cell(summaries[i % 5]), cell(detail), cell(in ? money(cents) : QString()),
             cell(in ? QString() : money(cents)), cell(money(balance)),
             cell(i % 2 ? QStringLiteral("李会计") : QStringLiteral("王出纳")),
             cell(i % 3 ? QString() : QStringLiteral("北京文化用品有限公司")), cell(QString())});
    }
    t.footer.resize(t.columns.size());
    t.footer[0].text = QStringLiteral("记录数");
    t.footer[1].text = QString::number(entries);
    return t;
}

lists::PrintSetup setup() {
    lists::PrintSetup s = lists::PrintSetup::standard(QStringLiteral("现金日记帐打印清单"));
    lists::setStandardSubstitutions(s, QStringLiteral("王出纳"), QDateTime::currentDateTime());
    return s;
}

void BM_LayOutJournal(benchmark::State& state) {
    ensureGuiApplication();
    const lists::TableSnapshot snapshot = journal(int(state.range(0)));
    const lists::PrintSetup s = setup();
    const auto canvas =
        lists::PageCanvas::forPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait, 600);
    int pages = 0;
    for (auto _ : state) {
        lists::PrintDocument document(snapshot, s, canvas);
        document.layOut();
        pages = document.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_LayOutJournal)->Arg(300)->Arg(5000)->ArgName("rows")->Unit(benchmark::kMillisecond);

// The worst case: every record's detail is a different text that wraps.
void BM_LayOutWrappingJournal(benchmark::State& state) {
    ensureGuiApplication();
    const lists::TableSnapshot snapshot = journal(int(state.range(0)), true);
    const lists::PrintSetup s = setup();
    const auto canvas =
        lists::PageCanvas::forPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait, 600);
    for (auto _ : state) {
        lists::PrintDocument document(snapshot, s, canvas);
        document.layOut();
        benchmark::DoNotOptimize(document.pageCount());
    }
}
BENCHMARK(BM_LayOutWrappingJournal)->Arg(5000)->ArgName("rows")->Unit(benchmark::kMillisecond);

void BM_RenderPage(benchmark::State& state) {
    ensureGuiApplication();
    const auto canvas =
        lists::PageCanvas::forPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait, 96);
    lists::PrintDocument document(journal(300), setup(), canvas);
    document.layOut();
    QImage image(canvas.paper.toSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        document.renderPage(1, painter);
    }
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond);

} // namespace
