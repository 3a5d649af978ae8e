// The 导入日记帐 window as the cashier uses it: a file picked through the
// file dialog, every row listed with what its check found (the refused ones
// first), 导入 only for a file whose rows all pass, and a workbook brought in
// whole with the balances of its months worked out again.

#include "support/DataModuleFixture.h"

#include "journal/JournalImportWindow.h"
#include "support/FileContents.h"
#include "support/TestData.h"
#include "ui/Choosers.h"

#include "store/DateTime.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using testing_support::child;
using testing_support::dataFile;

namespace {

class JournalImportWindow : public DataModuleFixture {
protected:
    std::unique_ptr<journal::JournalImportWindow> window;

    void open(store::JournalKind kind) {
        window = std::make_unique<journal::JournalImportWindow>(nullptr, kind);
        window->setAccounts(dm->bankAccountNames());
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    void pick(const QString& path) {
        ui::ChooserScript files;
        files.answerOpen(path);
        child<QPushButton>(window.get(), "chooseFile")->click();
        ASSERT_EQ(files.openRequests().size(), 1);
        EXPECT_TRUE(files.openRequests()[0].filter.contains(QStringLiteral("*.xlsx")));
    }
    QString written(const char* name, const QString& text) {
        return testing_support::writtenFile(db.folder(), name, text);
    }
    QTableWidget* preview() { return window->preview(); }
    QPushButton* importButton() { return child<QPushButton>(window.get(), "importButton"); }
    QString summary() { return child<QLabel>(window.get(), "summary")->text(); }
    QString cell(int row, int column) {
        const QTableWidgetItem* item = preview()->item(row, column);
        return item ? item->text() : QString();
    }
    int resultColumn() { return 1; }
    QString result(int row) { return cell(row, resultColumn()); }
    // Whether every row's check result fits its column, uncut.
    void expectResultsWhole() {
        window->resize(500, 400);
        window->show();
        QCoreApplication::processEvents();
        for (int row = 0; row < preview()->rowCount(); ++row)
            EXPECT_GE(preview()->columnWidth(resultColumn()),
                      preview()->fontMetrics().horizontalAdvance(result(row)))
                << "row " << row;
    }
    int entries(const char* table) {
        return db.scalar(QStringLiteral("select count(*) from ") + QString::fromUtf8(table))
            .toInt();
    }
};

double serial(int year, int month, int day) {
    return store::DateTime::fromDate(QDate(year, month, day)).serial();
}

} // namespace

TEST_F(JournalImportWindow, RefusedRowsComeFirstWithTheirReasonsAndNothingCanGoIn) {
    db.exec(QStringLiteral("insert into 开户银行 (项目) values ('建设银行一般户')"));
    open(store::JournalKind::Bank);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("导入银行日记帐"));
    pick(written("bank.csv", QStringLiteral("日期,摘要,借方,贷方,开户银行\n"
                                            "2026-12-1,销售收入,100,,工商银行基本户\n"
                                            "2026-12-2,买彩票,,50,工商银行基本户\n"
                                            "2026-13-1,销售收入,10,,工商银行基本户\n"
                                            "2026-12-3,销售收入,10,,招商银行\n"
                                            "2026-12-4,销售收入,20,,建设银行一般户\n")));

    ASSERT_EQ(preview()->rowCount(), 5);
    EXPECT_EQ(preview()->horizontalHeaderItem(0)->text(), QStringLiteral("行号"));
    EXPECT_EQ(preview()->horizontalHeaderItem(1)->text(), QStringLiteral("检查结果"));
    EXPECT_EQ(preview()->horizontalHeaderItem(3)->text(), QStringLiteral("摘要"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("3"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("买彩票"));
    EXPECT_EQ(result(0), QStringLiteral("摘要“买彩票”不在摘要设置中,请先增加这个摘要"
                                        "(或选中“加入摘要设置中没有的摘要”)!"));
    EXPECT_EQ(result(1), QStringLiteral("日期输入错误,请重新输入!"));
    EXPECT_EQ(result(2), QStringLiteral("开户银行“招商银行”不在开户银行设置中!"));
    EXPECT_EQ(cell(3, 0), QStringLiteral("2"));
    EXPECT_EQ(result(3), QStringLiteral("可以导入"));
    expectResultsWhole();
    EXPECT_EQ(cell(4, 0), QStringLiteral("6"));
    EXPECT_FALSE(importButton()->isEnabled());
    EXPECT_EQ(summary(),
              QStringLiteral("共 5 行，其中 3 行不能导入（列在前面），改好文件后再选择它。"));

    // The choices check the rows again at once.
    child<QCheckBox>(window.get(), "addSummaries")->click();
    ASSERT_EQ(preview()->rowCount(), 5);
    EXPECT_EQ(result(0), QStringLiteral("日期输入错误,请重新输入!"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("2"));
    EXPECT_EQ(result(2), QStringLiteral("可以导入"));
    child<QComboBox>(window.get(), "accounts")->setCurrentText(QStringLiteral("工商银行基本户"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("6"));
    EXPECT_EQ(result(2), QStringLiteral("开户银行“建设银行一般户”与所选的“工商银行基本户”不同!"));
    EXPECT_FALSE(importButton()->isEnabled());

    importButton()->click();
    EXPECT_EQ(entries("银行日记帐"), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from 摘要 where 摘要 = '买彩票'")).toInt(),
              0);
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(JournalImportWindow, AFileWithoutAColumnItNeedsIsTurnedAwayWithTheReason) {
    open(store::JournalKind::Cash);
    pick(written("cash.csv", QStringLiteral("日期,借方,贷方\n2026-12-1,100,\n")));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("缺少“摘要”列，没有导入任何记录！")});
    EXPECT_EQ(preview()->rowCount(), 0);
    EXPECT_FALSE(importButton()->isEnabled());
}

TEST_F(JournalImportWindow, ACleanWorkbookGoesInWholeAndItsMonthsAreBalancedAgain) {
    db.exec(QStringLiteral("insert into 现金日记帐 (日期, 摘要, 属性, 借方, 贷方, 余额) "
                           "values (%1, '销售收入', '增加', 5000000, 0, 0)")
                .arg(serial(2026, 11, 10)));
    open(store::JournalKind::Cash);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("导入现金日记帐"));
    EXPECT_EQ(window->findChild<QComboBox*>(), nullptr);
    pick(dataFile("journal-import-clean.xlsx"));

    ASSERT_EQ(preview()->rowCount(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(result(row), QStringLiteral("可以导入"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("提取现金"));
    EXPECT_EQ(summary(), QStringLiteral("共 4 行，都可以导入。"));
    ASSERT_TRUE(importButton()->isEnabled());

    importButton()->click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral(
                                    "已把 4 条记录导入现金日记帐，重新计算了 2 个月份的余额。")});
    EXPECT_FALSE(importButton()->isEnabled());
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(余额, ' ') from (select 余额 from "
                                       "现金日记帐 order by 日期 + 编号) as entries"))
                  .toString(),
              QStringLiteral("5000000 15000000 13795000 3002500 2122000"));
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(凭证号 || 操作员, ' ') from (select * "
                                       "from 现金日记帐 where 凭证号 is not null order by 日期) as entries"))
                  .toString(),
              QStringLiteral("0101出纳甲 0102出纳甲 0103出纳甲 0104出纳甲"));

    // Pressed again, nothing goes in twice.
    importButton()->click();
    EXPECT_EQ(entries("现金日记帐"), 5);
}
