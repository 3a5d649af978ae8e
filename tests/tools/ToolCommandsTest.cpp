// tallomer-db recompute, export, the lock of the writing commands and the
// help of every command, run as a cashier would run them.

#include "support/FileContents.h"
#include "support/DamagedBook.h"
#include "support/FullFileSystem.h"
#include "support/LeftLock.h"
#include "support/PdfText.h"
#include "ToolRun.h"
#include "lists/GbkText.h"

#include "store/BookLock.h"
#include "store/BookkeepingPeriod.h"
#include "store/Currency.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/DatabaseBackup.h"
#include "store/DateTime.h"
#include "store/NewDatabase.h"
#include "store/Statement.h"
#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::contents;
using testing_support::pdfText;
using testing_support::wordsOf;

namespace {

using toolrun::kTool;
using toolrun::tool;
using toolrun::ToolRun;

QString fromGbk(const QByteArray& bytes) {
    const std::optional<QString> text = lists::fromGbk(bytes);
    EXPECT_TRUE(text) << "not GBK";
    return text.value_or(QString());
}

/// Puts a file into a journal mode as SQLite itself would, without this
/// system's opening.
void setJournalMode(const QString& path, const char* mode) {
    store::Database raw(path, store::Database::OpenMode::ExistingOnly);
    raw.exec(QStringLiteral("PRAGMA journal_mode=%1").arg(QLatin1String(mode)));
}

/// A demo database over one year (2023) with two bank accounts.
class ToolCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new QTemporaryDir;
        s_template = s_dir->filePath(QStringLiteral("template.mdb"));
        const ToolRun created = tool({QStringLiteral("create"), s_template});
        ASSERT_EQ(created.exitCode, 0);
        EXPECT_EQ(created.out, QStringLiteral("已建立数据库 %1。\n").arg(s_template));
        store::openDatabaseFile(s_template, store::standardPassword())
            ->exec(QStringLiteral("update 关帐日期 set 关帐日期 = cdate('2023-6-18')"));
        const ToolRun demo = tool({QStringLiteral("demo"), s_template, QStringLiteral("--entries"),
                                   QStringLiteral("1200"), QStringLiteral("--years"), QStringLiteral("1"),
                                   QStringLiteral("--banks"), QStringLiteral("2")});
        ASSERT_EQ(demo.exitCode, 0);
        EXPECT_EQ(demo.out, QStringLiteral("已向 %1 加入 1200 条演示记录。\n").arg(s_template));
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    /// Starts a demo that writes into the book for long, and waits until it
    /// holds the book's lock.
    bool startLongWriter(QProcess& demo) const {
        demo.start(kTool, {QStringLiteral("demo"), m_path, QStringLiteral("--entries"),
                           QStringLiteral("50000000")});
        const QString lockFile = store::BookLock::lockFileOf(m_path);
        // The writer holds the book once its lock file is there and the book
        // itself is locked, which it takes just after.
        for (int waited = 0; !(QFileInfo::exists(lockFile) && bookIsLocked()) && waited < 10000;
             waited += 5)
            QThread::msleep(5);
        return demo.state() != QProcess::NotRunning && QFileInfo::exists(lockFile);
    }

    // Read from the kernel's list of locks, so that looking never takes the
    // lock from the writer.
    bool bookIsLocked() const {
        struct stat book {};
        if (::stat(QFile::encodeName(m_path).constData(), &book) != 0)
            return false;
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return true; // nothing to look at: the lock file alone tells
        const QByteArray inode = ':' + QByteArray::number(qulonglong(book.st_ino));
        for (const QByteArray& line : locks.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 5 && fields[1] == "FLOCK" && fields[5].endsWith(inode))
                return true;
        }
        return false;
    }

    ToolCommands() {
        m_path = m_dir.filePath(QStringLiteral("xjrjz.mdb"));
        EXPECT_TRUE(QFile::copy(s_template, m_path));
    }

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    qint64 scalar(const QString& sql) const {
        const auto db = store::openDatabaseFile(m_path, store::standardPassword());
        store::Statement s(*db, sql);
        return s.step() ? s.int64(0) : -1;
    }
    void exec(const QString& sql) const {
        store::openDatabaseFile(m_path, store::standardPassword())->exec(sql);
    }

    /// Whether every balance of the rows chosen by `where` is the running sum
    /// of their debits less credits, in journal order.
    bool balancesRunning(const QString& table, const QString& where) const {
        const auto db = store::openDatabaseFile(m_path, store::standardPassword());
        store::Statement s(*db, QStringLiteral("select 借方, 贷方, 余额 from %1 where %2 "
                                               "order by 日期+编号, 编号")
                                    .arg(table, where));
        qint64 running = 0;
        int rows = 0;
        while (s.step()) {
            running += s.int64(0) - s.int64(1);
            if (s.int64(2) != running)
                return false;
            ++rows;
        }
        return rows > 0;
    }

    static QString month(int year, int month) {
        return store::BookkeepingPeriod(store::DateTime::fromDate(QDate(year, month, 1))).clause();
    }

    static QTemporaryDir* s_dir;
    static QString s_template;
    QTemporaryDir m_dir;
    QString m_path;
};

QTemporaryDir* ToolCommands::s_dir = nullptr;
QString ToolCommands::s_template;

TEST_F(ToolCommands, RecomputeTheClosingMonthOrANamedOne) {
    const QString june = month(2023, 6);
    const QString march = month(2023, 3);
    exec(QStringLiteral("update 现金日记帐 set 余额 = 7"));
    ToolRun run = tool({QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const qint64 juneEntries = scalar(QStringLiteral("select count(*) from 现金日记帐 where ") + june);
    EXPECT_EQ(run.out, QStringLiteral("已重新计算现金日记帐 2023-06 的 %1 条记录的余额。\n").arg(juneEntries));
    EXPECT_TRUE(balancesRunning(QStringLiteral("现金日记帐"), june));
    // Only that month: March keeps its spoiled balances until asked for.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from 现金日记帐 where 余额 <> 7 and not ") + june), 0);
    run = tool({QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash"),
                QStringLiteral("--month"), QStringLiteral("2023-03")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(balancesRunning(QStringLiteral("现金日记帐"), march));
}

TEST_F(ToolCommands, RecomputeOneBankAccount) {
    const QString march = month(2023, 3);
    exec(QStringLiteral("update 银行日记帐 set 余额 = 7"));
    const ToolRun run = tool({QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("bank"),
                          QStringLiteral("--month"), QStringLiteral("2023-3"), QStringLiteral("--bank"),
                          QStringLiteral("工商银行基本户")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const qint64 entries = scalar(QStringLiteral("select count(*) from 银行日记帐 where 开户银行 = '工商银行基本户' and ") + march);
    EXPECT_EQ(run.out, QStringLiteral("已重新计算银行日记帐 2023-03（工商银行基本户）的 %1 条记录的余额。\n").arg(entries));
    EXPECT_TRUE(balancesRunning(QStringLiteral("银行日记帐"), march + QStringLiteral("and(开户银行='工商银行基本户')")));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from 银行日记帐 where 余额 <> 7 and 开户银行 <> '工商银行基本户'")), 0);
}

TEST_F(ToolCommands, RecomputeRefusesWhatItCannotDo) {
    const QString other = path("other.mdb");
    store::createDatabaseFile(other, QStringLiteral("another password"));
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const QString r = QStringLiteral("recompute");
    const QString kind = QStringLiteral("--kind");
    const QString cash = QStringLiteral("cash");
    const QString bank = QStringLiteral("bank");
    const Case cases[] = {
        {{r, path("missing.mdb"), kind, cash}, 1, QStringLiteral("找不到数据库文件")},
        {{r, other, kind, cash}, 1, QStringLiteral("不是有效的数据库密码")},
        {{r, m_path}, 2, QStringLiteral("--kind 只能是 cash 或 bank")},
        {{r, m_path, kind, QStringLiteral("money")}, 2, QStringLiteral("--kind 只能是 cash 或 bank")},
        {{r, m_path, kind, cash, QStringLiteral("--month"), QStringLiteral("2023-13")}, 2,
         QStringLiteral("--month 要写成 YYYY-MM 形式的月份，不能是“2023-13”")},
        {{r, m_path, kind, cash, QStringLiteral("--month"), QStringLiteral("2023/03")}, 2,
         QStringLiteral("--month 要写成 YYYY-MM 形式的月份")},
        {{r, m_path, kind, cash, QStringLiteral("--month"), QStringLiteral("March")}, 2,
         QStringLiteral("--month 要写成 YYYY-MM 形式的月份")},
        {{r, m_path, kind, bank}, 2, QStringLiteral("请用 --bank 指定开户银行")},
        {{r, m_path, kind, bank, QStringLiteral("--bank"), QStringLiteral("花旗银行")}, 2,
         QStringLiteral("没有开户银行“花旗银行”")},
        {{r, m_path, kind, cash, QStringLiteral("--bank"), QStringLiteral("工商银行基本户")}, 2,
         QStringLiteral("--bank 只用于银行日记帐")},
        {{r, m_path, kind, cash, QStringLiteral("--days"), QStringLiteral("3")}, 2,
         QStringLiteral("没有选项 --days")},
    };
    const qint64 balances = scalar(QStringLiteral("select sum(余额) from 现金日记帐"));
    for (const Case& c : cases) {
        const ToolRun run = tool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(scalar(QStringLiteral("select sum(余额) from 现金日记帐")), balances);
}

TEST_F(ToolCommands, CheckAndExportLeaveTheFileAsItIs) {
    // A book of this build and one an older build left in WAL mode.
    for (const char* mode : {"delete", "wal"}) {
        SCOPED_TRACE(mode);
        setJournalMode(m_path, mode);
        const QByteArray before = contents(m_path);
        ToolRun run = tool({QStringLiteral("check"), m_path});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        run = tool({QStringLiteral("export"), m_path, QStringLiteral("--list"), QStringLiteral("cash-month"),
                    QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--out"),
                    path("month.txt")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        run = tool({QStringLiteral("print"), m_path, QStringLiteral("--list"), QStringLiteral("cash-month"),
                    QStringLiteral("--out"), path("month.pdf")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(contents(m_path), before); // the journal mode is in its header
        EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("xjrjz.mdb*")}, QDir::Files),
                  QStringList({QStringLiteral("xjrjz.mdb")}));
    }
}

TEST_F(ToolCommands, ExportWritesEveryColumnOfTheWindow) {
    struct Case {
        QStringList options;
        QString titles;
        QString countSql;
    };
    const Case cases[] = {
        {{QStringLiteral("cash-month"), QStringLiteral("--month"), QStringLiteral("2023-02")},
         QStringLiteral("日期\t摘要\t明细\t借方(增加)\t贷方(减少)\t余额\t凭证号\t经办人\t发票单位\t备注"),
         QStringLiteral("select count(*) from 现金日记帐 where ") + month(2023, 2)},
        {{QStringLiteral("bank-month"), QStringLiteral("--bank"), QStringLiteral("工商银行基本户")},
         QStringLiteral("开户银行\t日期\t凭证号\t摘要\t明细\t借方(增加)\t贷方(减少)\t余额\t经办人\t发票单位\t备注"),
         QStringLiteral("select count(*) from 银行日记帐 where 开户银行 = '工商银行基本户' and ") + month(2023, 6)},
        {{QStringLiteral("summaries")}, QStringLiteral("摘要"), QStringLiteral("select count(*) from 摘要")},
        {{QStringLiteral("banks")}, QStringLiteral("开户银行"), QStringLiteral("select count(*) from 开户银行")},
        {{QStringLiteral("operators")}, QStringLiteral("姓名\t身份证号\t联系电话\t输入法\t备注"),
         QStringLiteral("select count(*) from 权限表")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.first().toStdString());
        const QString out = path("list.txt");
        const ToolRun run = tool(QStringList{QStringLiteral("export"), m_path, QStringLiteral("--list")} + c.options +
                             QStringList{QStringLiteral("--format"), QStringLiteral("txt"),
                                         QStringLiteral("--out"), out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = fromGbk(file.readAll()).split(QStringLiteral("\r\n"));
        const qint64 records = scalar(c.countSql);
        ASSERT_GT(records, 0);
        EXPECT_EQ(run.out, QStringLiteral("已把 %1 条记录导出到 %2。\n").arg(records).arg(out));
        EXPECT_EQ(lines.first(), c.titles);
        EXPECT_EQ(lines.size(), records + 2);
    }
    // The month list's footer counts and sums as the grid's does.
    const QString out = path("cash.txt");
    ASSERT_EQ(tool({QStringLiteral("export"), m_path, QStringLiteral("--list"), QStringLiteral("cash-month"),
                    QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--out"), out})
                  .exitCode,
              0);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList footer = fromGbk(file.readAll()).split(QStringLiteral("\r\n")).last().split(u'\t');
    const QString june = month(2023, 6);
    EXPECT_EQ(footer[0], QStringLiteral("记录数"));
    EXPECT_EQ(footer[1], QString::number(scalar(QStringLiteral("select count(*) from 现金日记帐 where ") + june)));
    const qint64 debits = scalar(QStringLiteral("select sum(借方) from 现金日记帐 where ") + june);
    EXPECT_EQ(footer[3], store::Currency::fromRaw(debits).format(2, true));
}

TEST_F(ToolCommands, ExportInEveryFormat) {
    const struct {
        const char* format;
        QByteArray start;
    } formats[] = {{"txt", QByteArray("\xc8\xd5\xc6\xda\t", 5)}, // 日期 in GBK
                   {"csv", QByteArray("\"\xc8\xd5\xc6\xda\";", 7)},
                   {"htm", "<!DOCTYPE HTML PUBLIC"},
                   {"rtf", "{\\rtf0\\ansi"},
                   {"xls", QByteArray("\x09\x08\x08\x00", 4)}};
    for (const auto& f : formats) {
        const QString out = path("month.") + QLatin1String(f.format);
        const ToolRun run = tool({QStringLiteral("export"), m_path, QStringLiteral("--list"),
                              QStringLiteral("cash-month"), QStringLiteral("--format"),
                              QLatin1String(f.format), QStringLiteral("--out"), out});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith(f.start)) << f.format;
    }
}

TEST_F(ToolCommands, ExportTellsOfWorksheetLabelsItCut) {
    exec(QStringLiteral("update 现金日记帐 set 明细 = '") + QString(130, u'长') +
         QStringLiteral("' where rowid in (select rowid from 现金日记帐 where ") + month(2023, 2) +
         QStringLiteral(" limit 3)"));
    for (const char* format : {"xls", "csv"}) {
        const ToolRun run = tool({QStringLiteral("export"), m_path, QStringLiteral("--list"),
                                  QStringLiteral("cash-month"), QStringLiteral("--month"),
                                  QStringLiteral("2023-02"), QStringLiteral("--format"),
                                  QLatin1String(format), QStringLiteral("--out"), path("long")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, qstrcmp(format, "xls") == 0
                               ? QStringLiteral("3 个单元格超过 255 字节，已截断\n")
                               : QString());
    }
}

TEST_F(ToolCommands, ExportRefusesWhatItCannotDo) {
    const QString e = QStringLiteral("export");
    const QString list = QStringLiteral("--list");
    const QString format = QStringLiteral("--format");
    const QString outOption = QStringLiteral("--out");
    const QString out = path("out.txt");
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{e, path("missing.mdb"), list, QStringLiteral("summaries"), format, QStringLiteral("txt"), outOption, out},
         1, QStringLiteral("找不到数据库文件")},
        {{e, m_path, list, QStringLiteral("journal"), format, QStringLiteral("txt"), outOption, out}, 2,
         QStringLiteral("--list 只能是 cash-month、bank-month、summaries、banks 或 operators，不能是“journal”")},
        {{e, m_path, list, QStringLiteral("summaries"), format, QStringLiteral("pdf"), outOption, out}, 2,
         QStringLiteral("--format 只能是 txt、csv、htm、rtf 或 xls，不能是“pdf”")},
        {{e, m_path, list, QStringLiteral("summaries"), format, QStringLiteral("TXT"), outOption, out}, 2,
         QStringLiteral("--format 只能是")},
        {{e, m_path, list, QStringLiteral("summaries"), format, QStringLiteral("txt")}, 2,
         QStringLiteral("请用 --out 指定要写的文件")},
        {{e, m_path, list, QStringLiteral("cash-month"), format, QStringLiteral("txt"), outOption, out,
          QStringLiteral("--month"), QStringLiteral("2023-00")},
         2, QStringLiteral("--month 要写成 YYYY-MM 形式的月份")},
        {{e, m_path, list, QStringLiteral("summaries"), format, QStringLiteral("txt"), outOption, out,
          QStringLiteral("--month"), QStringLiteral("2023-01")},
         2, QStringLiteral("--month 和 --bank 只用于月份的列表")},
        {{e, m_path, list, QStringLiteral("bank-month"), format, QStringLiteral("txt"), outOption, out}, 2,
         QStringLiteral("请用 --bank 指定开户银行")},
        {{e, m_path, list, QStringLiteral("summaries"), format, QStringLiteral("txt"), outOption,
          path("no/such/folder/out.txt")},
         1, QStringLiteral("不能建立文件")},
    };
    for (const Case& c : cases) {
        const ToolRun run = tool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ToolCommands, OutputsNeverReplaceTheBookOrAFileOfIt) {
    const QByteArray book = contents(m_path);
    ASSERT_TRUE(QFile::link(m_path, path("link.txt")));
    ASSERT_TRUE(QFile::link(m_path, path("link.pdf")));
    ASSERT_EQ(::link(QFile::encodeName(m_path).constData(),
                     QFile::encodeName(path("hard.pdf")).constData()),
              0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("backups")));
    // Refused even while the program holds the book.
    store::BookLock held(m_path);
    ASSERT_EQ(held.tryLock(), store::BookLock::Result::Taken);

    const QString refused = QStringLiteral("不能是数据库文件 %1 或属于它的文件").arg(m_path);
    for (const QString& out :
         {m_path, m_dir.path() + QStringLiteral("/./xjrjz.mdb"), m_path + QStringLiteral("-wal"),
          m_path + QStringLiteral("-shm"), m_path + QStringLiteral(".LCK"), m_path + QStringLiteral(".bak"),
          path("backups/xjrjz-2023-06-18.mdb"), path("link.txt"), path("hard.pdf")}) {
        const ToolRun run = tool({QStringLiteral("export"), m_path, QStringLiteral("--list"),
                                  QStringLiteral("summaries"), QStringLiteral("--format"), QStringLiteral("txt"),
                                  QStringLiteral("--out"), out});
        EXPECT_EQ(run.exitCode, 2) << out.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("tallomer-db export: --out %1 %2！\n").arg(out, refused));
    }
    ASSERT_TRUE(QFile::link(m_path, m_path + QStringLiteral(".bak.pdf")));
    for (const QString& out : {path("link.pdf"), path("hard.pdf"), m_path + QStringLiteral(".bak.pdf")}) {
        const ToolRun run = tool({QStringLiteral("print"), m_path, QStringLiteral("--list"),
                                  QStringLiteral("operators"), QStringLiteral("--out"), out});
        EXPECT_EQ(run.exitCode, 2) << out.toStdString();
        EXPECT_TRUE(run.err.endsWith(
            QStringLiteral("tallomer-db print: --out %1 %2！\n").arg(out, refused)))
            << run.err.toStdString();
    }
    held.unlock();
    for (const QString& from : {m_path, path("hard.pdf")}) {
        const ToolRun run = tool({QStringLiteral("import"), m_path, QStringLiteral("--kind"),
                                  QStringLiteral("cash"), QStringLiteral("--from"), from});
        EXPECT_EQ(run.exitCode, 2) << from.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("tallomer-db import: --from %1 不能是数据库文件 %2 本身！\n")
                               .arg(from, m_path));
    }
    EXPECT_EQ(contents(m_path), book);
    EXPECT_FALSE(QFile::exists(m_path + QStringLiteral(".bak")));
    EXPECT_TRUE(QDir(path("backups")).isEmpty());
    EXPECT_EQ(tool({QStringLiteral("check"), m_path}).exitCode, 0);

    // A file beside the book that is none of its own is written as before.
    EXPECT_EQ(tool({QStringLiteral("export"), m_path, QStringLiteral("--list"), QStringLiteral("summaries"),
                    QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--out"),
                    m_path + QStringLiteral(".txt")})
                  .exitCode,
              0);
}

TEST_F(ToolCommands, AnExportOnAFullDiskKeepsThePreviousOneAndTellsWhy) {
    const QByteArray previous = "the export of last month\r\n";
    testing_support::FullFileSystem disk(QStringLiteral("out.txt"), previous);
    if (!disk.ready())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    for (const char* format : {"txt", "xls"}) {
        const QString out = disk.filePath(QStringLiteral("out.txt"));
        const ToolRun run = tool({QStringLiteral("export"), m_path, QStringLiteral("--list"),
                                  QStringLiteral("cash-month"), QStringLiteral("--format"),
                                  QLatin1String(format), QStringLiteral("--out"), out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("tallomer-db export: 不能写入文件 %1：磁盘空间不足\n").arg(out));
        EXPECT_EQ(contents(out), previous);
        EXPECT_EQ(disk.files(), QStringList{QStringLiteral("out.txt")}) << "no temporary file is left";
    }
}

TEST_F(ToolCommands, BackupOfADamagedBookIsRefusedAndLeavesNoCopy) {
    const QString earlier = path("earlier.mdb");
    ASSERT_EQ(tool({QStringLiteral("backup"), m_path, earlier}).exitCode, 0);
    const QByteArray sound = contents(earlier);
    testing_support::zeroPageOf(m_path, QStringLiteral("现金日记帐"));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);

    for (const QString& target : {path("copy.mdb"), earlier}) {
        const ToolRun run = tool({QStringLiteral("backup"), m_path, target});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(
            QStringLiteral("tallomer-db backup: 数据库文件“%1”已经损坏，其中的数据可能不完整！\n")
                .arg(m_path)))
            << run.err.toStdString();
    }
    EXPECT_EQ(contents(earlier), sound);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);
}

TEST_F(ToolCommands, CheckWarnsOfJournalDatesWithATimeOfDay) {
    ToolRun run = tool({QStringLiteral("check"), m_path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, m_path + QStringLiteral(": 检查通过\n"));
    EXPECT_EQ(run.err, QString());

    const qint64 cash = scalar(QStringLiteral("select min(编号) from 现金日记帐"));
    const qint64 bank = scalar(QStringLiteral("select max(编号) from 银行日记帐"));
    exec(QStringLiteral("update 现金日记帐 set 日期 = cdate('2023-6-30 10:00') where 编号 = %1")
             .arg(cash));
    exec(QStringLiteral("update 银行日记帐 set 日期 = cdate('2023-1-2 23:59:59') where 编号 = %1")
             .arg(bank));
    run = tool({QStringLiteral("check"), m_path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, m_path + QStringLiteral(": 检查通过\n"));
    const QString warning =
        QStringLiteral("%1: 警告：%2 编号 %3 的日期 %4 带有时刻，该记录不在其月份的列表中！\n");
    EXPECT_EQ(run.err, warning.arg(m_path, QStringLiteral("现金日记帐"))
                               .arg(cash)
                               .arg(QStringLiteral("2023-6-30 10:00:00")) +
                           warning.arg(m_path, QStringLiteral("银行日记帐"))
                               .arg(bank)
                               .arg(QStringLiteral("2023-1-2 23:59:59")));
}

TEST_F(ToolCommands, WritingCommandsRefuseWhileTheProgramHasTheBookOpen) {
    const QString source = path("source.mdb");
    store::createDatabaseFile(source, store::standardPassword());
    const QString count = QStringLiteral("select count(*) from 现金日记帐");
    const qint64 entries = scalar(count);
    ASSERT_GT(entries, 0);
    store::BookLock program(m_path); // as the program holds it for its run
    ASSERT_EQ(program.tryLock(), store::BookLock::Result::Taken);

    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QStringList refused[] = {
        {QStringLiteral("restore"), m_path, source},
        {QStringLiteral("demo"), m_path, QStringLiteral("--entries"), QStringLiteral("10")},
        {QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash")},
        {QStringLiteral("stats"), m_path, QStringLiteral("summary")},
        {QStringLiteral("create"), m_path},
    };
    for (const QStringList& args : refused) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.exitCode, 3) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("tallomer-db %1: 数据库文件 %2 正在被另一个程序使用（进程 %3，")
                                           .arg(args.first(), m_path, pid)))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(scalar(count), entries);
    EXPECT_FALSE(QFileInfo::exists(store::keptPreviousFile(m_path)));

    // The commands that only read work all the same.
    EXPECT_EQ(tool({QStringLiteral("check"), m_path}).exitCode, 0);
    const ToolRun backup = tool({QStringLiteral("backup"), m_path, path("copy.mdb")});
    EXPECT_EQ(backup.exitCode, 0);
    EXPECT_EQ(backup.out, QStringLiteral("已把 %1 备份到 %2。\n").arg(m_path, path("copy.mdb")));
    EXPECT_EQ(tool({QStringLiteral("export"), m_path, QStringLiteral("--list"), QStringLiteral("summaries"),
                    QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--out"), path("s.txt")})
                  .exitCode,
              0);
    EXPECT_TRUE(program.isLocked());

    // Once the program has ended, the restore goes ahead.
    program.unlock();
    const ToolRun restored = tool({QStringLiteral("restore"), m_path, source});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(restored.out, QStringLiteral("已用 %1 恢复 %2。\n被替换的文件保留为 %3。\n")
                                .arg(source, m_path, store::keptPreviousFile(m_path)));
    EXPECT_EQ(scalar(count), 0);
    EXPECT_FALSE(QFileInfo::exists(store::BookLock::lockFileOf(m_path)));
}

TEST_F(ToolCommands, TheLockOfAKilledCommandIsTakenOver) {
    QProcess demo;
    ASSERT_TRUE(startLongWriter(demo));
    const QString lockFile = store::BookLock::lockFileOf(m_path);
    {
        store::BookLock meanwhile(m_path);
        EXPECT_EQ(meanwhile.tryLock(), store::BookLock::Result::HeldElsewhere);
        ASSERT_TRUE(meanwhile.holder());
        EXPECT_EQ(meanwhile.holder()->pid, demo.processId());
    }
    ::kill(pid_t(demo.processId()), SIGKILL);
    ASSERT_TRUE(demo.waitForFinished());
    ASSERT_TRUE(QFileInfo::exists(lockFile)); // the killed process left it behind

    const ToolRun run = tool({QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    store::BookLock after(m_path);
    EXPECT_EQ(after.tryLock(), store::BookLock::Result::Taken);
    EXPECT_EQ(tool({QStringLiteral("check"), m_path}).exitCode, 0);
}

TEST_F(ToolCommands, ASecondWriterThroughAHardLinkIsRefusedWhileTheFirstWrites) {
    const QString link = path("link.mdb");
    ASSERT_EQ(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()), 0);
    QProcess demo;
    ASSERT_TRUE(startLongWriter(demo));

    for (const QStringList& args : {QStringList{QStringLiteral("demo"), link, QStringLiteral("--entries"), QStringLiteral("10")},
                                    QStringList{QStringLiteral("recompute"), link, QStringLiteral("--kind"), QStringLiteral("cash")}}) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("tallomer-db %1: 数据库文件 %2 正在被另一个程序使用").arg(args.first(), link)))
            << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(store::BookLock::lockFileOf(link)));
    ::kill(pid_t(demo.processId()), SIGKILL);
    ASSERT_TRUE(demo.waitForFinished());
    EXPECT_EQ(tool({QStringLiteral("check"), link}).exitCode, 0);
    EXPECT_EQ(tool({QStringLiteral("recompute"), link, QStringLiteral("--kind"), QStringLiteral("cash")}).exitCode, 0);
}

TEST(ToolLock, ALockFileLeftByAnotherUserInASharedFolderSaysWhoAndHowToClearIt) {
    if (!toolrun::canRunAsNobody())
        GTEST_SKIP() << "needs root and setpriv to act as a second user";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkdir(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0); // nobody removes another's files
    const QString book = shared + QStringLiteral("/xjrjz.mdb");
    const QString lockFile = store::BookLock::lockFileOf(book);
    // Root's program ran on the book and was killed.
    const qint64 dead = testing_support::leaveLockOfEndedProcess(lockFile);
    ASSERT_NE(dead, 0);
    // The book's owner, another user, starts a writing command.
    const ToolRun owner = toolrun::toolAsNobody({QStringLiteral("create"), book});
    EXPECT_EQ(owner.exitCode, 3);
    EXPECT_EQ(owner.err,
              QStringLiteral("tallomer-db create: 锁文件 %1 是另一个用户的程序留下的（用户 root，进程 %2，主机 %3），"
                             "那个程序已经结束；请用户 root 或管理员删除这个锁文件！\n")
                  .arg(lockFile)
                  .arg(dead)
                  .arg(QSysInfo::machineHostName()));
    EXPECT_FALSE(QFileInfo::exists(book));
}

TEST(ToolHelp, EveryCommandExplainsItself) {
    const ToolRun overview = tool({QStringLiteral("--help")});
    EXPECT_EQ(overview.exitCode, 0);
    // The installation check reads the command names from under this header.
    EXPECT_TRUE(overview.out.startsWith(QStringLiteral("用法：tallomer-db COMMAND [ARGS]\n\n命令：\n")))
        << overview.out.toStdString();
    for (const char* command :
         {"create", "demo", "check", "backup", "restore", "recompute", "export", "print", "stats",
          "import", "search"}) {
        const QString name = QLatin1String(command);
        EXPECT_TRUE(overview.out.contains(QStringLiteral("  ") + name + QLatin1Char(' '))) << command;
        for (const QStringList& args : {QStringList{name, QStringLiteral("--help")},
                                        QStringList{QStringLiteral("help"), name}}) {
            const ToolRun run = tool(args);
            EXPECT_EQ(run.exitCode, 0) << command;
            EXPECT_TRUE(run.out.startsWith(QStringLiteral("用法：tallomer-db ") + name + QLatin1Char(' ')))
                << run.out.toStdString();
        }
    }
    const ToolRun unknown = tool({QStringLiteral("compact")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("tallomer-db: 没有命令“compact”")));
    EXPECT_EQ(tool({}).exitCode, 2);
}

} // namespace

TEST_F(ToolCommands, SumsBeyondTheAmountRangeStopWithTheReason) {
    // Two June entries whose amounts fit and whose sum and balance do not.
    exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方, 贷方) values "
                        "(cdate('2023-6-20'), '销售收入', '增加', 5000000000000000000, 0),"
                        "(cdate('2023-6-21'), '销售收入', '增加', 5000000000000000000, 0)"));
    const qint64 balances = scalar(QStringLiteral("select total(余额) from 现金日记帐"));
    const QString reason = QStringLiteral("金额超出了系统能够计算的范围");
    const QList<QStringList> runs = {
        {QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash")},
        {QStringLiteral("export"), m_path, QStringLiteral("--list"), QStringLiteral("cash-month"),
         QStringLiteral("--format"), QStringLiteral("xls"), QStringLiteral("--out"), path("june.xls")},
        {QStringLiteral("stats"), m_path, QStringLiteral("month"), QStringLiteral("--year"),
         QStringLiteral("2023")},
        {QStringLiteral("stats"), m_path, QStringLiteral("summary"), QStringLiteral("--from"),
         QStringLiteral("2023-6-1"), QStringLiteral("--to"), QStringLiteral("2023-6-30")},
    };
    for (const QStringList& args : runs) {
        const ToolRun run = tool(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString() << ": "
                                   << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(reason)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("june.xls")));
    EXPECT_EQ(scalar(QStringLiteral("select total(余额) from 现金日记帐")), balances)
        << "a recomputation that cannot finish leaves the balances as they were";
}

// A printout made without a display, read back by a PDF reader: every date of
// a December and every amount whole, though the designed date column is too
// narrow for "2026-12-10" in the face installed here.
TEST_F(ToolCommands, PrintWritesTheMonthsPrintoutAsAPdfWithEveryDateAndAmountWhole) {
    exec(QStringLiteral("insert into 权限表 (姓名) values ('出纳甲')"));
    QStringList values;
    for (int day = 1; day <= 31; ++day) {
        // The first day pays out 136,845.91; every later one takes in 1,000.
        values << QStringLiteral("(cdate('2026-12-%1'), '差旅费', '张经理出差北京参加全国财务工作会议', %2, %3)")
                      .arg(day)
                      .arg(day == 1 ? QStringLiteral("null") : QStringLiteral("ccur('1000')"))
                      .arg(day == 1 ? QStringLiteral("ccur('136845.91')") : QStringLiteral("null"));
    }
    exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 明细, 借方, 贷方) values ") + values.join(u','));
    ASSERT_EQ(tool({QStringLiteral("recompute"), m_path, QStringLiteral("--kind"), QStringLiteral("cash"),
                    QStringLiteral("--month"), QStringLiteral("2026-12")})
                  .exitCode,
              0);

    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        noDisplay.remove(QLatin1String(name));
    const QString pdf = path("december.pdf");
    const ToolRun run = tool({QStringLiteral("print"), m_path, QStringLiteral("--list"),
                              QStringLiteral("cash-month"), QStringLiteral("--month"),
                              QStringLiteral("2026-12"), QStringLiteral("--out"), pdf,
                              QStringLiteral("--operator"), QStringLiteral("出纳甲")},
                             noDisplay);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("已把 31 条记录打印到 %1，共 1 页。\n").arg(pdf));
    EXPECT_TRUE(contents(pdf).startsWith("%PDF-"));

    const QString text = pdfText(pdf);
    const QSet<QString> words = wordsOf(text);
    for (int day = 1; day <= 31; ++day) {
        const QString date = QStringLiteral("2026-12-%1").arg(day);
        EXPECT_TRUE(words.contains(date)) << date.toStdString();
    }
    for (const char* amount : {"-136,845.91", "-135,845.91", "-106,845.91", "1,000.00", "30,000.00",
                               "136,845.91"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(amount))) << amount;
    // The page header, the title row, the footer row and the line after the grid.
    const QStringList lines = text.split(u'\n');
    const auto lineWith = [&](const QString& part) {
        for (const QString& line : lines) {
            if (line.contains(part))
                return line.simplified();
        }
        return QString();
    };
    EXPECT_EQ(lineWith(QStringLiteral("打印清单")), QStringLiteral("现金日记帐打印清单"));
    EXPECT_EQ(lineWith(QStringLiteral("页")), QStringLiteral("第1页"));
    EXPECT_EQ(lineWith(QStringLiteral("借方(增加)")),
              QStringLiteral("日期 摘要 明细 借方(增加) 贷方(减少) 余额 凭证号 经办人 发票单位 备注"));
    EXPECT_EQ(lineWith(QStringLiteral("记录数")), QStringLiteral("记录数 31 30,000.00 136,845.91"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^打印时间:\\d{4}-\\d{1,2}-\\d{1,2} \\d{1,2}:\\d\\d:\\d\\d 制表:出纳甲 \\.$"))
                    .match(lineWith(QStringLiteral("打印时间:")))
                    .hasMatch())
        << lineWith(QStringLiteral("打印时间:")).toStdString();
}

TEST_F(ToolCommands, PrintTheOtherListsThatHaveAPrintout) {
    const struct {
        QStringList options;
        QString title;
    } lists[] = {
        {{QStringLiteral("bank-month"), QStringLiteral("--bank"), QStringLiteral("工商银行基本户")},
         QStringLiteral("银行日记帐打印清单")},
        {{QStringLiteral("operators")}, QStringLiteral("操作员及权限打印清单")},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.title.toStdString());
        const QString pdf = path("list.pdf");
        const ToolRun run = tool(QStringList{QStringLiteral("print"), m_path, QStringLiteral("--list")} +
                                 list.options + QStringList{QStringLiteral("--out"), pdf});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString text = pdfText(pdf);
        EXPECT_TRUE(text.contains(list.title));
        EXPECT_TRUE(text.contains(QStringLiteral("制表:系统管理员 ."))) << text.toStdString();
    }
}

TEST_F(ToolCommands, PrintRefusesWhatItCannotDo) {
    const QString p = QStringLiteral("print");
    const QString list = QStringLiteral("--list");
    const QString outOption = QStringLiteral("--out");
    const QString out = path("out.pdf");
    const QString cash = QStringLiteral("cash-month");
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{p, m_path, list, QStringLiteral("summaries"), outOption, out}, 2,
         QStringLiteral("摘要和开户银行的列表在程序中没有打印，请用 export 导出！")},
        {{p, m_path, list, QStringLiteral("banks"), outOption, out}, 2,
         QStringLiteral("摘要和开户银行的列表在程序中没有打印")},
        {{p, m_path, list, QStringLiteral("journal"), outOption, out}, 2,
         QStringLiteral("--list 只能是 cash-month、bank-month 或 operators，不能是 'journal'！")},
        {{p, m_path, list, cash}, 2, QStringLiteral("请用 --out 指定要写的 PDF 文件，文件名以 .pdf 结尾！")},
        {{p, m_path, list, cash, outOption, path("out.txt")}, 2, QStringLiteral("文件名以 .pdf 结尾")},
        {{p, m_path, list, QStringLiteral("operators"), outOption, out, QStringLiteral("--month"),
          QStringLiteral("2023-01")},
         2, QStringLiteral("--month 和 --bank 只用于月份的列表")},
        {{p, m_path, list, QStringLiteral("bank-month"), outOption, out}, 2,
         QStringLiteral("请用 --bank 指定开户银行")},
        {{p, m_path, list, cash, outOption, out, QStringLiteral("--operator"), QStringLiteral("张三")}, 2,
         QStringLiteral("操作员表中没有 '张三'，请用 --operator 指定打印的操作员！")},
        {{p, m_path, list, cash, outOption, out, QStringLiteral("--month"), QStringLiteral("2030-01")}, 1,
         QStringLiteral("列表中没有记录，没有写出 %1！").arg(out)},
        {{p, m_path, list, cash, outOption, path("no/such/folder/out.pdf")}, 1,
         QStringLiteral("不能建立文件")},
        {{p, path("missing.mdb"), list, cash, outOption, out}, 1, QStringLiteral("找不到数据库文件")},
    };
    for (const Case& c : cases) {
        const ToolRun run = tool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(path("out.txt")));
}

TEST(ToolRestore, RefusesAServerBookAnotherDeskIsOnAndChangesNothing) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "server books only: a file book has one program at a time";
    // The book's own connection stays open: the other desk.
    testing_support::TestDatabase book;
    book.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('收款', '增加')"));
    const QVariant before = book.scalar(QStringLiteral("select count(*) from 摘要"));
    const QString source = book.folder() + QStringLiteral("/source.mdb");
    ASSERT_EQ(tool({QStringLiteral("create"), source}).exitCode, 0);

    const ToolRun run = tool({QStringLiteral("restore"), book.path(), source});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("tallomer-db restore: 另有 1 个站点正在使用本帐套，"
                                                "不能恢复数据。请其他站点退出后再试。"));
    EXPECT_EQ(book.scalar(QStringLiteral("select count(*) from 摘要")), before);
}
