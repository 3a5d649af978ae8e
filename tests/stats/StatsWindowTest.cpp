#include "support/DataModuleFixture.h"

#include "lists/DataGrid.h"
#include "lists/PrintSetup.h"
#include "lists/TForm_preview.h"
#include "stats/StatsWindow.h"
#include "stats/VoucherStatsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using testing_support::child;
using testing_support::focusedWidget;
using testing_support::onNextModal;

namespace {

class StatsWindows : public DataModuleFixture {
protected:
    void SetUp() override {
        DataModuleFixture::SetUp();
        db.exec(QStringLiteral("insert into 开户银行 (项目) values ('农行')"));
        db.exec(QStringLiteral("insert into 银行日记帐 (日期, 摘要, 借方, 凭证号, 开户银行) values "
                               "(cdate('2005-3-1'), '销售收入', ccur('10'), '8', '农行'),"
                               "(cdate('2005-3-2'), '销售收入', ccur('20'), '8', '工商银行基本户'),"
                               "(cdate('2005-4-2'), '销售收入', ccur('5'), '9', '农行')"));
        // An empty scratch table, as the main window's commands open these windows (the
        // commands themselves are driven from the menu and the tool bar in the shell's tests).
        db.exec(QStringLiteral("insert into 通用 (摘要) values ('上次的')"));
        dm->q_tongyong.execWith({QStringLiteral("delete from 通用")});
        dm->q_tongyong.openWith({QStringLiteral("select * from "), QStringLiteral("通用")});
    }
    template <typename Window>
    std::unique_ptr<Window> open() {
        auto window = std::make_unique<Window>(nullptr);
        window->show();
        QApplication::setActiveWindow(window.get());
        return window;
    }
    static void typeInto(QWidget* field, const char* text) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->clear();
            QTest::keyClicks(line, QString::fromUtf8(text));
        } else if (auto* box = qobject_cast<QComboBox*>(field)) {
            box->setEditText(QString::fromUtf8(text));
        }
    }
};

} // namespace

TEST_F(StatsWindows, SummaryDialogChecksThenFillsAndNamesTheBank) {
    auto window = open<stats::TForm_yhsytj>();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("银行帐统计(按摘要)"));
    EXPECT_EQ(window->grid()->columns()[3].titleText(), QStringLiteral("现金增加(借方)"));
    onNextModal([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("统计"));
        auto* run = child<QPushButton>(dialog, "bitbtn_seek");
        run->click();
        EXPECT_EQ(focusedWidget(), child<QWidget>(dialog, "DBDateTimeEditEh1"));
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh2"), "2005-3-1");
        run->click();
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh1"), "2005-3-5");
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh2"), "2005-3-4");
        run->click();
        EXPECT_TRUE(dialog->isVisible());
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh1"), "2005-3-1");
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh2"), "2005-3-31");
        // Enter in the to-date moves to the bank; Enter there runs the statistic.
        QTest::keyClick(child<QWidget>(dialog, "DBDateTimeEditEh2"), Qt::Key_Return);
        auto* bank = child<QComboBox>(dialog, "DBComboBoxEh2");
        EXPECT_EQ(bank->currentText(), QString());
        EXPECT_EQ(bank->count(), 2);
        bank->setEditText(QStringLiteral("农行"));
        QTest::keyClick(bank, Qt::Key_Return);
    });
    child<QToolButton>(window.get(), "SpeedButton5")->click();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("日期不能为空,请重新输入!"),
                                             QStringLiteral("日期输入错误,请重新输入!"),
                                             QStringLiteral("日期从大于日期到,请重新输入!")}));
    EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QStringLiteral("开户银行：农行"));
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("10.00"));
    EXPECT_EQ(window->grid()->footerText(1), QStringLiteral("1"));

    onNextModal([](QDialog* dialog) {
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh1"), "2005-3-1");
        typeInto(child<QWidget>(dialog, "DBDateTimeEditEh2"), "2005-3-31");
        child<QPushButton>(dialog, "bitbtn_seek")->click();
    });
    child<QToolButton>(window.get(), "SpeedButton5")->click();
    EXPECT_EQ(child<QLabel>(window.get(), "Label1")->text(), QString());
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("30.00"));
}

TEST_F(StatsWindows, MonthDialogChecksTheYear) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 贷方) values (cdate('2005-6-30'), 'x', ccur('4'))"));
    auto window = open<stats::TForm_xjsytj_yf>();
    onNextModal([](QDialog* dialog) {
        auto* year = child<QComboBox>(dialog, "DBComboBoxEh1");
        EXPECT_EQ(year->currentText(), QString());
        EXPECT_EQ(year->itemText(2), QStringLiteral("2005年"));
        QTest::keyClick(year, Qt::Key_Return);
        year->setEditText(QStringLiteral("abcd"));
        QTest::keyClick(year, Qt::Key_Return);
        year->setCurrentIndex(2);
        QTest::keyClick(year, Qt::Key_Return);
    });
    child<QToolButton>(window.get(), "SpeedButton5")->click();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("没有输入统计年度,请重新输入!"),
                                             QStringLiteral("统计年度输入不正确,请重新输入!")}));
    EXPECT_EQ(dm->q_tongyong.recordCount(), 1);
    EXPECT_EQ(window->grid()->footerText(4), QStringLiteral("-4.00"));
    // The month title re-sorts; nothing can be hidden below six columns.
    child<QToolButton>(window.get(), "ToolButton2")->click();
    EXPECT_EQ(window->grid()->visibleColumnCount(), 6);
}

TEST_F(StatsWindows, CriteriaDialogsAreTheirStatisticsOwnWindows) {
    QStringList classes;
    auto record = [&classes](QDialog* dialog) {
        classes << QString::fromLatin1(dialog->metaObject()->className());
        child<QPushButton>(dialog, "bitbtn_close")->click();
    };
    auto runFrom = [&record](lists::ListWindow* window) {
        onNextModal(record);
        child<QToolButton>(window, "SpeedButton5")->click();
    };
    runFrom(open<stats::TForm_xjsytj>().get());
    runFrom(open<stats::TForm_yhsytj>().get());
    runFrom(open<stats::TForm_xjsytj_yf>().get());
    runFrom(open<stats::TForm_yhsytj_yf>().get());
    EXPECT_EQ(classes, QStringList({"stats::TForm_xjsytj_tj", "stats::TForm_yhsytj_tj",
                                    "stats::TForm_xjsytj_yf_tj", "stats::TForm_yhsytj_yf_tj"}));
}

TEST_F(StatsWindows, YearListRunsOnToTheClosingDatesYear) {
    auto yearsOffered = [this] {
        QStringList years;
        auto window = open<stats::TForm_xjsytj_yf>();
        onNextModal([&years](QDialog* dialog) {
            auto* year = child<QComboBox>(dialog, "DBComboBoxEh1");
            for (int i = 0; i < year->count(); ++i)
                years << year->itemText(i);
            child<QPushButton>(dialog, "bitbtn_close")->click();
        });
        child<QToolButton>(window.get(), "SpeedButton5")->click();
        return years;
    };
    dm->login.closingDate = store::DateTime::fromDate(QDate(2005, 3, 15));
    EXPECT_EQ(yearsOffered(),
              QStringList({"2003年", "2004年", "2005年", "2006年", "2007年", "2008年"}));
    dm->login.closingDate = store::DateTime::fromDate(QDate(2026, 1, 31));
    const QStringList years = yearsOffered();
    ASSERT_EQ(years.size(), 24);
    EXPECT_EQ(years.first(), QStringLiteral("2003年"));
    EXPECT_EQ(years[5], QStringLiteral("2008年"));
    EXPECT_EQ(years[6], QStringLiteral("2009年"));
    EXPECT_EQ(years.last(), QStringLiteral("2026年"));
}

TEST_F(StatsWindows, MonthRowsKeepTheYearAsTypedAndAFillClearsTheSortMark) {
    db.exec(
        QStringLiteral("insert into 现金日记帐 (日期, 摘要, 借方) values "
                       "(cdate('2005-3-1'), 'x', ccur('4')), (cdate('2005-7-1'), 'y', ccur('6'))"));
    auto window = open<stats::TForm_xjsytj_yf>();
    auto runFor = [&window](const char* typed) {
        onNextModal([typed](QDialog* dialog) {
            auto* year = child<QComboBox>(dialog, "DBComboBoxEh1");
            year->setEditText(QString::fromUtf8(typed));
            QTest::keyClick(year, Qt::Key_Return);
        });
        child<QToolButton>(window.get(), "SpeedButton5")->click();
    };
    db.exec(QStringLiteral(
        "insert into 现金日记帐 (日期, 摘要, 借方) values (cdate('999-5-1'), 'z', ccur('1'))"));
    runFor("0999年");
    ASSERT_EQ(dm->q_tongyong.recordCount(), 1);
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("年度")).asString(),
              QStringLiteral("0999"));
    runFor(" 2005年 ");
    ASSERT_EQ(dm->q_tongyong.recordCount(), 2);
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("年度")).asString(),
              QStringLiteral("2005"));

    lists::DataGrid* grid = window->grid();
    const int month = grid->indexOfField(QStringLiteral("月份"));
    QHeaderView* header = grid->view()->horizontalHeader();
    auto clickMonthTitle = [header, month] {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(month) + 5, header->height() / 2));
    };
    clickMonthTitle();
    clickMonthTitle();
    EXPECT_EQ(dm->q_tongyong.sql().last(), QStringLiteral(" ORDER BY 月份 DESC "));
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("月份")).asString(),
              QStringLiteral("07月"));
    runFor("2005");
    EXPECT_EQ(grid->markers().marker(month), lists::SortMarker::None);
    EXPECT_FALSE(grid->view()
                     ->model()
                     ->headerData(month, Qt::Horizontal)
                     .toString()
                     .contains(QStringLiteral("▼")));
    EXPECT_EQ(dm->q_tongyong.sql().last(), QStringLiteral(" order by 月份"));
    EXPECT_EQ(dm->q_tongyong.fieldByName(QStringLiteral("月份")).asString(),
              QStringLiteral("03月"));
}

TEST_F(StatsWindows, AnEmptyGridsFooterKeepsItsColumnsAlignment) {
    auto window = open<stats::TForm_xjsytj_yf>();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    lists::DataGrid* grid = window->grid();
    ASSERT_EQ(dm->q_tongyong.recordCount(), 0);
    const int debit = grid->indexOfField(QStringLiteral("现金增加"));
    ASSERT_EQ(grid->footerText(debit), QStringLiteral("0.00"));
    // Where the sum is drawn in its cell: numbers stand at the right edge.
    auto* footer = child<QWidget>(grid, "DBGridEh1Footer");
    const QImage image = footer->grab().toImage();
    QTableView* view = grid->view();
    const int left = view->frameWidth() + view->verticalHeader()->width() +
                     view->horizontalHeader()->sectionViewportPosition(debit);
    const int width = view->horizontalHeader()->sectionSize(debit);
    int firstInk = -1;
    for (int x = left + 2; x < left + width - 2 && firstInk < 0; ++x) {
        for (int y = 2; y < image.height() - 1; ++y) {
            if (qGray(image.pixel(x, y)) < 100) {
                firstInk = x - left;
                break;
            }
        }
    }
    ASSERT_GE(firstInk, 0);
    EXPECT_GT(firstInk, width / 2);
}

TEST_F(StatsWindows, VoucherWindowChecksDatesFirstAndKeepsAPrintHeader) {
    auto window = open<stats::TForm_statistics_voucher_yh>();
    window->setBankAccounts(dm->bankAccountNames());
    auto* run = child<QToolButton>(window.get(), "SpeedButton5");
    run->click();
    typeInto(child<QWidget>(window.get(), "DBDateTimeEditEh1"), "2005-3-1");
    typeInto(child<QWidget>(window.get(), "DBDateTimeEditEh2"), "2005-4-30");
    typeInto(child<QWidget>(window.get(), "Edit1"), "   ");
    run->click();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("日期不能为空,请重新输入!"),
                                             QStringLiteral("凭证号不能为空,请重新输入!")}));
    EXPECT_EQ(focusedWidget(), child<QWidget>(window.get(), "Edit1"));
    typeInto(child<QWidget>(window.get(), "Edit1"), " 8 ");
    typeInto(child<QWidget>(window.get(), "Edit2"), "V8");
    QTest::keyClick(child<QWidget>(window.get(), "Edit2"), Qt::Key_Return); // Enter runs it
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("30.00"));
    child<QComboBox>(window.get(), "DBComboBoxEh2")->setEditText(QStringLiteral("农行"));
    run->click();
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("10.00"));

    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_EQ(window->printSetup().headerCentre, QStringList({QStringLiteral("V8")}));
    child<QLineEdit>(window.get(), "Edit2")->setText(QStringLiteral("   "));
    child<QToolButton>(window.get(), "SpeedButton3")->click();
    EXPECT_EQ(window->printSetup().headerCentre, QStringList({QStringLiteral("V8")}));
    if (lists::TForm_preview* preview = lists::TForm_preview::instance())
        preview->close();
}

TEST_F(StatsWindows, ADateWithATimeOrATwoDigitYearIsRefusedInBothCriteria) {
    const std::pair<const char*, const char*> refused[] = {{"2005-3-1 10:00", "2005-3-31"},
                                                           {"2005-3-1", "2005-3-31 0:0:0"},
                                                           {"5-3-1", "2005-3-31"},
                                                           {"2005-3-1", "05-3-31"}};
    auto summaries = open<stats::TForm_yhsytj>();
    onNextModal([&](QDialog* dialog) {
        for (const auto& [from, to] : refused) {
            typeInto(child<QWidget>(dialog, "DBDateTimeEditEh1"), from);
            typeInto(child<QWidget>(dialog, "DBDateTimeEditEh2"), to);
            child<QPushButton>(dialog, "bitbtn_seek")->click();
            EXPECT_EQ(focusedWidget(), child<QWidget>(dialog, "DBDateTimeEditEh1"))
                << from << " / " << to;
        }
        EXPECT_TRUE(dialog->isVisible());
        child<QPushButton>(dialog, "bitbtn_close")->click();
    });
    child<QToolButton>(summaries.get(), "SpeedButton5")->click();
    summaries.reset();

    auto vouchers = open<stats::TForm_statistics_voucher>();
    typeInto(child<QWidget>(vouchers.get(), "Edit1"), "8");
    for (const auto& [from, to] : refused) {
        typeInto(child<QWidget>(vouchers.get(), "DBDateTimeEditEh1"), from);
        typeInto(child<QWidget>(vouchers.get(), "DBDateTimeEditEh2"), to);
        child<QToolButton>(vouchers.get(), "SpeedButton5")->click();
        EXPECT_EQ(focusedWidget(), child<QWidget>(vouchers.get(), "DBDateTimeEditEh1"))
            << from << " / " << to;
    }
    EXPECT_EQ(messages.texts(), QStringList(8, QStringLiteral("日期输入错误,请重新输入!")));
    EXPECT_EQ(dm->q_tongyong.recordCount(), 0);
}
