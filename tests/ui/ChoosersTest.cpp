#include "ui/Choosers.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QSettings>
#include <QStyle>
#include <QTreeView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using ui::ChooserScript;
using ui::SaveFileRequest;

namespace {

const QString kExportFilter = QStringLiteral(
    "Text files (*.txt)|*.TXT|Comma separated values (*.csv)|*.CSV|HTML file (*.htm)|*.HTM|"
    "Rich Text Format (*.rtf)|*.RTF|Microsoft Excel Workbook (*.xls)|*.XLS");

// Acts on the next modal window as soon as it shows, from inside its exec().
void whenModalShows(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Types `name` into an open file dialog and confirms it; a dialog that stays open is
// closed, so that a failing test ends.
void typeAndAccept(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) {
        ADD_FAILURE() << "not a file dialog";
        modal->close();
        return;
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, "accept");
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog did not accept " << name.toStdString();
        dialog->reject();
    }
}

} // namespace

TEST(Choosers, PipeFiltersBecomeQtNameFilters) {
    EXPECT_EQ(ui::qtNameFilters(kExportFilter),
              QStringList({"Text files (*.txt) (*.TXT)", "Comma separated values (*.csv) (*.CSV)",
                           "HTML file (*.htm) (*.HTM)", "Rich Text Format (*.rtf) (*.RTF)",
                           "Microsoft Excel Workbook (*.xls) (*.XLS)"}));
    EXPECT_EQ(ui::qtNameFilters(QStringLiteral("Bitmap Files|*.bmp")),
              QStringList({"Bitmap Files (*.bmp)"}));
    EXPECT_EQ(ui::qtNameFilters(QStringLiteral("Pictures|*.jpg; *.jpeg|All files|*.*|Odd")),
              QStringList({"Pictures (*.jpg *.jpeg)", "All files (*)", "Odd (*)"}));
    EXPECT_TRUE(ui::qtNameFilters(QString()).isEmpty());
}

TEST(Choosers, ScriptRecordsRequestsAndAnswersFromItsQueues) {
    ChooserScript script;
    ASSERT_EQ(ChooserScript::active(), &script);
    SaveFileRequest request{QString(), kExportFilter, 5, QStringLiteral("file1"), QString(), false};

    script.answerSave({true, QStringLiteral("/tmp/a.csv"), 2});
    script.answerSave(QStringLiteral("/tmp/b"));
    ui::SaveFileAnswer first = ui::chooseSaveFile(nullptr, request);
    EXPECT_TRUE(first.accepted);
    EXPECT_EQ(first.path, QStringLiteral("/tmp/a.csv"));
    EXPECT_EQ(first.filterIndex, 2);
    EXPECT_EQ(ui::chooseSaveFile(nullptr, request).filterIndex, 5); // keeps the request's
    ui::SaveFileAnswer cancelled = ui::chooseSaveFile(nullptr, request);
    EXPECT_FALSE(cancelled.accepted);
    EXPECT_EQ(cancelled.filterIndex, 5);
    ASSERT_EQ(script.saveRequests().size(), 3);
    EXPECT_EQ(script.saveRequests()[0].fileName, QStringLiteral("file1"));

    script.answerOpen(QStringLiteral("/tmp/backup.mdb"));
    EXPECT_EQ(ui::chooseOpenFile(nullptr, QStringLiteral("恢复数据库文件"), QString()),
              QStringLiteral("/tmp/backup.mdb"));
    EXPECT_TRUE(ui::chooseOpenFile(nullptr, QStringLiteral("again"), QString()).isEmpty());
    EXPECT_EQ(script.openRequests()[0].title, QStringLiteral("恢复数据库文件"));

    script.answerColor(QColor(Qt::red));
    EXPECT_EQ(ui::chooseColor(nullptr, Qt::blue), QColor(Qt::red));
    EXPECT_FALSE(ui::chooseColor(nullptr, Qt::green).has_value());
    EXPECT_EQ(script.colorRequests(), QList<QColor>({QColor(Qt::blue), QColor(Qt::green)}));
    EXPECT_FALSE(ui::chooseFont(nullptr, QFont()).has_value());
    EXPECT_EQ(script.requestCount(), 8);
}

TEST(Choosers, SaveDialogStartsOnTheRequestedTypeAndReportsTheChosenOne) {
    ASSERT_EQ(ChooserScript::active(), nullptr);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    whenModalShows([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog) {
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("导出"));
            // The user reads the description as the system wrote it.
            EXPECT_EQ(dialog->selectedNameFilter(),
                      QStringLiteral("Microsoft Excel Workbook (*.xls)"));
            EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            dialog->selectNameFilter(ui::qtNameFilters(kExportFilter).at(1));
        }
        typeAndAccept(modal, dir.filePath(QStringLiteral("list.csv")));
    });
    const ui::SaveFileAnswer answer = ui::chooseSaveFile(
        nullptr, {QStringLiteral("导出"), kExportFilter, 5, QStringLiteral("file1"), {}, false});
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.path, dir.filePath(QStringLiteral("list.csv")));
    EXPECT_EQ(answer.filterIndex, 2);
}

TEST(Choosers, DefaultExtensionOnlyForANameWithoutOne) {
    QTemporaryDir dir;
    const SaveFileRequest request{QStringLiteral("保存到BMP文件中"),
                                  QStringLiteral("Bitmap Files|*.bmp"), 1,
                                  QStringLiteral("TEE0.BMP"), QStringLiteral("BMP")};
    for (const auto& [typed, saved] :
         {std::pair{"chart", "chart.BMP"}, std::pair{"chart.bmp", "chart.bmp"}}) {
        whenModalShows([&](QWidget* modal) { typeAndAccept(modal, dir.filePath(typed)); });
        EXPECT_EQ(ui::chooseSaveFile(nullptr, request).path, dir.filePath(saved));
    }
}

TEST(Choosers, OpenAndColourDialogsReturnNothingWhenCancelled) {
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("old.mdb")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    whenModalShows([&](QWidget* modal) { typeAndAccept(modal, existing.fileName()); });
    EXPECT_EQ(ui::chooseOpenFile(nullptr, QStringLiteral("恢复数据库文件"), QString()),
              existing.fileName());
    whenModalShows([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_TRUE(ui::chooseOpenFile(nullptr, QStringLiteral("恢复数据库文件"), QString()).isEmpty());

    whenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        if (dialog)
            dialog->setCurrentColor(QColor(2, 162, 196));
        static_cast<QDialog*>(modal)->accept();
    });
    EXPECT_EQ(ui::chooseColor(nullptr, Qt::white), QColor(2, 162, 196));
    whenModalShows([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(ui::chooseColor(nullptr, Qt::white).has_value());
}

// The file list's columns are as wide as their texts: no modification date ends in "…".
// Sizes and dates read in Chinese whatever language the desktop speaks (the tests run
// under the C locale, where Qt words them in English), and no text ends in an ellipsis.
TEST(Choosers, FileListShowsWholeDatesAndSizesInChinese) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime changed(QDate(2026, 12, 10), QTime(6, 43, 35));
    const std::pair<const char*, int> made[] = {
        {"a-file-with-a-rather-long-name-for-the-list.txt", 633}, {"b.txt", 123456}};
    for (const auto& [name, size] : made) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(changed, QFileDevice::FileModificationTime));
    }
    // Qt keeps the list's column layout of the last dialog; start from its own.
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .remove(QStringLiteral("FileDialog/treeViewHeader"));
    QStringList shown;
    whenModalShows([&](QWidget* modal) {
        auto* list = modal->findChild<QTreeView*>(QStringLiteral("treeView"));
        auto* files = modal->findChild<QFileSystemModel*>();
        if (list && files) {
            const QModelIndex folder = files->index(dir.path());
            EXPECT_TRUE(QTest::qWaitFor([&] { return files->rowCount(folder) == 2; }, 2000));
            const QAbstractItemModel* model = list->model();
            const QModelIndex listed = list->rootIndex();
            // The sizes and dates come from a thread of the model's, after the names.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    for (int row = 0; row < model->rowCount(listed); ++row) {
                        if (model->index(row, 1, listed).data().toString().startsWith(u'0'))
                            return false;
                    }
                    return true;
                },
                2000));
            QApplication::processEvents();
            for (int row = 0; row < model->rowCount(listed); ++row) {
                for (int column = 1; column <= 3; ++column) {
                    const QString text = model->index(row, column, listed).data().toString();
                    // The item delegate elides a text wider than the cell less its margins.
                    const int margins =
                        2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
                    EXPECT_LE(list->fontMetrics().horizontalAdvance(text) + margins,
                              list->columnWidth(column))
                        << text.toStdString();
                    shown << text;
                }
            }
        } else {
            ADD_FAILURE() << "no file list";
        }
        qobject_cast<QDialog*>(modal)->reject();
    });
    ui::chooseSaveFile(nullptr, {QStringLiteral("导出"), kExportFilter, 1,
                                 dir.filePath(QStringLiteral("file1")), {}, false});
    ASSERT_EQ(shown.size(), 6);
    const QString day = QStringLiteral("2026-12-10 6:43");
    EXPECT_EQ(shown[0], QStringLiteral("633 字节"));
    EXPECT_EQ(shown[2], day);
    EXPECT_EQ(shown[3], QStringLiteral("120.56 KiB"));
    EXPECT_EQ(shown[5], day);
}
