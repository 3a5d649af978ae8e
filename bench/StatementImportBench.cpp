// A year's bank statement of 10,000 lines brought into a copy of the
// 100,000-entry book: the file read (CSV, or an .xlsx workbook), every line
// checked, the balance followed, the lines already there looked up and the
// new ones written in one transaction.

#include "BenchDatabases.h"
#include "StatementFiles.h"

#include "journal/StatementImport.h"
#include "lists/ImportFileReader.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

void removeBook(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

void BM_StatementImport(benchmark::State& state) {
    const bool workbook = state.range(0) == 1;
    const int lines = int(state.range(1));
    const QString demo = bench::demoDatabase(100000, 50);
    const QString folder = bench::dataFolder();
    const QString book = folder + QStringLiteral("/statement-target.mdb");
    const QString file =
        folder + (workbook ? QStringLiteral("/statement.xlsx") : QStringLiteral("/statement.csv"));
    QString account;
    {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(demo));
        c.openToRead();
        account = bench::firstBankAccount(c);
        const QList<QStringList> rows = bench::statementRows(c, account, lines);
        if (workbook)
            bench::writeStatementXlsx(file, rows);
        else
            bench::writeStatementCsv(file, rows);
    }
    for (auto _ : state) {
        state.PauseTiming();
        removeBook(book);
        QFile::copy(demo, book);
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(book));
        c.open();
        state.ResumeTiming();
        journal::StatementImportOptions options;
        options.account = account;
        options.operatorName = QStringLiteral("系统管理员");
        options.sourceFile = file;
        const journal::StatementImportResult result =
            journal::importStatement(c.database(), lists::readImportFile(file), options);
        if (!result.written || result.added != lines)
            state.SkipWithError("the statement did not come in whole");
    }
    removeBook(book);
    QFile::remove(file);
}
BENCHMARK(BM_StatementImport)
    ->Args({0, 10000})
    ->Args({1, 10000})
    ->ArgNames({"xlsx", "lines"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
