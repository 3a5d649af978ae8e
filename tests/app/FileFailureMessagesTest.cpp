// The start and the windows that read or write files say why one failed: a
// full disk, a read-only disk, a folder where a file should be, a file where
// a folder should be; never another cause.

#include "ShellFixture.h"

#include "support/FileContents.h"
#include "support/FullFileSystem.h"
#include "support/MountedFolder.h"

#include "admin/AdminCommands.h"
#include "app/BookLockAtStart.h"
#include "app/DataFolder.h"
#include "lists/ListWindow.h"
#include "lists/PrintDialogs.h"
#include "lists/TForm_preview.h"
#include "stats/ChartLaunch.h"
#include "stats/TForm_dbbar.h"
#include "store/BookLock.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/NewDatabase.h"
#include "ui/Choosers.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

#include <sys/statvfs.h>

using testing_support::child;
using testing_support::contents;
using testing_support::FullFileSystem;
using testing_support::MountedFolder;
using testing_support::onNextModal;

namespace {

const QString kBook = QStringLiteral("xjrjz.mdb");

struct Case {
    const char* what;
    std::function<QStringList()> act; // the messages it showed
    QString expected;
};

class FileFailureMessages : public ShellFixture {
protected:
    QTemporaryDir files;
    std::unique_ptr<FullFileSystem> full;
    MountedFolder readOnly;

    void SetUp() override {
        SKIP_FOR_SERVER_BOOK("the disks under a book file");
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to mount full and read-only disks";
        full = std::make_unique<FullFileSystem>(kBook, contents(db.path()));
        ASSERT_TRUE(full->ready());
        ASSERT_TRUE(
            readOnly.mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=1m"), QStringLiteral("tmpfs")}));
        ASSERT_TRUE(QFile::copy(db.path(), readOnly.filePath(kBook)));
        ASSERT_TRUE(readOnly.remount(QStringLiteral("remount,ro")));
        ASSERT_TRUE(QDir().mkdir(folder()));
    }

    QString folder() const { return files.filePath(QStringLiteral("folder")); }

    /// The boxes `act` showed, or the message of the engine error it raised.
    QStringList shown(const std::function<void()>& act) {
        messages.clear();
        try {
            act();
        } catch (const store::EngineError& e) {
            return {e.message()};
        }
        return messages.texts();
    }

    /// The operators' list window, shown, with `act` done in it.
    QStringList inListWindow(const std::function<void(lists::ListWindow&)>& act) {
        lists::ListWindowTraits traits;
        traits.exportName = traits.printTitle = QStringLiteral("操作员");
        dm->q_qxb.openWith({QStringLiteral("select * from 权限表")});
        lists::ListWindow window(nullptr, traits, &dm->ds_qxb, {{QStringLiteral("姓名")}});
        window.show();
        return shown([&] { act(window); });
    }

    QStringList exportTo(const QString& path) {
        ui::ChooserScript chooser;
        chooser.answerSave(ui::SaveFileAnswer{true, path, 1});
        return inListWindow([](lists::ListWindow& window) {
            QTest::mouseClick(child<QToolButton>(&window, "SpeedButton2"), Qt::LeftButton);
        });
    }

    /// What the preview said when its page went to the PDF file `path`.
    QStringList previewTo(const QString& path) {
        lists::PrintDialogScript script;
        script.answerPrint(lists::PrintDialogScript::PrintAnswer{{1, 1}, path});
        return inListWindow([](lists::ListWindow& window) {
            child<QToolButton>(&window, "SpeedButton3")->click();
            lists::TForm_preview* preview = lists::TForm_preview::instance();
            ASSERT_NE(preview, nullptr);
            child<QToolButton>(preview, "tbPrint")->click();
            preview->close();
        });
    }

    /// What the chart window said when its bitmap went to `path`.
    QStringList bitmapTo(const QString& path) {
        dm->ADO_xjrjz.database().exec(
            QStringLiteral("insert into 通用 (年度, 月份, 收入差价) values ('2005', '01月', 10)"));
        dm->q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用"),
                                 QStringLiteral(" order by 月份")});
        ui::ChooserScript chooser;
        chooser.answerSave(path);
        onNextModal([](QDialog* chart) {
            chart->showNormal();
            chart->resize(600, 400);
            QApplication::processEvents();
            QTest::mouseClick(child<QToolButton>(chart, "SpeedButton1"), Qt::LeftButton);
            QTest::mouseClick(child<QToolButton>(chart, "SpeedButton3"), Qt::LeftButton);
        });
        QWidget monthWindow;
        messages.clear();
        stats::launchChart(&monthWindow, stats::cashChartTitle);
        return messages.texts();
    }

    /// What the restore window said when restoring from `source`.
    QStringList restoreFrom(const QString& source) {
        ui::ChooserScript chooser;
        chooser.answerOpen(source);
        messages.answerNext(true);
        onNextModal([](QDialog* window) {
            QTest::mouseClick(child<QAbstractButton>(window, "SpeedButton3"), Qt::LeftButton);
            QTest::mouseClick(child<QAbstractButton>(window, "SpeedButton1"), Qt::LeftButton);
            if (window->isVisible())
                QTest::mouseClick(child<QAbstractButton>(window, "SpeedButton2"), Qt::LeftButton);
        });
        QWidget mainWindow;
        messages.clear();
        admin::openRestore(&mainWindow);
        return messages.texts();
    }

    /// What the restore window said when the book's disk had room for the
    /// restored copy and nothing more: not for the index SQLite makes beside it.
    QStringList restoreOntoANearlyFullDisk() {
        MountedFolder disk;
        if (!disk.mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=1m"), QStringLiteral("tmpfs")}))
            return {QStringLiteral("no mount")};
        const QString book = disk.filePath(kBook);
        QFile::copy(db.path(), book);
        const QByteArray bytes = contents(book);
        struct statvfs room {};
        ::statvfs(QFile::encodeName(disk.path()).constData(), &room);
        QFile filler(disk.filePath(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly);
        filler.write(QByteArray(qint64(room.f_bavail * room.f_frsize) - bytes.size(), 'x'));
        filler.close();

        ui::TDm1 onDisk(store::ConnectionString::forFile(book));
        onDisk.ADO_xjrjz.open();
        const QString source = files.filePath(QStringLiteral("source.mdb"));
        QFile::copy(db.path(), source);
        const QStringList texts = restoreFrom(source);
        onDisk.ADO_xjrjz.close();
        const bool unchanged = contents(book) == bytes;
        ui::Dm1 = dm.get();
        return unchanged ? texts : QStringList{QStringLiteral("the book changed")};
    }

    static void check(const Case& c) {
        const QStringList texts = c.act();
        EXPECT_EQ(texts.join(QLatin1Char('\n')), c.expected) << c.what;
    }
};

TEST_F(FileFailureMessages, TheStartNamesTheRealCause) {
    const QString onReadOnly = readOnly.filePath(kBook);
    const QString onFull = full->filePath(kBook);
    const QString aFile = files.filePath(QStringLiteral("plain"));
    QFile(aFile).open(QIODevice::WriteOnly);
    const QString bookFolder = files.filePath(QStringLiteral("books/") + kBook);
    ASSERT_TRUE(QDir().mkpath(bookFolder));
    const Case cases[] = {
        {"the book on a read-only disk",
         [&] { return shown([&] { EXPECT_FALSE(app::lockBookForRun(onReadOnly)); }); },
         QStringLiteral("不能建立数据库文件“%1”的锁文件：磁盘是只读的！").arg(onReadOnly)},
        {"the book on a full disk",
         [&] { return shown([&] { EXPECT_FALSE(app::lockBookForRun(onFull)); }); },
         QStringLiteral("不能建立数据库文件“%1”的锁文件：磁盘空间不足！").arg(onFull)},
        {"the first start on a read-only disk",
         [&] {
             return shown([&] {
                 app::prepareDataFolder(files.filePath(QStringLiteral("program")),
                                        readOnly.filePath(QStringLiteral("tallomer")));
             });
         },
         QStringLiteral("不能建立数据文件夹 %1：磁盘是只读的")
             .arg(readOnly.filePath(QStringLiteral("tallomer")))},
        {"a data folder that is a file",
         [&] { return shown([&] { app::enterDataFolder(aFile); }); },
         QStringLiteral("不能进入数据文件夹 %1：路径中有一部分不是文件夹").arg(aFile)},
        {"a folder in the book's place",
         [&] {
             return shown([&] {
                 start({}, store::ConnectionString::forFile(bookFolder));
                 EXPECT_FALSE(main->isVisible());
             });
         },
         QStringLiteral(
             "系统数据库没有连接，请与软件公司联系！\n不能打开数据库文件“%1”：这是一个文件夹")
             .arg(bookFolder)},
    };
    for (const Case& c : cases)
        check(c);
}

TEST_F(FileFailureMessages, TheWindowsNameTheRealCause) {
    dm = std::make_unique<ui::TDm1>(store::ConnectionString::forFile(db.path()));
    dm->ADO_xjrjz.open();
    dm->login.operatorName = QStringLiteral("系统管理员");
    dm->login.loggedIn = true;
    const QString onReadOnly = readOnly.filePath(QStringLiteral("操作员.txt"));
    const QString onFull = full->filePath(QStringLiteral("图表.bmp"));
    const QString folderTxt = files.filePath(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkdir(folderTxt));
    const Case cases[] = {
        {"an export to a read-only disk", [&] { return exportTo(onReadOnly); },
         QStringLiteral("Cannot create file %1：磁盘是只读的.").arg(onReadOnly)},
        {"an export over a folder", [&] { return exportTo(folderTxt); },
         QStringLiteral("Cannot create file %1：这是一个文件夹.").arg(folderTxt)},
        {"a chart's bitmap to a full disk", [&] { return bitmapTo(onFull); },
         QStringLiteral("不能保存文件 %1：磁盘空间不足.").arg(onFull)},
        {"a chart's bitmap over a folder", [&] { return bitmapTo(folder()); },
         QStringLiteral("不能保存文件 %1：这是一个文件夹.").arg(folder())},
        {"a printout to a PDF file over a folder", [&] { return previewTo(folder()); },
         QStringLiteral("不能写入文件 %1：这是一个文件夹").arg(folder())},
        {"a restore from a folder", [&] { return restoreFrom(folder()); },
         QStringLiteral("确实要恢复数据库吗? \n恢复没有完成，当前数据库没有改变。\n"
                        "不能读取“%1”：这是一个文件夹")
             .arg(folder())},
        {"a restore whose copy fills the disk", [&] { return restoreOntoANearlyFullDisk(); },
         QStringLiteral("确实要恢复数据库吗? \n恢复没有完成，当前数据库没有改变。\n"
                        "读写数据库文件时出错：磁盘空间不足")},
    };
    for (const Case& c : cases)
        check(c);
}

} // namespace
