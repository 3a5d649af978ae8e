// The day's safety copy the program makes of the book when it closes: a
// complete copy through SQLite's online backup, in steps that report their
// progress, made durable and moved into place.

#include "BenchDatabases.h"

#include "store/Database.h"
#include "store/SafetyCopies.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void BM_DailyCopy(benchmark::State& state) {
    const auto c = bench::openDemo(int(state.range(0)), int(state.range(1)));
    store::Database& book = c->database();
    store::SafetyCopies copies(book.path());
    const QDate day(2001, 1, 1);
    int reports = 0;
    for (auto _ : state) {
        const store::SafetyCopies::DailyResult result =
            copies.makeDailyCopy(book, day, [&reports](int, int) { ++reports; });
        state.PauseTiming();
        if (result.outcome != store::SafetyCopies::Outcome::Made)
            state.SkipWithError("no copy was made");
        state.counters["MB"] = double(QFileInfo(result.path).size()) / (1024.0 * 1024.0);
        QFile::remove(result.path);
        state.ResumeTiming();
    }
    state.counters["reports"] = benchmark::Counter(reports, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DailyCopy)
    ->Args({100000, 500})
    ->Args({1000000, 500})
    ->ArgNames({"entries", "summaries"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
