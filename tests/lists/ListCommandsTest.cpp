// The "导出" and "打印" commands of the list-window frame.

#include "support/DataModuleFixture.h"
#include "support/FullFileSystem.h"
#include "support/TestServer.h"

#include "lists/DataGrid.h"
#include "lists/ListWindow.h"
#include "lists/PrintDialogs.h"
#include "lists/PrintDocument.h"
#include "lists/PrintSetup.h"
#include "lists/TForm_preview.h"
#include "ui/Choosers.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>

using lists::FooterKind;
using testing_support::child;

namespace {

class ListCommands : public DataModuleFixture {
protected:
    QTemporaryDir out;
    ui::ChooserScript chooser;
    std::unique_ptr<lists::ListWindow> window;

    void SetUp() override {
        DataModuleFixture::SetUp();
        db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                               "(cdate('2005-3-1'), '收款', ccur('12.5')), (cdate('2005-3-2'), '付\"款', ccur('1'))"));
        dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐"), QStringLiteral("order by 日期+编号")});
        lists::ListWindowTraits traits;
        traits.objectName = QStringLiteral("Form_test");
        traits.title = QStringLiteral("现金日记账");
        traits.printTitle = QStringLiteral("现金日记帐打印清单");
        traits.exportName = QStringLiteral("现金日记帐");
        window = std::make_unique<lists::ListWindow>(
            nullptr, traits, &dm->ds_xjrjz,
            QList<lists::GridColumn>{{QStringLiteral("日期"), {}, 70, FooterKind::StaticText, QStringLiteral("记录数")},
                                     {QStringLiteral("摘要"), {}, 120, FooterKind::Count},
                                     {QStringLiteral("借方"), QStringLiteral("借方(增加)"), 80, FooterKind::Sum}});
        window->show();
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    QString path(const char* name) { return out.filePath(QString::fromUtf8(name)); }
    QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(ListCommands, ExportProposesTheNameKeepsTheTypeAndFollowsTheExtensionRule) {
    chooser.answerSave(ui::SaveFileAnswer{true, path("现金日记帐"), 5});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    ASSERT_EQ(chooser.saveRequests().size(), 1);
    EXPECT_EQ(chooser.saveRequests()[0].fileName, QStringLiteral("现金日记帐"));
    EXPECT_EQ(chooser.saveRequests()[0].filterIndex, 5);
    EXPECT_FALSE(chooser.saveRequests()[0].confirmOverwrite);
    const QByteArray xls = read(path("现金日记帐.xls"));
    EXPECT_TRUE(xls.startsWith(QByteArray::fromHex("090808000000100000000000")));
    EXPECT_TRUE(xls.endsWith(QByteArray::fromHex("0a000000")));

    // Type 1 chosen with a name ending in .CSV: a text file named report.CSV.txt.
    chooser.answerSave(ui::SaveFileAnswer{true, path("report.CSV"), 1});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    const QByteArray text = read(path("report.CSV.txt"));
    EXPECT_EQ(text.count("\r\n"), 3);
    EXPECT_TRUE(text.endsWith("13.50")) << text.toStdString();
    // The dialog keeps the type chosen last; the grid keeps its row.
    chooser.answerSave(ui::SaveFileAnswer{false, QString(), 1});
    dm->q_xjrjz.last();
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    EXPECT_EQ(chooser.saveRequests().last().filterIndex, 1);
    EXPECT_EQ(dm->q_xjrjz.currentIndex(), 1);
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ListCommands, ExportReplacesAFileAndAnUnwritablePlaceIsAnError) {
    QFile old(path("a.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents that are longer than the export");
    old.close();
    chooser.answerSave(ui::SaveFileAnswer{true, path("a.txt"), 1});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    EXPECT_FALSE(read(path("a.txt")).contains("old contents"));

    chooser.answerSave(ui::SaveFileAnswer{true, path("missing/folder/b"), 1});
    try {
        window->exportList();
        FAIL() << "no error for a file that cannot be made";
    } catch (const std::exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Cannot create file ")));
    }
}

TEST_F(ListCommands, ExportAndPrintNeverReplaceTheBookOrAFileOfIt) {
    SKIP_FOR_SERVER_BOOK("the book's file and the files beside it");
    const QByteArray book = read(db.path());
    ASSERT_TRUE(QFile::link(db.path(), path("book.txt")));
    const QString copies = QFileInfo(db.path()).absolutePath() + QStringLiteral("/backups");
    ASSERT_TRUE(QDir().mkpath(copies));
    for (const QString& chosen : {path("book.txt"), copies + QStringLiteral("/copy.txt")}) {
        chooser.answerSave(ui::SaveFileAnswer{true, chosen, 1});
        child<QToolButton>(window.get(), "SpeedButton2")->click();
        ASSERT_EQ(messages.records().size(), 1) << chosen.toStdString();
        EXPECT_EQ(messages.records()[0].text,
                  QStringLiteral("不能导出到数据库文件或属于它的文件，请另选文件名！"));
        messages.clear();
    }

    // Nor does a printout sent to a PDF file.
    ASSERT_TRUE(QFile::link(db.path(), path("book.pdf")));
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    lists::TForm_preview* preview = lists::TForm_preview::instance();
    ASSERT_NE(preview, nullptr);
    lists::PrintDialogScript script;
    script.answerPrint(lists::PrintDialogScript::PrintAnswer{{1, 1}, path("book.pdf")});
    child<QToolButton>(preview, "tbPrint")->click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("不能打印到数据库文件或属于它的文件，请另选文件名！")});
    preview->close();

    EXPECT_EQ(read(db.path()), book);
    EXPECT_TRUE(QDir(copies).isEmpty());
    QDir(copies).removeRecursively();
}

TEST_F(ListCommands, AnExportOnAFullDiskKeepsThePreviousOneAndTellsWhy) {
    const QByteArray previous = "the export of last month\r\n";
    testing_support::FullFileSystem disk(QStringLiteral("a.txt"), previous);
    if (!disk.ready())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString out = disk.filePath(QStringLiteral("a.txt"));
    chooser.answerSave(ui::SaveFileAnswer{true, out, 1});
    try {
        window->exportList();
        FAIL() << "a failed export reported no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("不能写入文件 %1：磁盘空间不足").arg(out));
    }
    EXPECT_EQ(read(out), previous);
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("a.txt")}) << "no temporary file is left";
}

TEST_F(ListCommands, AWorksheetExportNamesTheLabelsItCutAfterwards) {
    db.exec(QStringLiteral("update 现金日记帐 set 摘要 = '") + QString(200, u'长') +
            QStringLiteral("'"));
    dm->q_xjrjz.openWith(
        {QStringLiteral("select * from 现金日记帐"), QStringLiteral("order by 日期+编号")});
    chooser.answerSave(ui::SaveFileAnswer{true, path("long.txt"), 1});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    EXPECT_TRUE(messages.records().isEmpty()) << "text formats keep every character";

    chooser.answerSave(ui::SaveFileAnswer{true, path("long"), 5});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].text, QStringLiteral("2 个单元格超过 255 字节，已截断"));
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_FALSE(read(path("long.xls")).isEmpty()) << "the file is written before the notice";
}

TEST_F(ListCommands, EmptyListExportsAndPrintsNothing) {
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐 where 1=0")});
    child<QToolButton>(window.get(), "SpeedButton2")->click();
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_EQ(chooser.requestCount(), 0);
}

TEST_F(ListCommands, PrintShowsThePreviewAndChecksTheTwoColourBoxAgain) {
    auto* twoColours = child<QCheckBox>(window.get(), "cbDichromatic");
    twoColours->setChecked(false);
    dm->login.operatorName = QStringLiteral("乙");
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_TRUE(twoColours->isChecked());
    lists::TForm_preview* preview = lists::TForm_preview::instance();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    const lists::PrintDocument* document = preview->document();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->pageCount(), 1);
    EXPECT_EQ(window->printSetup().headerCentre, QStringList({QStringLiteral("现金日记帐打印清单")}));
    EXPECT_TRUE(document->textAfterGrid().contains(QStringLiteral("制表:乙 .")));
    preview->close();
}
