// The 银行对账 window driven as a cashier drives it: choosing the account,
// the automatic matching, a manual match of one entry with two lines, and
// undoing a match, with what reaches 银行对账.

#include "BankBook.h"

#include "support/DataModuleFixture.h"

#include "journal/ReconciliationCommands.h"
#include "lists/DataGrid.h"
#include "store/Query.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using bank_book::addEntry;
using bank_book::addLine;
using bank_book::march;
using testing_support::child;

namespace {

class BankMatchingWindow : public DataModuleFixture {
protected:
    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->login.closingDate = store::DateTime::fromDate(march(15));
        store::Database& book = dm->ADO_xjrjz.database();
        addEntry(book, march(2), QStringLiteral("0001"), "1000", "");
        addEntry(book, march(5), QStringLiteral("0002"), "", "300");
        addEntry(book, march(25), QStringLiteral("0003"), "1500", "");
        addEntry(book, march(28), QStringLiteral("0004"), "", "200");
        addLine(book, march(3), QStringLiteral("转账收入"), "1000", "");
        addLine(book, march(6), QStringLiteral("支票"), "", "300", QStringLiteral("0002"));
        addLine(book, march(25), QStringLiteral("汇款甲"), "1000", "");
        addLine(book, march(26), QStringLiteral("汇款乙"), "500", "");
        addLine(book, march(30), QStringLiteral("手续费"), "", "15");
    }

    static void click(QDialog* window, const char* name) {
        QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
    }
    static QTableView* view(QDialog* window, const char* grid) {
        return child<lists::DataGrid>(window, grid)->view();
    }
    /// A row's cell as the grid shows it.
    static QString cell(QDialog* window, const char* grid, int row, int column) {
        return child<lists::DataGrid>(window, grid)->shownText(row, column);
    }
    static int rows(QDialog* window, const char* grid) {
        return child<lists::DataGrid>(window, grid)->query()->recordCount();
    }
    /// Selects rows of a grid as a user does: a click, then Ctrl and a click for each further row.
    static void select(QDialog* window, const char* grid, const QList<int>& chosen) {
        QTableView* table = view(window, grid);
        for (int i = 0; i < chosen.size(); ++i) {
            const QPoint at = table->visualRect(table->model()->index(chosen[i], 0)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton,
                              i == 0 ? Qt::NoModifier : Qt::ControlModifier, at);
        }
    }
    qint64 count(const char* sql) { return scalar(sql).toLongLong(); }
};

} // namespace

TEST_F(BankMatchingWindow, AutomaticAndManualMatchesAndUndoingOne) {
    bool ran = false;
    testing_support::onNextModal([&](QDialog* window) {
        ran = true;
        EXPECT_EQ(window->windowTitle(), QStringLiteral("银行对账"));
        EXPECT_EQ(child<QLineEdit>(window, "DBDateTimeEditEh1")->text(),
                  QStringLiteral("2005-3-1"));
        EXPECT_EQ(child<QLineEdit>(window, "DBDateTimeEditEh2")->text(),
                  QStringLiteral("2005-3-31"));
        click(window, "bitbtn_auto");
        EXPECT_EQ(messages.texts(), QStringList({"请先选择开户银行!"}));

        // Choosing the account shows its month.
        auto* account = child<QComboBox>(window, "ComboBox1");
        QTest::keyClick(account, Qt::Key_Down);
        EXPECT_EQ(account->currentText(), bank_book::kAccount);
        EXPECT_EQ(rows(window, "DBGridEh1"), 4);
        EXPECT_EQ(rows(window, "DBGridEh2"), 5);
        EXPECT_EQ(cell(window, "DBGridEh2", 1, 1), QStringLiteral("0002"));

        click(window, "bitbtn_auto");
        EXPECT_EQ(messages.texts().last(), QStringLiteral("自动对账完成，对上 2 对记录！"));
        EXPECT_EQ(rows(window, "DBGridEh1"), 2);
        EXPECT_EQ(rows(window, "DBGridEh2"), 3);
        ASSERT_EQ(rows(window, "DBGridEh3"), 4);
        EXPECT_EQ(QStringList({cell(window, "DBGridEh3", 0, 1), cell(window, "DBGridEh3", 0, 3),
                               cell(window, "DBGridEh3", 1, 1), cell(window, "DBGridEh3", 1, 4),
                               cell(window, "DBGridEh3", 1, 5)}),
                  QStringList({"日记帐", "0001", "对账单", "转账收入", "1,000.00"}));

        // A payment of 200 is not the bank's fee of 15: refused, naming both sums.
        select(window, "DBGridEh1", {1});
        select(window, "DBGridEh2", {2});
        click(window, "bitbtn_match");
        EXPECT_EQ(
            messages.texts().last(),
            QStringLiteral("银行日记帐贷方合计 200.00 与对账单支出合计 15.00 不相等，不能对账！"));
        EXPECT_EQ(count("select count(*) from 银行对账"), 4);

        // The deposit of 1,500 arrived as two transfers.
        select(window, "DBGridEh1", {0});
        select(window, "DBGridEh2", {0, 1});
        EXPECT_EQ(child<QLabel>(window, "Label1")->text(),
                  QStringLiteral("已选 1 条    借方合计 1,500.00    贷方合计 0.00"));
        EXPECT_EQ(child<QLabel>(window, "Label2")->text(),
                  QStringLiteral("已选 2 条    收入合计 1,500.00    支出合计 0.00"));
        const qsizetype shown = messages.texts().size();
        click(window, "bitbtn_match");
        EXPECT_EQ(messages.texts().size(), shown);
        EXPECT_EQ(count("select count(*) from 银行对账 where 组号 = 3 and 操作员 = '出纳甲'"), 3);
        EXPECT_EQ(rows(window, "DBGridEh1"), 1);
        EXPECT_EQ(rows(window, "DBGridEh2"), 1);
        EXPECT_EQ(rows(window, "DBGridEh3"), 7);

        // Undoing the first group, after the question.
        testing_support::clickRow(view(window, "DBGridEh3"), 1);
        messages.answerNext(true);
        click(window, "bitbtn_unmatch");
        EXPECT_EQ(messages.texts().last(), QStringLiteral("确实要取消第 1 组的对账吗? "));
        EXPECT_EQ(count("select count(*) from 银行对账 where 组号 = 1"), 0);
        EXPECT_EQ(count("select count(*) from 银行对账"), 5);
        EXPECT_EQ(rows(window, "DBGridEh1"), 2);
        EXPECT_EQ(cell(window, "DBGridEh1", 0, 1), QStringLiteral("0001"));

        click(window, "bitbtn_close");
    });
    journal::openBankMatching(nullptr);
    EXPECT_TRUE(ran);
}

TEST_F(BankMatchingWindow, TheCriteriaAreCheckedWithTheirMessages) {
    bool ran = false;
    testing_support::onNextModal([&](QDialog* window) {
        ran = true;
        auto* account = child<QComboBox>(window, "ComboBox1");
        auto* from = child<QLineEdit>(window, "DBDateTimeEditEh1");
        auto* to = child<QLineEdit>(window, "DBDateTimeEditEh2");
        QTest::keyClick(account, Qt::Key_Down);
        // Enter walks the fields to the day bound, whose Enter shows the period.
        QTest::keyClick(account, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), from);
        from->setText(QStringLiteral("2005-3-20"));
        QTest::keyClick(from, Qt::Key_Return);
        QTest::keyClick(to, Qt::Key_Return);
        QWidget* days = QApplication::focusWidget();
        ASSERT_EQ(days->objectName(), QStringLiteral("SpinEdit1"));
        QTest::keyClick(days, Qt::Key_Return);
        EXPECT_EQ(rows(window, "DBGridEh1"), 2);
        EXPECT_TRUE(messages.texts().isEmpty());

        to->setText(QStringLiteral("2005-3-1"));
        click(window, "bitbtn_seek");
        from->clear();
        to->clear();
        click(window, "bitbtn_seek");
        from->setText(QStringLiteral("05-3-1"));
        click(window, "bitbtn_auto");
        EXPECT_EQ(messages.texts(),
                  QStringList({"日期从大于日期到,请重新输入!", "日期不能为空,请重新输入!",
                               "日期输入错误,请重新输入!"}));
        EXPECT_EQ(count("select count(*) from 银行对账"), 0);
        click(window, "bitbtn_close");
    });
    journal::openBankMatching(nullptr);
    EXPECT_TRUE(ran);
}
