// tallomer-db import's work: a spreadsheet's CSV file of a year of cash
// entries read, checked, written in one transaction and every month
// re-balanced, into a new book.

#include "BenchDatabases.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Currency.h"
#include "store/NewDatabase.h"
#include "lists/ImportFileReader.h"
#include "tools/JournalImport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void removeBook(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

// UTF-8 with its mark, "," between values, amounts with group separators in quotes.
QString writeSpreadsheetCsv(const QString& folder, int rows) {
    const QString path = QStringLiteral("%1/import-%2.csv").arg(folder).arg(rows);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const char* const summaries[][2] = {{"销售收入", "+"}, {"办公费", "-"}, {"工资", "-"},
                                        {"收回欠款", "+"}, {"差旅费", "-"}};
    QByteArray out = "\xEF\xBB\xBF日期,凭证号,摘要,明细,借方,贷方,经办人,发票单位,备注\r\n";
    const QDate first(2023, 1, 1);
    for (int i = 0; i < rows; ++i) {
        const QDate day = first.addDays(qint64(i) * 365 / rows);
        const auto& summary = summaries[i % 5];
        const QByteArray amount =
            '"' + store::Currency::fromRaw(qint64(1 + i % 99991) * 1234).format(2, true).toUtf8() + '"';
        const bool debit = summary[1][0] == '+';
        out += day.toString(QStringLiteral("yyyy-M-d")).toUtf8() + ',' + QByteArray::number(i / 3) + ',' +
               summary[0] + ",\"门市零售，第" + QByteArray::number(i) + "笔\"," + (debit ? amount : "") +
               ',' + (debit ? "" : amount) + ",张伟,星海文具店,\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    file.write(out);
    return path;
}

void BM_ImportRows(benchmark::State& state) {
    const int rows = int(state.range(0));
    const QString folder = bench::dataFolder();
    const QString csv = writeSpreadsheetCsv(folder, rows);
    const QString book = folder + QStringLiteral("/import-target.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        removeBook(book);
        store::createDatabaseFile(book, store::standardPassword());
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(book));
        c.open();
        state.ResumeTiming();
        tools::ImportOptions options;
        options.operatorName = QStringLiteral("系统管理员");
        const tools::ImportResult result = tools::importJournal(c, lists::readImportFile(csv), options);
        if (!result.written || result.entries != rows)
            state.SkipWithError("the import refused rows");
    }
    removeBook(book);
    QFile::remove(csv);
}
BENCHMARK(BM_ImportRows)->Arg(100000)->ArgNames({"rows"})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
