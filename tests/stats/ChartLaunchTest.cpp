// The chart launch from a month list and the chart window, driven as the
// cashier drives them.

#include "support/DataModuleFixture.h"
#include "support/FileContents.h"
#include "support/FullFileSystem.h"
#include "support/RefusedChanges.h"

#include "lists/PrintDialogs.h"
#include "stats/BarChart.h"
#include "stats/BarChartGeometry.h"
#include "stats/BarChartOutput.h"
#include "stats/ChartLaunch.h"
#include "stats/TForm_dbbar.h"
#include "store/EngineError.h"
#include "store/Statement.h"
#include "ui/Choosers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using store::Currency;
using testing_support::child;
using testing_support::onNextModal;

namespace {

Currency amount(const char* text) {
    return *Currency::parse(QString::fromUtf8(text));
}

struct Bars {
    QStringList labels;
    QList<Currency> values;
    bool operator==(const Bars&) const = default;
};

Bars barsOf(const stats::BarChart* chart) {
    Bars bars;
    for (const stats::BarChartBar& bar : chart->data().bars) {
        bars.labels << bar.label;
        bars.values << bar.value;
    }
    return bars;
}

class ChartLaunch : public DataModuleFixture {
protected:
    QWidget monthWindow;
    QTemporaryDir files;

    /// The program's own connection: on a server book 通用 and 图形显示 belong to it alone.
    store::Database& program() { return dm->ADO_xjrjz.database(); }

    /// Months as the month fill leaves them in 通用, then the list reopened in `order`.
    void listMonths(const QList<std::pair<const char*, const char*>>& months,
                    const QString& order = QStringLiteral(" order by 月份")) {
        for (const auto& [month, income] : months)
            program().exec(QStringLiteral(
                        "insert into 通用 (年度, 月份, 收入差价) values ('2005', '%1', ccur('%2'))")
                        .arg(QString::fromUtf8(month), QString::fromUtf8(income)));
        dm->q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用"), order});
    }

    /// Presses "图形显示": `action` runs inside the chart window, which is closed
    /// afterwards by "退出" if the action left it open.
    void launch(const std::function<void(stats::TForm_dbbar*)>& action) {
        bool shown = false;
        onNextModal([&](QDialog* dialog) {
            shown = true;
            auto* window = qobject_cast<stats::TForm_dbbar*>(dialog);
            ASSERT_NE(window, nullptr);
            // The offscreen screen is small; a size like a desktop's.
            window->showNormal();
            window->resize(1000, 600);
            QApplication::processEvents();
            action(window);
            if (window->isVisible())
                QTest::mouseClick(child<QToolButton>(window, "SpeedButton3"), Qt::LeftButton);
        });
        stats::launchChart(&monthWindow, stats::cashChartTitle);
        EXPECT_TRUE(shown);
    }

    /// Should a window open before events are next processed, it is closed and noted.
    static void rejectAnyWindow(bool& opened) {
        QTimer::singleShot(0, [&opened] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                dialog->reject();
            }
        });
    }

    QStringList chartTableRows() {
        QStringList rows;
        store::Query q(&dm->ADO_xjrjz);
        q.openWith({QStringLiteral("select sl1, je1 from 图形显示 order by rowid")});
        for (q.first(); !q.eof(); q.next())
            rows << q.fieldByName(QStringLiteral("sl1")).asString() + QLatin1Char('=') +
                        q.fieldByName(QStringLiteral("je1")).asCurrency().toString();
        return rows;
    }
    int chartTableCount() { return programCount("图形显示"); }
    int programCount(const char* table) {
        store::Statement count(program(), QStringLiteral("select count(*) from ") +
                                              QString::fromUtf8(table));
        count.step();
        return int(count.int64(0));
    }

    /// A point of the chart widget on bar `index`, in the middle of its front.
    static QPoint onBar(stats::BarChart* chart, int index) {
        const stats::BarChartGeometry& g = chart->chartGeometry();
        return g.view().map(g.bars().at(index).body.center()).toPoint();
    }
};

TEST_F(ChartLaunch, BarsFollowTheListsOrderAndTheTableIsEmptiedAfterwards) {
    listMonths({{"01月", "100.5"}, {"02月", "-40"}, {"03月", "2500"}},
               QStringLiteral(" ORDER BY 月份 DESC "));
    QPointer<stats::TForm_dbbar> chartWindow;

    launch([&](stats::TForm_dbbar* window) {
        chartWindow = window;
        EXPECT_EQ(window->parent(), &monthWindow);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("显示统计分析图形"));
        EXPECT_EQ(window->chart()->data().title, QStringLiteral("现金日记帐统计(月份)"));
        // 图形显示 holds the rows, in the order the list shows them, while the window is open.
        EXPECT_EQ(chartTableRows(),
                  QStringList({QStringLiteral("03月=2500"), QStringLiteral("02月=-40"),
                               QStringLiteral("01月=100.5")}));
        const Bars expected{
            {QStringLiteral("03月"), QStringLiteral("02月"), QStringLiteral("01月")},
            {amount("2500"), amount("-40"), amount("100.5")}};
        EXPECT_EQ(barsOf(window->chart()), expected);
        // The list is back on its first row, its views live again, its rows untouched.
        EXPECT_EQ(dm->q_tongyong.currentIndex(), 0);
        EXPECT_FALSE(dm->q_tongyong.controlsDisabled());
        EXPECT_EQ(dm->q_tongyong.recordCount(), 3);
    });

    EXPECT_TRUE(chartWindow.isNull()) << "the chart window is destroyed when it closes";
    EXPECT_EQ(chartTableCount(), 0);
    EXPECT_EQ(programCount("通用"), 3);
    EXPECT_FALSE(dm->q_change.isOpen());
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ChartLaunch, TwiceInARowShowsTheSameBars) {
    listMonths({{"05月", "300"}, {"07月", "-12.34"}});
    Bars first, second;
    launch([&](stats::TForm_dbbar* window) { first = barsOf(window->chart()); });
    launch([&](stats::TForm_dbbar* window) {
        second = barsOf(window->chart());
        EXPECT_EQ(chartTableCount(), 2);
    });
    EXPECT_EQ(first.labels, QStringList({QStringLiteral("05月"), QStringLiteral("07月")}));
    EXPECT_EQ(first, second);
    EXPECT_EQ(chartTableCount(), 0);
}

TEST_F(ChartLaunch, RowsLeftByACrashNeverBecomeBars) {
    // A chart window that was open when the program died leaves its rows behind.
    program().exec(QStringLiteral("insert into 图形显示 (sl1, je1) values ('旧行', 500000000)"));
    listMonths({{"01月", "10"}, {"02月", "-3"}});

    launch([&](stats::TForm_dbbar* window) {
        EXPECT_EQ(chartTableRows(),
                  QStringList({QStringLiteral("01月=10"), QStringLiteral("02月=-3")}));
        EXPECT_EQ(barsOf(window->chart()).labels,
                  QStringList({QStringLiteral("01月"), QStringLiteral("02月")}));
    });
    EXPECT_EQ(chartTableCount(), 0);
}

TEST_F(ChartLaunch, NothingToShowWarnsAndLeavesTheTableAlone) {
    // A row left over from elsewhere shows whether the table was touched.
    program().exec(QStringLiteral("insert into 图形显示 (sl1, je1) values ('旧', 10000)"));
    bool windowOpened = false;

    rejectAnyWindow(windowOpened);
    dm->q_tongyong.close();
    stats::launchChart(&monthWindow, stats::cashChartTitle);
    QTest::qWait(20);

    listMonths({});
    rejectAnyWindow(windowOpened);
    stats::launchChart(&monthWindow, stats::bankChartTitle);
    QTest::qWait(20);

    ASSERT_EQ(messages.records().size(), 2);
    for (const ui::MessageRecord& r : messages.records()) {
        EXPECT_EQ(r.title, QStringLiteral("提示"));
        EXPECT_EQ(r.text, QStringLiteral("没有可以显示的数据!"));
        EXPECT_EQ(r.icon, ui::MessageIcon::Warning);
    }
    EXPECT_FALSE(windowOpened);
    EXPECT_EQ(chartTableRows(), QStringList({QStringLiteral("旧=1")}));
    EXPECT_TRUE(monthWindow.findChildren<stats::TForm_dbbar*>().isEmpty());
}

TEST_F(ChartLaunch, AFillThatFailsHalfWayStoresNothing) {
    listMonths({{"01月", "1"}, {"02月", "2"}, {"03月", "3"}});
    testing_support::refuseChanges(program(), QStringLiteral("insert"), QStringLiteral("图形显示"),
                  QStringLiteral("(select count(*) from 图形显示) >= 2"),
                  QStringLiteral("database or disk is full"));
    bool windowOpened = false;
    rejectAnyWindow(windowOpened);
    dm->q_tongyong.next();

    EXPECT_THROW(stats::launchChart(&monthWindow, stats::cashChartTitle), store::EngineError);

    QTest::qWait(20);
    EXPECT_FALSE(windowOpened);
    EXPECT_EQ(chartTableCount(), 0) << "the rows appended before the failure are rolled back";
    EXPECT_FALSE(dm->q_tongyong.controlsDisabled());
    EXPECT_EQ(dm->q_tongyong.currentIndex(), 0);
    EXPECT_TRUE(monthWindow.findChildren<stats::TForm_dbbar*>().isEmpty());
}

TEST_F(ChartLaunch, ToolRowAsTheWindowOpens) {
    listMonths({{"01月", "1"}});
    launch([&](stats::TForm_dbbar* window) {
        auto* shapes = child<QComboBox>(window, "ComboBox1");
        EXPECT_FALSE(shapes->isEditable());
        EXPECT_EQ(shapes->currentIndex(), -1);
        QStringList items;
        for (int i = 0; i < shapes->count(); ++i)
            items << shapes->itemText(i);
        EXPECT_EQ(items, QStringList({QStringLiteral("矩形"), QStringLiteral("正三角型"),
                                      QStringLiteral("倒三角形"), QStringLiteral("圆柱型"),
                                      QStringLiteral("椭圆型"), QStringLiteral("箭头")}));
        auto* view = child<QCheckBox>(window, "CheckBox1");
        EXPECT_EQ(view->text(), QStringLiteral("立体图形"));
        EXPECT_TRUE(view->isChecked());
        EXPECT_EQ(view->layoutDirection(), Qt::RightToLeft);
        EXPECT_EQ(child<QToolButton>(window, "SpeedButton1")->text(), QStringLiteral("保存"));
        EXPECT_EQ(child<QToolButton>(window, "SpeedButton2")->text(), QStringLiteral("打印"));
        EXPECT_EQ(child<QToolButton>(window, "SpeedButton3")->text(), QStringLiteral("退出"));
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                  QStringLiteral("显示样式："));
        auto* chart = child<stats::BarChart>(window, "DBChart1");
        EXPECT_EQ(chart->y() + chart->height(), window->height());
        EXPECT_EQ(chart->y(), 45);

        QTest::mouseClick(child<QToolButton>(window, "SpeedButton3"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
}

TEST_F(ChartLaunch, ShapeAndViewFollowTheToolRow) {
    listMonths({{"01月", "10"}, {"02月", "20"}});
    launch([&](stats::TForm_dbbar* window) {
        auto* chart = window->chart();
        auto* shapes = child<QComboBox>(window, "ComboBox1");
        EXPECT_EQ(chart->data().shape, stats::BarShape::Rectangle);
        shapes->setFocus();
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(shapes, Qt::Key_Down);
            EXPECT_EQ(int(chart->data().shape), i);
        }
        EXPECT_EQ(chart->data().shape, stats::BarShape::Arrow);

        QTest::keyClick(shapes, Qt::Key_Home);
        auto* view = child<QCheckBox>(window, "CheckBox1");
        // A block in depth shows its front, top and side; flat, its front only.
        EXPECT_EQ(chart->chartGeometry().bars().at(0).faces.size(), 3);
        view->click();
        EXPECT_FALSE(chart->data().threeDimensional);
        EXPECT_TRUE(chart->chartGeometry().leftWall().isEmpty());
        EXPECT_EQ(chart->chartGeometry().bars().at(0).faces.size(), 1);
        view->click();
        EXPECT_TRUE(chart->chartGeometry().threeDimensional());
    });
}

TEST_F(ChartLaunch, ClickingABarRecoloursThatBarOnly) {
    listMonths({{"01月", "10"}, {"02月", "-20"}, {"03月", "30"}});
    ui::ChooserScript chooser;
    launch([&](stats::TForm_dbbar* window) {
        auto* chart = window->chart();
        const QColor before0 = chart->data().bars[0].color;
        const QColor before1 = chart->data().bars[1].color;
        const QColor before2 = chart->data().bars[2].color;
        EXPECT_NE(before0, before1);
        EXPECT_NE(before1, before2);

        chooser.answerColor(QColor(1, 2, 3));
        QTest::mouseClick(chart, Qt::RightButton, Qt::NoModifier, onBar(chart, 1));
        ASSERT_EQ(chooser.colorRequests().size(), 1);
        EXPECT_EQ(chooser.colorRequests()[0], before1);
        EXPECT_EQ(chart->data().bars[0].color, before0);
        EXPECT_EQ(chart->data().bars[1].color, QColor(1, 2, 3));
        EXPECT_EQ(chart->data().bars[2].color, before2);

        chooser.answerColor(std::nullopt);
        QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, onBar(chart, 1));
        EXPECT_EQ(chart->data().bars[1].color, QColor(1, 2, 3)) << "Cancel keeps the colour";

        // Beside the bars nothing happens.
        QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier, QPoint(3, chart->height() - 3));
        EXPECT_EQ(chooser.colorRequests().size(), 2);

        // The recoloured bar keeps its colour through a change of shape.
        child<QComboBox>(window, "ComboBox1")->setCurrentIndex(3);
        EXPECT_EQ(chart->data().bars[1].color, QColor(1, 2, 3));

        QTest::mouseMove(chart, onBar(chart, 2));
        EXPECT_EQ(chart->cursor().shape(), Qt::UpArrowCursor);
        QTest::mouseMove(chart, QPoint(3, chart->height() - 3));
        EXPECT_NE(chart->cursor().shape(), Qt::UpArrowCursor);
    });
}

TEST_F(ChartLaunch, SaveWritesABitmapOfTheChartAsShown) {
    listMonths({{"01月", "10"}, {"02月", "-20"}});
    ui::ChooserScript chooser;
    const QString path = files.filePath(QStringLiteral("图表.bmp"));
    launch([&](stats::TForm_dbbar* window) {
        chooser.answerSave(ui::SaveFileAnswer{false, {}, 1});
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton1"), Qt::LeftButton);
        EXPECT_FALSE(QFile::exists(path));

        chooser.answerSave(path);
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton1"), Qt::LeftButton);
        ASSERT_EQ(chooser.saveRequests().size(), 2);
        const ui::SaveFileRequest& request = chooser.saveRequests()[1];
        EXPECT_EQ(request.title, QStringLiteral("保存到BMP文件中"));
        EXPECT_EQ(request.filter, QStringLiteral("Bitmap Files|*.bmp"));
        EXPECT_EQ(request.defaultExtension, QStringLiteral("BMP"));
        EXPECT_EQ(request.fileName, QStringLiteral("TEE0.BMP"));
        EXPECT_TRUE(request.confirmOverwrite);

        EXPECT_EQ(QImageReader(path).format(), QByteArray("bmp"));
        const QImage saved(path);
        ASSERT_FALSE(saved.isNull());
        EXPECT_EQ(saved.size(), window->chart()->size());
        // The background, and a bar in its own colour.
        EXPECT_EQ(saved.pixelColor(2, saved.height() - 2), QColor(128, 255, 128));
        const QPoint bar = onBar(window->chart(), 0);
        EXPECT_EQ(saved.pixelColor(bar), window->chart()->data().bars[0].color);

        // A file that cannot be written: the error box names it and says why, in Chinese
        // (the box ends its text with ".").
        const QString nowhere = files.filePath(QStringLiteral("没有的目录/图表.bmp"));
        chooser.answerSave(nowhere);
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton1"), Qt::LeftButton);
        ASSERT_EQ(messages.records().size(), 1);
        EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Critical);
        EXPECT_EQ(messages.records()[0].text,
                  QStringLiteral("不能保存文件 %1：文件或文件夹不存在.").arg(nowhere));
    });
}

TEST_F(ChartLaunch, PrintPutsTheChartOnOneLandscapePage) {
    listMonths({{"01月", "10"}, {"02月", "-20"}});
    lists::PrintDialogScript printers;
    const QString pdf = files.filePath(QStringLiteral("chart.pdf"));
    launch([&](stats::TForm_dbbar* window) {
        printers.answerPrint(std::nullopt);
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton2"), Qt::LeftButton);
        EXPECT_FALSE(QFile::exists(pdf));

        printers.answerPrint(lists::PrintDialogScript::PrintAnswer{{1, 1}, pdf});
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton2"), Qt::LeftButton);
        EXPECT_TRUE(messages.records().isEmpty());
    });
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
            .match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()) << "landscape";
}

TEST_F(ChartLaunch, WithoutAPrinterThePageGoesToAFileTheUserNames) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    listMonths({{"01月", "10"}});
    ui::ChooserScript chooser;
    const QString pdf = files.filePath(QStringLiteral("打印.pdf"));
    launch([&](stats::TForm_dbbar* window) {
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton2"), Qt::LeftButton); // cancelled
        chooser.answerSave(pdf);
        QTest::mouseClick(child<QToolButton>(window, "SpeedButton2"), Qt::LeftButton);
    });
    ASSERT_EQ(chooser.saveRequests().size(), 2);
    EXPECT_EQ(chooser.saveRequests()[1].filter, QStringLiteral("PDF 文件|*.pdf"));
    EXPECT_EQ(chooser.saveRequests()[1].defaultExtension, QStringLiteral("PDF"));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    EXPECT_TRUE(messages.records().isEmpty());
}

TEST_F(ChartLaunch, PrintingToAFileOnAFullDiskKeepsThePreviousOneAndTellsWhy) {
    const QByteArray previous = "%PDF-1.4 last year's chart\n%%EOF\n";
    testing_support::FullFileSystem disk(QStringLiteral("chart.pdf"), previous);
    if (!disk.ready())
        GTEST_SKIP() << "no tmpfs can be mounted here";
    stats::BarChartData data;
    data.bars = {{QStringLiteral("01月"), amount("5"), Qt::red}};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(disk.filePath(QStringLiteral("chart.pdf")));
    QString fileError;
    EXPECT_FALSE(stats::printBarChart(data, QSize(800, 500), printer, &fileError));
    EXPECT_EQ(fileError, QStringLiteral("磁盘空间不足"));
    EXPECT_EQ(testing_support::contents(printer.outputFileName()), previous);
    EXPECT_EQ(disk.files(), QStringList{QStringLiteral("chart.pdf")})
        << "no temporary file is left";
}

TEST_F(ChartLaunch, PrintingPutsTheOrientationBack) {
    stats::BarChartData data;
    data.bars = {{QStringLiteral("01月"), amount("5"), Qt::red}};

    QPrinter good;
    good.setOutputFormat(QPrinter::PdfFormat);
    good.setOutputFileName(files.filePath(QStringLiteral("ok.pdf")));
    good.setPageOrientation(QPageLayout::Portrait);
    EXPECT_TRUE(stats::printBarChart(data, QSize(800, 500), good));
    EXPECT_EQ(good.pageLayout().orientation(), QPageLayout::Portrait);

    QPrinter failing;
    failing.setOutputFormat(QPrinter::PdfFormat);
    failing.setOutputFileName(files.filePath(QStringLiteral("没有的目录/x.pdf")));
    failing.setPageOrientation(QPageLayout::Portrait);
    EXPECT_FALSE(stats::printBarChart(data, QSize(800, 500), failing));
    EXPECT_EQ(failing.pageLayout().orientation(), QPageLayout::Portrait);
}

} // namespace
