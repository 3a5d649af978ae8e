// Export of a long cash-journal-like list in each of the five formats, into
// memory: the writers' own cost, without the disk.

#include "lists/ExportFormat.h"
#include "lists/TableSnapshot.h"
#include "lists/XlsExportWriter.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

namespace {

const lists::TableSnapshot& journalSnapshot(int records) {
    static QMap<int, lists::TableSnapshot> made;
    if (made.contains(records))
        return made[records];
    using namespace lists;
    TableSnapshot t;
    struct ColumnPlan {
        const char* title;
        int width;
        CellKind kind;
        Qt::Alignment alignment;
    };
    const ColumnPlan plans[] = {
        {"日期", 72, CellKind::Text, Qt::AlignLeft},
        {"凭证号", 56, CellKind::Text, Qt::AlignLeft},
        {"摘要", 120, CellKind::Text, Qt::AlignLeft},
        {"明细", 160, CellKind::Text, Qt::AlignLeft},
        {"经办人", 56, CellKind::Text, Qt::AlignLeft},
        {"借方", 90, CellKind::Number, Qt::AlignRight},
        {"贷方", 90, CellKind::Number, Qt::AlignRight},
        {"余额", 100, CellKind::Number, Qt::AlignRight},
        {"编号", 50, CellKind::Integer, Qt::AlignRight},
        {"备注", 120, CellKind::Text, Qt::AlignLeft},
    };
    for (const ColumnPlan& s : plans) {
        SnapshotColumn c;
        c.title = c.fieldName = QString::fromUtf8(s.title);
        c.width = s.width;
        c.kind = s.kind;
        c.alignment = c.footerAlignment = s.alignment;
        c.footerKind = s.kind == CellKind::Number ? FooterKind::Sum : FooterKind::None;
        t.columns.append(c);
    }
    t.columns[0].footerKind = FooterKind::StaticText;
    t.columns[1].footerKind = FooterKind::Count;

    const QStringList summaries = {QStringLiteral("提现"), QStringLiteral("收货款"),
                                   QStringLiteral("差旅费报销"), QStringLiteral("办公用品"),
                                   QStringLiteral("工资")};
    const QStringList people = {QStringLiteral("张三"), QStringLiteral("李四"),
                                QStringLiteral("王五")};
    qint64 balance = 0;
    t.rows.reserve(records);
    for (int i = 0; i < records; ++i) {
        const QColor background = i % 2 == 0 ? QColor(236, 249, 249) : QColor(255, 255, 255);
        QList<SnapshotCell> row(10);
        for (SnapshotCell& c : row) {
            c.isNull = false;
            c.background = background;
        }
        const qint64 amount = (i * 7919) % 500000 + 100; // hundredths
        const bool debit = i % 3 != 0;
        balance += debit ? amount : -amount;
        const auto money = [](qint64 cents) { return QString::number(cents / 100.0, 'f', 2); };
        row[0].text = QStringLiteral("2024-%1-%2").arg(i % 12 + 1).arg(i % 28 + 1);
        row[1].text = QStringLiteral("记%1").arg(i % 1000);
        row[2].text = summaries[i % summaries.size()];
        row[3].text = QStringLiteral("第%1笔 付款给供应商 No.%2").arg(i).arg(i % 97);
        row[4].text = people[i % people.size()];
        row[5].text = debit ? money(amount) : QString();
        row[5].number = debit ? amount / 100.0 : 0;
        row[6].text = debit ? QString() : money(amount);
        row[6].number = debit ? 0 : amount / 100.0;
        row[7].text = money(balance);
        row[7].number = balance / 100.0;
        row[8].text = QString::number(i + 1);
        row[8].integer = i + 1;
        row[9].text = i % 4 == 0 ? QStringLiteral("发票 <已收> & \"待核\"") : QString();
        row[9].isNull = i % 4 != 0;
        t.rows.append(row);
    }
    for (int c = 0; c < 10; ++c) {
        SnapshotFooterCell f;
        f.kind = t.columns[c].footerKind;
        t.footer.append(f);
    }
    t.footer[0].text = QStringLiteral("记录数");
    t.footer[1].text = QString::number(records);
    t.footer[1].number = records;
    return made[records] = t;
}

// Arguments: format type, records (the worksheet holds at most 65,534).
void BM_Export(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    const lists::TableSnapshot& table = journalSnapshot(static_cast<int>(state.range(1)));
    qint64 bytes = 0;
    // One array for every run, written once before the timing starts, as a
    // file's pages in the system's cache would be: the bench measures the
    // writer, not the growing of a 200 MB array. A 100,000-row run takes one
    // iteration, and on the development machine the first touch of that
    // much fresh memory (its page faults) took three times the writer's own
    // work: 570 ms in all for the RTF export, against 186 ms into a file.
    QByteArray storage;
    {
        QBuffer warmUp(&storage);
        warmUp.open(QIODevice::WriteOnly);
        lists::writeExport(type, table, warmUp);
    }
    for (auto _ : state) {
        QBuffer buffer(&storage);
        buffer.open(QIODevice::WriteOnly);
        lists::writeExport(type, table, buffer);
        bytes = buffer.size();
        benchmark::DoNotOptimize(storage.constData());
    }
    state.SetLabel(lists::exportExtension(type).toStdString());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_Export)
    ->Args({1, 100000})
    ->Args({2, 100000})
    ->Args({3, 100000})
    ->Args({4, 100000})
    ->Args({5, lists::XlsMaxRecords})
    ->ArgNames({"format", "rows"})
    ->Unit(benchmark::kMillisecond);

} // namespace
