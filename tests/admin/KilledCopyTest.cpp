// A backup or a restore killed at any moment leaves every database file whole:
// tallomer-db runs them on a large database and is killed part way through.

#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/Connection.h"
#include "store/DatabaseCheck.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

const QString kTool = QStringLiteral(TALLOMER_DB);
constexpr int kEntries = 200000;
constexpr int kKills = 5;

struct ToolRun {
    bool killed = false;
    qint64 ms = 0;
};

/// Runs tallomer-db; with `killAfterMs` >= 0 it is killed with SIGKILL when
/// still running that long after it started.
ToolRun runTool(const QStringList& args, int killAfterMs = -1) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(kTool, args);
    EXPECT_TRUE(process.waitForStarted(5000)) << kTool.toStdString();
    QElapsedTimer timer;
    timer.start();
    if (killAfterMs >= 0 && !process.waitForFinished(killAfterMs))
        ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(60000);
    ToolRun run;
    run.killed = process.exitStatus() == QProcess::CrashExit;
    run.ms = timer.elapsed();
    if (!run.killed) {
        EXPECT_EQ(process.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString();
    }
    return run;
}

QStringList problemsOf(const QString& path) {
    return store::checkDatabaseFile(path, store::standardPassword());
}

/// -1 when the file cannot be read.
int cashEntries(const QString& path) {
    try {
        const auto db = store::openDatabaseFile(path, store::standardPassword());
        store::Statement s(*db, QStringLiteral("select count(*) from 现金日记帐"));
        s.step();
        return int(s.int64(0));
    } catch (const store::EngineError&) {
        return -1;
    }
}

/// The temporaries a copy leaves when it is killed.
QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*.tmp*")}, QDir::Files | QDir::Hidden);
}

void replaceWithCopy(const QString& from, const QString& to) {
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(to + suffix);
    ASSERT_TRUE(QFile::copy(from, to));
}

/// One large database for the whole suite, made by tallomer-db itself.
class KilledCopy : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_big = s_dir->filePath(QStringLiteral("big.mdb"));
        runTool({QStringLiteral("create"), s_big});
        runTool({QStringLiteral("demo"), s_big, QStringLiteral("--entries"),
                 QString::number(kEntries)});
        s_bigEntries = cashEntries(s_big);
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    /// Delays that spread over a run that takes `fullMs`.
    static QList<int> killDelays(qint64 fullMs) {
        QList<int> delays;
        for (int k = 1; k <= kKills; ++k)
            delays << int(fullMs * k / (kKills + 1));
        return delays;
    }

    QString file(const char* name) const { return s_dir->filePath(QLatin1String(name)); }

    static QTemporaryDir* s_dir;
    static QString s_big;
    static int s_bigEntries;
};

QTemporaryDir* KilledCopy::s_dir = nullptr;
QString KilledCopy::s_big;
int KilledCopy::s_bigEntries = 0;

TEST_F(KilledCopy, BackupLeavesTheDatabaseAndTheOldTargetWhole) {
    ASSERT_GT(s_bigEntries, kEntries / 3);
    const QString old = file("old.mdb");
    store::createDatabaseFile(old, store::standardPassword());
    const QString target = file("target.mdb");

    const ToolRun full = runTool({QStringLiteral("backup"), s_big, file("timing.mdb")});
    QFile::remove(file("timing.mdb"));
    int killed = 0;
    for (int delay : killDelays(full.ms)) {
        replaceWithCopy(old, target);
        killed += runTool({QStringLiteral("backup"), s_big, target}, delay).killed;
        EXPECT_EQ(problemsOf(target), QStringList()) << "killed after " << delay << " ms";
        const int entries = cashEntries(target);
        EXPECT_TRUE(entries == 0 || entries == s_bigEntries) << entries;
    }
    EXPECT_GE(killed, 2) << "the backups ended before they could be killed";
    // What the killed backups left, the next backup to the same file removes.
    runTool({QStringLiteral("backup"), s_big, target}, full.ms / 2);
    ASSERT_FALSE(leftovers(s_dir->path()).isEmpty());
    runTool({QStringLiteral("backup"), s_big, target});
    EXPECT_EQ(leftovers(s_dir->path()), QStringList());
    EXPECT_EQ(cashEntries(target), s_bigEntries);
    EXPECT_EQ(problemsOf(s_big), QStringList());
    EXPECT_EQ(cashEntries(s_big), s_bigEntries);
}

TEST_F(KilledCopy, RestoreLeavesTheWorkingDatabaseOldOrNewAndWhole) {
    // Two sources of the same size and different content to restore in turn.
    const QString halved = file("halved.mdb");
    store::backupDatabaseFile(s_big, store::standardPassword(), halved);
    store::openDatabaseFile(halved, store::standardPassword())
        ->exec(QStringLiteral("delete from 现金日记帐 where 编号 % 2 = 0"));
    const int halvedEntries = cashEntries(halved);
    ASSERT_NE(halvedEntries, s_bigEntries);
    const QString working = file("xjrjz.mdb");
    store::backupDatabaseFile(s_big, store::standardPassword(), working);

    const ToolRun full = runTool({QStringLiteral("restore"), working, halved});
    ASSERT_EQ(cashEntries(working), halvedEntries);
    int killed = 0;
    for (int delay : killDelays(full.ms)) {
        const int before = cashEntries(working);
        const QString source = before == s_bigEntries ? halved : s_big;
        const int after = before == s_bigEntries ? halvedEntries : s_bigEntries;
        killed += runTool({QStringLiteral("restore"), working, source}, delay).killed;
        EXPECT_EQ(problemsOf(working), QStringList()) << "killed after " << delay << " ms";
        const int entries = cashEntries(working);
        EXPECT_TRUE(entries == before || entries == after) << entries;
        const QString kept = store::keptPreviousFile(working);
        if (QFileInfo::exists(kept)) {
            EXPECT_EQ(problemsOf(kept), QStringList());
        }
    }
    EXPECT_GE(killed, 2) << "the restores ended before they could be killed";
    // What the killed restores left, the next restore removes.
    runTool({QStringLiteral("restore"), working, halved}, full.ms / 2);
    ASSERT_FALSE(leftovers(s_dir->path()).isEmpty());
    runTool({QStringLiteral("restore"), working, halved});
    EXPECT_EQ(leftovers(s_dir->path()), QStringList());
    EXPECT_EQ(cashEntries(working), halvedEntries);
    EXPECT_EQ(cashEntries(s_big), s_bigEntries);
    EXPECT_EQ(cashEntries(halved), halvedEntries);
}

} // namespace
