#include "PrintSample.h"

#include "lists/PrintDialogs.h"
#include "lists/PrintList.h"
#include "lists/TForm_preview.h"

#include "support/FileContents.h"
#include "support/FullFileSystem.h"
#include "support/ModalDriver.h"
#include "ui/Choosers.h"
#include "ui/Fonts.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using lists::TForm_preview;
using testing_support::child;

namespace {

/// A list window as far as printing needs it: a window and its print setup.
struct ListWindow {
    QDialog window;
    lists::PrintSetup setup = lists::PrintSetup::standard(QStringLiteral("现金日记帐打印清单"));

    TForm_preview* print(int entries) {
        ui::installFontSubstitutions();
        lists::setStandardSubstitutions(setup, QStringLiteral("王小明"),
                                        QDateTime(QDate(2005, 3, 1), QTime(9, 0)));
        lists::printList(&window, setup, [entries] { return printsample::cashJournal(entries); });
        return TForm_preview::instance();
    }
};

QString status(TForm_preview* preview) {
    return child<QLabel>(preview, "StatusPanel1")->text();
}

void click(QWidget* parent, const char* name) {
    auto* button = child<QAbstractButton>(parent, name);
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

bool enabled(QWidget* parent, const char* name) {
    return child<QWidget>(parent, name)->isEnabled();
}

// On the box itself: a check box in a wide layout does not react to a click
// right of its text.
void tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

int previewWindows() {
    int n = 0;
    for (QWidget* w : QApplication::allWidgets())
        n += qobject_cast<TForm_preview*>(w) != nullptr;
    return n;
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count("/Type /Page\n"));
}

} // namespace

TEST(PrintPreview, OpensMaximisedOnPageOneAtWholePageAndTurnsPages) {
    ListWindow list;
    TForm_preview* preview = list.print(300);
    ASSERT_TRUE(preview);
    const int pages = preview->document()->pageCount();
    ASSERT_GT(pages, 2);

    EXPECT_EQ(preview->windowTitle(), QStringLiteral("打印预览"));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->zoomText(), QStringLiteral("整页显示"));
    EXPECT_EQ(child<QToolButton>(preview, "tbZoom")->toolTip(), QStringLiteral("显示比例"));
    EXPECT_EQ(child<QToolButton>(preview, "tbStop")->toolTip(), QStringLiteral("停止打印"));
    EXPECT_EQ(child<QToolButton>(preview, "tbClose")->toolTip(), QStringLiteral("关闭预览"));
    EXPECT_EQ(status(preview), QStringLiteral("页 1 of %1").arg(pages));
    EXPECT_FALSE(enabled(preview, "tbPrevious"));
    EXPECT_TRUE(enabled(preview, "tbNext"));
    EXPECT_FALSE(enabled(preview, "tbStop")); // only while laying out
    EXPECT_TRUE(enabled(preview, "tbClose"));
    EXPECT_TRUE(enabled(preview, "tbPrint"));

    click(preview, "tbNext");
    EXPECT_EQ(status(preview), QStringLiteral("页 2 of %1").arg(pages));
    EXPECT_TRUE(enabled(preview, "tbPrevious"));
    for (int p = 2; p < pages; ++p)
        click(preview, "tbNext");
    EXPECT_EQ(status(preview), QStringLiteral("页 %1 of %1").arg(pages));
    EXPECT_FALSE(enabled(preview, "tbNext"));
    QTest::keyClick(preview, Qt::Key_PageDown);
    EXPECT_EQ(preview->currentPage(), pages - 1);
    click(preview, "tbPrevious");
    EXPECT_EQ(status(preview), QStringLiteral("页 %1 of %2").arg(pages - 1).arg(pages));
    EXPECT_TRUE(enabled(preview, "tbNext"));

    // A zoom choice from the menu replaces the whole page view.
    const QList<QAction*> zooms = child<QToolButton>(preview, "tbZoom")->menu()->actions();
    ASSERT_EQ(zooms.size(), 10);
    const qreal whole = preview->viewScale();
    zooms[3]->trigger(); // 100%
    EXPECT_EQ(preview->zoomText(), QStringLiteral("100%"));
    EXPECT_NE(preview->viewScale(), whole);
}

TEST(PrintPreview, OneWindowServesEveryListWindowAndOutlivesThem) {
    auto first = std::make_unique<ListWindow>();
    TForm_preview* preview = first->print(300);
    click(preview, "tbNext");
    preview->showMinimized();

    auto second = std::make_unique<ListWindow>();
    EXPECT_EQ(second->print(3), preview);
    EXPECT_EQ(previewWindows(), 1);
    EXPECT_FALSE(preview->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->parentWidget(), &second->window);
    EXPECT_EQ(preview->document()->pageCount(), 1);
    EXPECT_EQ(status(preview), QStringLiteral("页 1 of 1"));
    EXPECT_FALSE(enabled(preview, "tbNext"));

    // The list windows close; the preview keeps the last document.
    first.reset();
    second.reset();
    ASSERT_EQ(TForm_preview::instance(), preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->parentWidget(), nullptr);
    EXPECT_EQ(preview->document()->pageCount(), 1);

    click(preview, "tbClose");
    EXPECT_FALSE(preview->isVisible());
    ListWindow third;
    EXPECT_EQ(third.print(3), preview);
    EXPECT_TRUE(preview->isVisible());
}

TEST(PrintPreview, PrintsTheChosenPagesThroughTheDialog) {
    QTemporaryDir folder;
    ListWindow list;
    TForm_preview* preview = list.print(300);
    const int pages = preview->document()->pageCount();
    ASSERT_GT(pages, 2);

    lists::PrintDialogScript script;
    const QString part = folder.filePath(QStringLiteral("part.pdf"));
    script.answerPrint(lists::PrintDialogScript::PrintAnswer{{2, 3}, part});
    click(preview, "tbPrint");
    EXPECT_EQ(script.printRequests(), QList<int>{pages});
    EXPECT_EQ(pdfPages(part), 2);

    const QString all = folder.filePath(QStringLiteral("all.pdf"));
    script.answerPrint(lists::PrintDialogScript::PrintAnswer{{1, pages}, all});
    click(preview, "tbPrint");
    EXPECT_EQ(pdfPages(all), pages);

    script.answerPrint(std::nullopt);
    click(preview, "tbPrint");
    EXPECT_EQ(script.printRequests().size(), 3);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

TEST(PrintPreview, APrintoutToAFileOnAFullDiskKeepsThePreviousOneAndTellsWhy) {
    const QByteArray previous = "%PDF-1.4 the printout of last month\n%%EOF\n";
    testing_support::FullFileSystem disk(QStringLiteral("month.pdf"), previous);
    if (!disk.ready())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ListWindow list;
    TForm_preview* preview = list.print(300);
    ui::MessageRecorder messages;
    lists::PrintDialogScript script;
    const QString out = disk.filePath(QStringLiteral("month.pdf"));
    script.answerPrint(lists::PrintDialogScript::PrintAnswer{{1, 3}, out});
    click(preview, "tbPrint");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("不能写入文件 %1：磁盘空间不足").arg(out)});
    EXPECT_EQ(testing_support::contents(out), previous);
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("month.pdf")})
        << "no temporary file is left";
}

TEST(PrintPreview, SetupDialogWritesBackOnOkAndLaysTheDocumentOutAgain) {
    ListWindow list;
    TForm_preview* preview = list.print(30);
    ui::ChooserScript fonts;
    fonts.answerFont(QFont(QStringLiteral("WenQuanYi Zen Hei"), 10));

    bool shown = false;
    testing_support::onNextModal([&](QDialog* dialog) {
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("打印设置"));
        EXPECT_EQ(child<QDoubleSpinBox>(dialog, "edTop")->value(), 2.0);
        EXPECT_TRUE(child<QCheckBox>(dialog, "cbAutoStretch")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(dialog, "cbColored")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(dialog, "cbFitToWidth")->isChecked());
        EXPECT_TRUE(child<QGroupBox>(dialog, "gbFitKind")->isEnabled());
        child<QDoubleSpinBox>(dialog, "edTop")->setValue(3.5);
        tick(child<QCheckBox>(dialog, "cbAutoStretch"));
        tick(child<QCheckBox>(dialog, "cbColored"));
        QTest::mouseClick(child<QToolButton>(dialog, "btnFont"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    click(preview, "tbPrintSetup");
    ASSERT_TRUE(shown);

    EXPECT_EQ(list.setup.marginsCm.top(), 3.5);
    EXPECT_EQ(list.setup.marginsCm.left(), 2.0);
    EXPECT_FALSE(list.setup.autoStretchRows);
    EXPECT_TRUE(list.setup.colouredPrinting);
    ASSERT_TRUE(list.setup.printFont.has_value());
    EXPECT_EQ(list.setup.printFont->family(), QStringLiteral("WenQuanYi Zen Hei"));
    const lists::PrintDocument* document = preview->document();
    EXPECT_EQ(document->setup().marginsCm.top(), 3.5);
    EXPECT_NEAR(document->frame().top(), 3.5 / 2.54 * document->canvas().resolution, 1e-6);
    EXPECT_TRUE(document->isComplete());
    EXPECT_EQ(status(preview), QStringLiteral("页 1 of %1").arg(document->pageCount()));
}

TEST(PrintPreview, SetupDialogCancelChangesNothing) {
    ListWindow list;
    TForm_preview* preview = list.print(30);
    const lists::PrintDocument* before = preview->document();
    lists::PrintDialogScript script;
    script.answerPageSetup(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));

    testing_support::onNextModal([&](QDialog* dialog) {
        child<QDoubleSpinBox>(dialog, "edLeft")->setValue(0.5);
        tick(child<QCheckBox>(dialog, "cbFitToWidth"));
        EXPECT_FALSE(child<QGroupBox>(dialog, "gbFitKind")->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog, "btnPrinterSetup"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
    });
    click(preview, "tbPrintSetup");

    EXPECT_EQ(script.pageSetupRequests(), 1);
    EXPECT_EQ(list.setup.marginsCm.left(), 2.0);
    EXPECT_TRUE(list.setup.fitToPageWidth);
    EXPECT_EQ(list.setup.orientation, QPageLayout::Portrait);
    EXPECT_EQ(preview->document(), before);

    // The page setup takes effect with OK.
    script.answerPageSetup(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    testing_support::onNextModal([&](QDialog* dialog) {
        EXPECT_EQ(child<QDoubleSpinBox>(dialog, "edLeft")->value(), 2.0);
        QTest::mouseClick(child<QPushButton>(dialog, "btnPrinterSetup"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    click(preview, "tbPrintSetup");
    EXPECT_EQ(list.setup.orientation, QPageLayout::Landscape);
    const QSizeF paper = preview->document()->canvas().paper;
    EXPECT_GT(paper.width(), paper.height());
}

TEST(PrintPreview, StopEndsALayoutInProgressAndKeepsItsPages) {
    ListWindow list;
    bool sawLayout = false;
    QTimer::singleShot(0, [&] {
        TForm_preview* preview = TForm_preview::instance();
        ASSERT_TRUE(preview && preview->isLayingOut());
        sawLayout = true;
        EXPECT_FALSE(enabled(preview, "tbClose"));
        EXPECT_FALSE(enabled(preview, "tbPrint"));
        click(preview, "tbStop");
    });
    TForm_preview* preview = list.print(5000);
    ASSERT_TRUE(sawLayout);
    EXPECT_FALSE(preview->isLayingOut());
    const lists::PrintDocument* document = preview->document();
    EXPECT_FALSE(document->isComplete());
    ASSERT_GT(document->pageCount(), 0);
    EXPECT_LT(document->page(document->pageCount() - 1).lastRecord(), 4999);
    EXPECT_EQ(status(preview), QStringLiteral("页 1 of %1").arg(document->pageCount()));
    EXPECT_FALSE(enabled(preview, "tbStop"));
    EXPECT_FALSE(enabled(preview, "tbPrint")); // an unfinished document is not printed
    EXPECT_TRUE(enabled(preview, "tbClose"));
}
