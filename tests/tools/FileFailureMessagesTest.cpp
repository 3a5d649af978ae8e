// A command that cannot read or write a file says why, in Chinese: a full
// disk, a read-only disk, a missing folder, a folder without permission, a
// folder where a file should be, a name too long; never another cause.

#include "ToolRun.h"

#include "support/FileContents.h"
#include "support/FullFileSystem.h"
#include "support/MountedFolder.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/NewDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using testing_support::contents;
using testing_support::FullFileSystem;
using testing_support::MountedFolder;
using toolrun::ToolRun;

const QString kBook = QStringLiteral("xjrjz.mdb");

void copyFile(const QString& from, const QString& to) {
    ASSERT_TRUE(QFile::copy(from, to)) << to.toStdString();
}

class FileFailureMessages : public ::testing::Test {
protected:
    void SetUp() override {
        if (!toolrun::canRunAsNobody())
            GTEST_SKIP() << "needs root (mounts) and setpriv (a second user)";
        // As a desktop session has it: print's Qt would otherwise warn in English.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        m_book = m_dir.filePath(kBook);
        store::createDatabaseFile(m_book, store::standardPassword());
        m_full = std::make_unique<FullFileSystem>(kBook, contents(m_book));
        ASSERT_TRUE(m_full->ready());
        makeReadOnlyDisk();
        // A folder only its owner (root) may enter, holding a book.
        ASSERT_TRUE(QDir().mkdir(m_dir.filePath(QStringLiteral("closed"))));
        copyFile(m_book, closedBook());
        ASSERT_EQ(
            ::chmod(QFile::encodeName(m_dir.filePath(QStringLiteral("closed"))).constData(), 0700),
            0);
        // A folder anyone may write, with a book and a copy nobody may only read.
        ASSERT_TRUE(QDir().mkdir(shared()));
        for (const QString& name : {kBook, QStringLiteral("copy.mdb")}) {
            copyFile(m_book, sharedFile(name));
            ASSERT_EQ(::chmod(QFile::encodeName(sharedFile(name)).constData(), 0644), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(shared()).constData(), 0777), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
        ASSERT_TRUE(QDir().mkdir(folder()));
    }

    // A read-only disk with a book, and a book whose WAL is there but not its index.
    void makeReadOnlyDisk() {
        ASSERT_TRUE(
            m_readOnly.mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                              QStringLiteral("size=1m"), QStringLiteral("tmpfs")}));
        copyFile(m_book, readOnlyFile(kBook));
        {
            const auto writer = store::openDatabaseFile(m_book, store::standardPassword());
            writer->exec(QStringLiteral("insert into 开户银行 (项目) values ('招商银行')"));
            copyFile(m_book, readOnlyFile(QStringLiteral("wal.mdb")));
            copyFile(m_book + QStringLiteral("-wal"), readOnlyFile(QStringLiteral("wal.mdb-wal")));
        }
        ASSERT_TRUE(m_readOnly.remount(QStringLiteral("remount,ro")));
    }

    QString readOnlyFile(const QString& name) const { return m_readOnly.filePath(name); }
    QString fullFile(const QString& name) const { return m_full->filePath(name); }
    QString closedBook() const { return m_dir.filePath(QStringLiteral("closed/") + kBook); }
    QString shared() const { return m_dir.filePath(QStringLiteral("shared")); }
    QString sharedFile(const QString& name) const { return shared() + QLatin1Char('/') + name; }
    QString folder() const { return m_dir.filePath(QStringLiteral("folder.mdb")); }
    QString missing(const QString& name) const {
        return m_dir.filePath(QStringLiteral("gone/") + name);
    }
    QString tooLong(const QString& suffix) const {
        return m_dir.filePath(QString(300, QLatin1Char('a')) + suffix);
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_dir;
    QString m_book;
    std::unique_ptr<FullFileSystem> m_full;
    MountedFolder m_readOnly;
};

struct Case {
    const char* what;
    QStringList args;
    QString cause; // what stderr must say
    bool asNobody = false;
};

QStringList exportTo(const QString& book, const QString& out) {
    return {QStringLiteral("export"),   book,
            QStringLiteral("--list"),   QStringLiteral("summaries"),
            QStringLiteral("--format"), QStringLiteral("txt"),
            QStringLiteral("--out"),    out};
}

QStringList printTo(const QString& book, const QString& out) {
    return {QStringLiteral("print"), book, QStringLiteral("--list"), QStringLiteral("operators"),
            QStringLiteral("--out"), out};
}

// The message without the command's name and the paths it names.
QString wordsOf(QString message) {
    static const QRegularExpression command(QStringLiteral("tallomer-db [a-z]+: "));
    static const QRegularExpression path(QStringLiteral("[\\x21-\\x7e]*/[\\x21-\\x7e]*"));
    return message.remove(command).remove(path);
}

TEST_F(FileFailureMessages, EveryCommandNamesTheRealCause) {
    const QString lockOf = QStringLiteral("不能建立锁文件 %1.LCK：%2！");
    const QString cantOpen = QStringLiteral("不能打开数据库文件“%1”：%2");
    const QString folderPdf = m_dir.filePath(QStringLiteral("folder.pdf"));
    ASSERT_TRUE(QDir().mkdir(folderPdf));
    const QByteArray sharedBook = contents(sharedFile(kBook));
    const Case cases[] = {
        {"create on a full disk",
         {QStringLiteral("create"), fullFile(QStringLiteral("new.mdb"))},
         lockOf.arg(fullFile(QStringLiteral("new.mdb")), QStringLiteral("磁盘空间不足"))},
        {"demo on a read-only disk",
         {QStringLiteral("demo"), readOnlyFile(kBook)},
         lockOf.arg(readOnlyFile(kBook), QStringLiteral("磁盘是只读的"))},
        {"recompute in a missing folder",
         {QStringLiteral("recompute"), missing(kBook), QStringLiteral("--kind"),
          QStringLiteral("cash")},
         QStringLiteral("不能建立锁文件 %1.LCK：文件或文件夹不存在！").arg(missing(kBook))},
        {"stats in a folder without permission",
         {QStringLiteral("stats"), closedBook(), QStringLiteral("month")},
         QStringLiteral("：没有访问权限！"),
         true},
        {"import with a name too long",
         {QStringLiteral("import"), tooLong(QStringLiteral(".mdb")), QStringLiteral("--kind"),
          QStringLiteral("cash"), QStringLiteral("--from"), m_book},
         QStringLiteral("：文件名太长！")},
        {"check a folder",
         {QStringLiteral("check"), folder()},
         cantOpen.arg(folder(), QStringLiteral("这是一个文件夹"))},
        {"search in a folder without permission",
         {QStringLiteral("search"), closedBook(), QStringLiteral("--kind"), QStringLiteral("cash"),
          QStringLiteral("--voucher"), QStringLiteral("1")},
         cantOpen.arg(closedBook(), QStringLiteral("没有访问权限")),
         true},
        {"export a book whose name is too long",
         exportTo(tooLong(QStringLiteral(".mdb")), m_dir.filePath(QStringLiteral("out.txt"))),
         cantOpen.arg(tooLong(QStringLiteral(".mdb")), QStringLiteral("文件名太长"))},
        {"check a book on a full disk",
         {QStringLiteral("check"), fullFile(kBook)},
         QStringLiteral("磁盘空间不足")},
        {"export a book whose WAL index a read-only disk cannot hold",
         exportTo(readOnlyFile(QStringLiteral("wal.mdb")),
                  m_dir.filePath(QStringLiteral("out.txt"))),
         QStringLiteral("但文件夹不能写入：磁盘是只读的")},
        {"export to a read-only disk", exportTo(m_book, readOnlyFile(QStringLiteral("out.txt"))),
         QStringLiteral("不能建立文件 %1：磁盘是只读的")
             .arg(readOnlyFile(QStringLiteral("out.txt")))},
        {"export over a folder", exportTo(m_book, folder()),
         QStringLiteral("不能建立文件 %1：这是一个文件夹").arg(folder())},
        {"print to a full disk", printTo(m_book, fullFile(QStringLiteral("out.pdf"))),
         QStringLiteral("不能写入文件 %1：磁盘空间不足！")
             .arg(fullFile(QStringLiteral("out.pdf")))},
        {"print over a folder", printTo(m_book, folderPdf),
         QStringLiteral("不能建立文件 %1：这是一个文件夹！").arg(folderPdf)},
        {"backup to a full disk",
         {QStringLiteral("backup"), m_book, fullFile(QStringLiteral("copy.mdb"))},
         QStringLiteral("磁盘已满，不能写入数据库：%1").arg(fullFile(QStringLiteral("copy.mdb")))},
        {"restore from a folder",
         {QStringLiteral("restore"), m_book, folder()},
         QStringLiteral("不能读取“%1”：这是一个文件夹").arg(folder())},
        {"restore onto a folder",
         {QStringLiteral("restore"), folder(), m_book},
         QStringLiteral("这是一个文件夹")},
        {"restore onto a book this user may not write",
         {QStringLiteral("restore"), sharedFile(kBook), sharedFile(QStringLiteral("copy.mdb"))},
         QStringLiteral("不能写入“%1”：没有访问权限").arg(sharedFile(kBook)),
         true},
    };
    for (const Case& c : cases) {
        const ToolRun run = c.asNobody ? toolrun::toolAsNobody(c.args) : toolrun::tool(c.args);
        EXPECT_EQ(run.exitCode, 1) << c.what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.cause)) << c.what << ": " << run.err.toStdString();
        for (const char* wrong : {"找不到", "另一个程序", "写入文件出错", "读写数据库文件时出错\n",
                                  "不能打开数据库文件\n"})
            EXPECT_FALSE(run.err.contains(QString::fromUtf8(wrong)))
                << c.what << ": " << run.err.toStdString();
        EXPECT_FALSE(wordsOf(run.err).contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            << c.what << ": " << run.err.toStdString();
    }
    // The refused restore left the book as it was.
    EXPECT_EQ(contents(sharedFile(kBook)), sharedBook);
}

} // namespace
