// A book that may only be read: the reading commands read it as it is, in a
// read-only folder too, and leave nothing beside it; a side file left
// read-only beside a writable book is named when a command must write.

#include "ToolRun.h"

#include "support/MountedFolder.h"

#include "store/Database.h"
#include "store/NewDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using toolrun::kTool;
using toolrun::tool;
using toolrun::ToolRun;
using toolrun::canRunAsNobody;
using toolrun::toolAsNobody;

constexpr uid_t kNobody = 65534;

/// The folder `source` seen through a read-only bind mount, where the machine
/// lets the tests mount (they run as root, who passes permission bits).
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString& source) {
        m_readOnly = m_folder.mount({QStringLiteral("--bind"), source}) &&
                     m_folder.remount(QStringLiteral("remount,ro,bind"));
    }

    bool ready() const { return m_readOnly; }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

private:
    testing_support::MountedFolder m_folder;
    bool m_readOnly = false;
};

class ReadOnlyBook : public ::testing::Test {
protected:
    ReadOnlyBook()
        : m_path(m_dir.filePath(QStringLiteral("xjrjz.mdb"))) {
        store::createDatabaseFile(m_path, store::standardPassword());
    }

    /// The folder and the book become nobody's, the book with `mode`.
    void giveToNobody(mode_t mode) const {
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files))
            EXPECT_EQ(
                ::chown(QFile::encodeName(m_dir.filePath(name)).constData(), kNobody, kNobody), 0);
        EXPECT_EQ(::chown(QFile::encodeName(m_dir.path()).constData(), kNobody, kNobody), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(m_path).constData(), mode), 0);
    }
    QStringList filesBeside() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    QTemporaryDir m_outDir;
    QString m_path;
};

TEST_F(ReadOnlyBook, ReadingCommandsReadABookInAReadOnlyFolder) {
    ReadOnlyMount mount(m_dir.path());
    if (!mount.ready())
        GTEST_SKIP() << "no read-only mount on this machine";
    const QString book = mount.filePath(QStringLiteral("xjrjz.mdb"));

    const ToolRun checked = tool({QStringLiteral("check"), book});
    EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_EQ(checked.out, QStringLiteral("%1: 检查通过\n").arg(book));

    const QString out = m_outDir.filePath(QStringLiteral("banks.csv"));
    const ToolRun exported =
        tool({QStringLiteral("export"), book, QStringLiteral("--list"), QStringLiteral("banks"),
              QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--out"), out});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFile::exists(out));

    const QString copy = m_outDir.filePath(QStringLiteral("copy.mdb"));
    const ToolRun backedUp = tool({QStringLiteral("backup"), book, copy});
    EXPECT_EQ(backedUp.exitCode, 0) << backedUp.err.toStdString();
    EXPECT_EQ(tool({QStringLiteral("check"), copy}).exitCode, 0);
    EXPECT_EQ(filesBeside(), QStringList{QStringLiteral("xjrjz.mdb")});
}

TEST_F(ReadOnlyBook, ReadingAReadOnlyBookLeavesNoSideFiles) {
    if (!canRunAsNobody())
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    giveToNobody(0444);
    const ToolRun checked = toolAsNobody({QStringLiteral("check"), m_path});
    EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_EQ(filesBeside(), QStringList{QStringLiteral("xjrjz.mdb")});
}

TEST_F(ReadOnlyBook, AWritingCommandNamesTheReadOnlySideFileThatBlocksIt) {
    if (!canRunAsNobody())
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    {
        // An earlier reader that left its WAL and its index beside the book.
        store::Database reader(m_path, store::Database::OpenMode::ReadOnly);
        reader.exec(QStringLiteral("select count(*) from 开户银行"));
    }
    ASSERT_TRUE(QFile::exists(m_path + QStringLiteral("-shm")));
    giveToNobody(0644);
    const QString shm = m_path + QStringLiteral("-shm");
    ASSERT_EQ(::chmod(QFile::encodeName(shm).constData(), 0444), 0);

    const ToolRun run = toolAsNobody(
        {QStringLiteral("demo"), m_path, QStringLiteral("--entries"), QStringLiteral("10")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              QStringLiteral("tallomer-db demo: 数据库的附属文件 %1 是只读的，数据库不能写入，"
                             "请允许写入这个文件！\n")
                  .arg(shm));
}

} // namespace
