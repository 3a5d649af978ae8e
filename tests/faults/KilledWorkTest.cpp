// Work killed with SIGKILL at random moments leaves the database sound and
// either as it was or with the work done whole: a month's recomputation, a
// statistics fill, entries being posted, a restore, a new book and the first
// start's data folder.

#include "FaultWork.h"

#include "support/TestDatabase.h"

#include "app/DataFolder.h"

#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/DatabaseCheck.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "tools/DemoData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <limits>
#include <map>
#include <random>
#include <set>

namespace {

const QString kTool = QStringLiteral(TALLOMER_DB);
const QString kChild = QStringLiteral(FAULT_CHILD);
constexpr int kKills = 20;
const QDate kMonth(2023, 5, 1);

/// Runs a program and kills it with SIGKILL `delayMs` after it started,
/// unless it ended before. True when it was killed.
bool runAndKill(const QString& program, const QStringList& args, int delayMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    EXPECT_TRUE(process.waitForStarted(5000)) << program.toStdString();
    if (!process.waitForFinished(delayMs) && process.state() != QProcess::NotRunning) {
        ::kill(pid_t(process.processId()), SIGKILL);
        EXPECT_TRUE(process.waitForFinished(30000));
    }
    // It may have ended on its own just before the kill.
    const bool killed = process.exitStatus() == QProcess::CrashExit;
    if (!killed) {
        EXPECT_EQ(process.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString();
    }
    return killed;
}

/// The shortest of three runs: a run slowed by a busy machine would put the
/// kills after most runs have ended.
qint64 msToRun(const QString& program, const QStringList& args) {
    qint64 shortest = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        runAndKill(program, args, 60000);
        shortest = std::min(shortest, timer.elapsed());
    }
    return shortest;
}

std::unique_ptr<store::Database> openFile(const QString& path) {
    return store::openDatabaseFile(path, store::standardPassword());
}

/// The rows of a select, each row's columns joined.
QStringList rowsOf(const QString& path, const QString& sql) {
    const auto db = openFile(path);
    store::Statement s(*db, sql);
    QStringList rows;
    while (s.step()) {
        QStringList columns;
        for (int c = 0; c < s.columnCount(); ++c)
            columns << s.value(c).toString();
        rows << columns.join(QLatin1Char('|'));
    }
    return rows;
}

QString monthClause() {
    return store::BookkeepingPeriod(store::DateTime::fromDate(kMonth)).clause();
}

/// One year of entries (2023) for every test, made once; each test works on a copy.
class KilledWork : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_template = s_dir->filePath(QStringLiteral("template.mdb"));
        store::createDatabaseFile(s_template, store::standardPassword());
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(s_template));
        c.open();
        c.database().exec(QStringLiteral("update 关帐日期 set 关帐日期 = cdate('2023-12-15')"));
        tools::DemoOptions options;
        options.entries = 24000;
        options.years = 1;
        options.summaries = 120;
        options.bankAccounts = 2;
        options.seed = 11;
        tools::addDemoData(c, options);
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    KilledWork() {
        m_path = m_dir.filePath(QStringLiteral("xjrjz.mdb"));
        store::backupDatabaseFile(s_template, store::standardPassword(), m_path);
    }

    void expectSound(const QString& path, int kill) const {
        EXPECT_EQ(store::checkDatabaseFile(path, store::standardPassword()), QStringList())
            << "kill " << kill << " (seed " << m_seed << ")";
    }

    /// A new book as `create` and the first start make it, complete.
    void expectWholeBook(const QString& path, int kill) const {
        expectSound(path, kill);
        try {
            EXPECT_EQ(rowsOf(path, QStringLiteral("select count(*) from 权限表")),
                      QStringList({"1"}))
                << path.toStdString();
            EXPECT_EQ(rowsOf(path, QStringLiteral("select count(*) from 摘要")),
                      QStringList({"11"}))
                << path.toStdString();
        } catch (const store::EngineError& e) {
            ADD_FAILURE() << path.toStdString() << ", kill " << kill << ": "
                          << e.message().toStdString();
        }
    }

    /// A delay up to `maxMs`, from a seeded generator so that a failure repeats.
    int delayUpTo(qint64 maxMs) {
        return int(std::uniform_int_distribution<qint64>(0, maxMs)(m_random));
    }

    static QTemporaryDir* s_dir;
    static QString s_template;
    QTemporaryDir m_dir;
    QString m_path;
    const unsigned m_seed = 20230501;
    std::mt19937 m_random{m_seed};
};

QTemporaryDir* KilledWork::s_dir = nullptr;
QString KilledWork::s_template;

// Hidden files and folders that killed work left in `folder`.
QStringList leftoversIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST_F(KilledWork, RecomputationLeavesTheMonthAllOldOrAllRecomputed) {
    // The balances a recomputation must give, summed here independently.
    std::map<qint64, qint64> expected;
    qint64 running = 0;
    for (const QString& row : rowsOf(m_path, QStringLiteral("select 编号, 借方, 贷方 from 现金日记帐 where ") +
                                                 monthClause() + QStringLiteral(" order by 日期+编号, 编号"))) {
        const QStringList v = row.split(QLatin1Char('|'));
        running += v[1].toLongLong() - v[2].toLongLong();
        expected[v[0].toLongLong()] = running;
    }
    ASSERT_GT(expected.size(), 1000u);
    const QString others = QStringLiteral("select 编号, 余额 from 现金日记帐 where not ") + monthClause() +
                           QStringLiteral(" order by 编号");
    const QStringList otherMonths = rowsOf(m_path, others);
    const QStringList args = {QStringLiteral("recompute"), m_path, QStringLiteral("--kind"),
                              QStringLiteral("cash"), QStringLiteral("--month"),
                              kMonth.toString(QStringLiteral("yyyy-MM"))};
    const auto spoil = [this] {
        openFile(m_path)->exec(QStringLiteral("update 现金日记帐 set 余额 = -1 where ") + monthClause());
    };
    // 'old': every balance still spoiled; 'new': every balance recomputed.
    const auto state = [&]() -> QString {
        int spoiled = 0;
        int right = 0;
        const QStringList rows = rowsOf(
            m_path, QStringLiteral("select 编号, 余额 from 现金日记帐 where ") + monthClause());
        for (const QString& row : rows) {
            const QStringList v = row.split(QLatin1Char('|'));
            spoiled += v[1].toLongLong() == -1;
            right += expected[v[0].toLongLong()] == v[1].toLongLong();
        }
        if (spoiled == rows.size())
            return QStringLiteral("old");
        if (right == rows.size())
            return QStringLiteral("new");
        return QStringLiteral("mixed: %1 spoiled, %2 right of %3").arg(spoiled).arg(right).arg(rows.size());
    };

    spoil();
    const qint64 full = msToRun(kTool, args);
    ASSERT_EQ(state(), QStringLiteral("new"));
    std::map<QString, int> outcomes;
    int killed = 0;
    for (int k = 0; k < kKills; ++k) {
        spoil();
        killed += runAndKill(kTool, args, delayUpTo(full));
        expectSound(m_path, k);
        const QString s = state();
        EXPECT_TRUE(s == QLatin1String("old") || s == QLatin1String("new")) << s.toStdString();
        ++outcomes[s];
        EXPECT_EQ(rowsOf(m_path, others), otherMonths) << "kill " << k;
    }
    EXPECT_GE(killed, kKills / 2) << "the recomputations ended before they could be killed";
    RecordProperty("old", outcomes[QStringLiteral("old")]);
    RecordProperty("new", outcomes[QStringLiteral("new")]);
}

TEST_F(KilledWork, StatisticsFillLeavesTheOldOrTheCompleteNewRows) {
    // The rows of each of the two statistics, filled here first.
    const QString scratchRows =
        QStringLiteral("select 摘要, 现金增加, 现金减少, 发车日期, 收车日期 from 通用 order by rowid");
    QStringList filled[2];
    {
        store::Connection c;
        c.setConnectionString(store::ConnectionString::forFile(m_path));
        c.open();
        store::Query scratch(&c);
        store::Query catalogue(&c);
        store::Query sums(&c);
        for (int which : {0, 1}) {
            stats::fillSummaryTotals(scratch, catalogue, sums, faults::statisticsCriteria(which));
            filled[which] = rowsOf(m_path, scratchRows);
        }
    }
    ASSERT_GT(filled[0].size(), 50);
    ASSERT_NE(filled[0], filled[1]);

    int killed = 0;
    std::map<int, int> outcomes;
    for (int k = 0; k < kKills; ++k) {
        killed += runAndKill(kChild, {QStringLiteral("statistics"), m_path}, 40 + delayUpTo(300));
        expectSound(m_path, k);
        const QStringList rows = rowsOf(m_path, scratchRows);
        const int which = rows == filled[0] ? 0 : rows == filled[1] ? 1 : -1;
        EXPECT_NE(which, -1) << "kill " << k << ": 通用 holds " << rows.size() << " rows of neither";
        ++outcomes[which];
    }
    EXPECT_EQ(killed, kKills);
    RecordProperty("first", outcomes[0]);
    RecordProperty("second", outcomes[1]);
}

TEST_F(KilledWork, PostedEntriesSurviveAKilledEditor) {
    const QString marker = m_dir.filePath(QStringLiteral("marker"));
    const QString saved = QStringLiteral("select 备注 from 现金日记帐 where 备注 like 'fault-%'");
    int first = 1;
    int posted = 0;
    for (int k = 0; k < kKills; ++k) {
        QFile::remove(marker);
        EXPECT_TRUE(runAndKill(kChild, {QStringLiteral("save"), m_path, marker, QString::number(first)},
                               40 + delayUpTo(250)));
        expectSound(m_path, k);
        QFile markerFile(marker);
        int last = first - 1; // no entry was posted in this run
        if (markerFile.open(QIODevice::ReadOnly)) {
            const QByteArray text = markerFile.readAll().trimmed();
            if (!text.isEmpty())
                last = text.toInt();
        }
        std::multiset<int> numbers;
        for (const QString& note : rowsOf(m_path, saved))
            numbers.insert(note.mid(6).toInt());
        // Every entry whose post returned is there, once; at most the one being
        // posted at the kill is there beyond it.
        for (int n = 1; n <= last; ++n)
            EXPECT_EQ(numbers.count(n), 1u) << "entry " << n << ", kill " << k;
        const int highest = numbers.empty() ? 0 : *numbers.rbegin();
        EXPECT_LE(highest, last + 1) << "kill " << k;
        EXPECT_EQ(numbers.size(), std::set<int>(numbers.begin(), numbers.end()).size());
        posted = int(numbers.size());
        first = highest + 1;
    }
    EXPECT_GT(posted, kKills) << "the editor posted too little to be killed between posts";
}

TEST_F(KilledWork, RestoreLeavesTheOldOrTheNewDatabase) {
    // Two sources of different content to restore in turn.
    const QString halved = m_dir.filePath(QStringLiteral("halved.mdb"));
    store::backupDatabaseFile(s_template, store::standardPassword(), halved);
    openFile(halved)->exec(QStringLiteral("delete from 现金日记帐 where 编号 % 2 = 0"));
    const QString digest = QStringLiteral("select count(*), sum(借方), sum(余额) from 现金日记帐");
    const QStringList whole = rowsOf(s_template, digest);
    const QStringList half = rowsOf(halved, digest);
    ASSERT_NE(whole, half);

    const qint64 full = msToRun(kTool, {QStringLiteral("restore"), m_path, halved});
    ASSERT_EQ(rowsOf(m_path, digest), half);
    int killed = 0;
    for (int k = 0; k < kKills; ++k) {
        const QStringList before = rowsOf(m_path, digest);
        const bool wasWhole = before == whole;
        killed += runAndKill(kTool, {QStringLiteral("restore"), m_path, wasWhole ? halved : s_template},
                             delayUpTo(full));
        expectSound(m_path, k);
        const QStringList after = rowsOf(m_path, digest);
        EXPECT_TRUE(after == whole || after == half) << "kill " << k;
        const QString kept = store::keptPreviousFile(m_path);
        if (QFile::exists(kept))
            expectSound(kept, k);
    }
    EXPECT_GE(killed, kKills / 2) << "the restores ended before they could be killed";
    // A killed restore leaves its unfinished copy beside the book; the next
    // start of the program removes it.
    const auto leftovers = [this] {
        return QDir(m_dir.path()).entryList({QStringLiteral(".*.tmp*")}, QDir::Files | QDir::Hidden);
    };
    for (int tries = 0; leftovers().isEmpty() && tries < 20; ++tries)
        runAndKill(kTool, {QStringLiteral("restore"), m_path, halved}, int(full * (1 + tries % 4) / 5));
    ASSERT_FALSE(leftovers().isEmpty());
    EXPECT_EQ(app::prepareDataFolder(m_dir.path(), m_dir.filePath(QStringLiteral("unused"))), m_dir.path());
    EXPECT_EQ(leftovers(), QStringList());
    expectSound(m_path, kKills);
    EXPECT_EQ(rowsOf(s_template, digest), whole);
    EXPECT_EQ(rowsOf(halved, digest), half);
}

TEST_F(KilledWork, AKilledCreateLeavesNoBookOrAWholeOne) {
    int killed = 0;
    int books = 0;
    for (int k = 0; k < kKills / 2; ++k) {
        const QString folder = m_dir.filePath(QStringLiteral("create-%1").arg(k));
        ASSERT_TRUE(QDir().mkdir(folder));
        killed += runAndKill(kChild, {QStringLiteral("create"), folder}, 60 + delayUpTo(250));
        const QStringList made =
            QDir(folder).entryList({QStringLiteral("book-*.mdb")}, QDir::Files);
        for (const QString& name : made)
            expectWholeBook(QDir(folder).filePath(name), k);
        books += int(made.size());
        // The book being made at the kill can be made again, and what the
        // killed one left is removed on the way.
        const QString again =
            QDir(folder).filePath(QStringLiteral("book-%1.mdb").arg(made.size() + 1));
        EXPECT_NO_THROW(store::createDatabaseFile(again, store::standardPassword()))
            << "kill " << k;
        expectWholeBook(again, k);
        EXPECT_EQ(leftoversIn(folder), QStringList()) << "kill " << k;
    }
    EXPECT_EQ(killed, kKills / 2);
    EXPECT_GT(books, kKills / 2) << "too few books were made to kill one part way";
}

TEST_F(KilledWork, AKilledFirstStartLeavesNoDataFolderOrAWholeOne) {
    int killed = 0;
    int folders = 0;
    for (int k = 0; k < kKills / 2; ++k) {
        const QString parent = m_dir.filePath(QStringLiteral("start-%1").arg(k));
        ASSERT_TRUE(QDir().mkdir(parent));
        killed += runAndKill(kChild, {QStringLiteral("firststart"), parent}, 60 + delayUpTo(250));
        const QStringList made = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& name : made)
            expectWholeBook(QDir(parent).filePath(name + QStringLiteral("/xjrjz.mdb")), k);
        folders += int(made.size());
        // The next start makes the folder the killed one was making.
        const QString user = QDir(parent).filePath(QStringLiteral("user-%1").arg(made.size() + 1));
        EXPECT_EQ(app::prepareDataFolder(parent, user), user);
        expectWholeBook(user + QStringLiteral("/xjrjz.mdb"), k);
        EXPECT_EQ(leftoversIn(parent), QStringList()) << "kill " << k;
    }
    EXPECT_EQ(killed, kKills / 2);
    EXPECT_GT(folders, kKills / 2) << "too few folders were made to kill one part way";
}

TEST_F(KilledWork, AKilledDemoLeavesTheBookEmptyOrWithEveryEntryAndBalance) {
    const QString book = m_dir.filePath(QStringLiteral("demo.mdb"));
    const QStringList args = {QStringLiteral("demo"),      book,
                              QStringLiteral("--entries"), QStringLiteral("3000"),
                              QStringLiteral("--years"),   QStringLiteral("2")};
    const QString digest =
        QStringLiteral("select (select count(*) || '|' || sum(余额) from 现金日记帐), "
                       "(select count(*) || '|' || sum(余额) from 银行日记帐)");
    const auto freshBook = [&book] {
        QFile::remove(book);
        store::createDatabaseFile(book, store::standardPassword());
    };
    freshBook();
    const QStringList empty = rowsOf(book, digest);
    const qint64 full = msToRun(kTool, args);
    freshBook();
    runAndKill(kTool, args, 60000);
    const QStringList filled = rowsOf(book, digest);
    ASSERT_NE(filled, empty);
    int killed = 0;
    for (int k = 0; k < kKills / 2; ++k) {
        freshBook();
        killed += runAndKill(kTool, args, delayUpTo(full));
        expectSound(book, k);
        const QStringList after = rowsOf(book, digest);
        EXPECT_TRUE(after == empty || after == filled)
            << "kill " << k << ": " << after.join(' ').toStdString();
    }
    EXPECT_GE(killed, kKills / 4) << "the demos ended before they could be killed";
}

} // namespace
