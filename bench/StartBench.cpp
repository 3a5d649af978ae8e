// The desktop program's start: from starting its process to its login window
// painted, with a new book and with one of 1,000,000 entries. Asked by the
// environment, the program writes a line when the login window has been
// painted and then leaves it as 终止 does. With DISPLAY set the program
// shows its windows on that X server, otherwise on the offscreen platform.

#include "BenchDatabases.h"

#include "app/StartTiming.h"
#include "store/NewDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kStarts = 15;

// Milliseconds until the program reports its login window painted; -1 when it never does.
double startToLogin(const QProcessEnvironment& environment) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer elapsed;
    elapsed.start();
    program.start(QStringLiteral(TALLOMER_APP), {});
    double ms = -1;
    while (program.waitForReadyRead(10000)) {
        if (program.readAllStandardOutput().contains("login shown")) {
            ms = double(elapsed.nsecsElapsed()) / 1e6;
            break;
        }
    }
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished();
    }
    return ms;
}

void BM_StartToLogin(benchmark::State& state) {
    const int entries = int(state.range(0));
    // The program's data folder is its user data folder, which XDG_DATA_HOME moves.
    QTemporaryDir home(bench::dataFolder() + QStringLiteral("/start-XXXXXX"));
    const QString folder = home.filePath(QStringLiteral("tallomer"));
    QDir().mkpath(folder);
    const QString book = folder + QStringLiteral("/xjrjz.mdb");
    if (entries == 0)
        store::createDatabaseFile(book, store::standardPassword());
    else
        QFile::link(bench::demoDatabase(entries, int(state.range(1))), book);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    environment.insert(QString::fromLatin1(app::kStartTimingVariable), QStringLiteral("1"));
    const bool display = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    if (display)
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    else
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    state.SetLabel(display ? "X11" : "offscreen");

    startToLogin(environment); // the files a start reads come into the system's cache
    for (auto _ : state) {
        // Other work on the machine makes single starts scatter: the median of several.
        std::vector<double> ms;
        for (int i = 0; i < kStarts; ++i)
            ms.push_back(startToLogin(environment));
        std::sort(ms.begin(), ms.end());
        if (ms.front() < 0) {
            state.SkipWithError("the program never reported its login window");
            break;
        }
        state.SetIterationTime(ms[ms.size() / 2] / 1e3);
        state.counters["fastest_ms"] = ms.front();
        state.counters["slowest_ms"] = ms.back();
    }
}

} // namespace

BENCHMARK(BM_StartToLogin)
    ->ArgNames({"entries", "summaries"})
    ->Args({0, 0})
    ->Args({1000000, 500})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
