// The 银行对账单 window as the cashier uses it: a statement file brought in
// through the file dialog, the lines with their count and sums, the date
// checks and Enter chain, and deleting a line only while it is unmatched.

#include "support/DataModuleFixture.h"

#include "journal/BankMatching.h"
#include "journal/ReconciliationCommands.h"
#include "journal/TForm_yhdzd.h"
#include "lists/DataGrid.h"
#include "support/FileContents.h"
#include "lists/GbkText.h"
#include "support/TestData.h"
#include "ui/Choosers.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using testing_support::child;
using testing_support::clickRow;
using testing_support::dataFile;

namespace {

class BankStatementWindow : public DataModuleFixture {
protected:
    std::unique_ptr<journal::TForm_yhdzd> window;

    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->login.closingDate = store::DateTime::fromDate(QDate(2026, 12, 15));
        window = std::make_unique<journal::TForm_yhdzd>(nullptr);
        window->setAccounts(dm->bankAccountNames());
        window->resize(1100, 600);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override {
        window.reset();
        DataModuleFixture::TearDown();
    }
    void chooseAccount() {
        QComboBox* list = window->accountList();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        ASSERT_EQ(list->currentText(), QStringLiteral("工商银行基本户"));
    }
    void click(const char* name) { child<QAbstractButton>(window.get(), name)->click(); }
    QLineEdit* from() { return child<QLineEdit>(window.get(), "DBDateTimeEditEh1"); }
    QLineEdit* to() { return child<QLineEdit>(window.get(), "DBDateTimeEditEh2"); }
    int rows() { return window->grid()->view()->model()->rowCount(); }
    QString cell(int row, int column) { return window->grid()->shownText(row, column); }
    int lines() { return scalar("select count(*) from 银行对账单").toInt(); }
    void importFile(const QString& path) {
        ui::ChooserScript files;
        files.answerOpen(path);
        click("SpeedButton5");
        ASSERT_EQ(files.openRequests().size(), 1);
        EXPECT_TRUE(files.openRequests()[0].filter.contains(QStringLiteral("*.xlsx")));
    }
};

} // namespace

TEST_F(BankStatementWindow, AStatementComesInThroughTheFileDialogOnceAndShowsWithItsSums) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("银行对账单"));
    EXPECT_EQ(from()->text(), QStringLiteral("2026-12-1"));
    EXPECT_EQ(to()->text(), QStringLiteral("2026-12-31"));
    click("SpeedButton5");
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("请先选择开户银行!")});
    messages.clear();

    chooseAccount();
    EXPECT_EQ(rows(), 0);
    importFile(dataFile("statement-bank-sense.xlsx"));
    ASSERT_EQ(messages.texts(),
              QStringList{QStringLiteral("导入完毕：新增 8 行，0 行已经导入过。")});
    EXPECT_EQ(messages.records()[0].icon, ui::MessageIcon::Information);
    EXPECT_EQ(lines(), 8);
    EXPECT_EQ(scalar("select count(*) from 银行对账单 where 操作员 = '出纳甲' and 开户银行 = "
                     "'工商银行基本户'")
                  .toInt(),
              8);
    ASSERT_EQ(rows(), 8);
    EXPECT_EQ(cell(0, 0), QStringLiteral("2026-12-1"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("货款"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("12,000.00"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("3,500.00"));
    EXPECT_EQ(cell(7, 4), QStringLiteral("45,063.21"));
    EXPECT_EQ(window->grid()->footerText(0), QStringLiteral("记录数"));
    EXPECT_EQ(window->grid()->footerText(1), QStringLiteral("8"));
    EXPECT_EQ(window->grid()->footerText(2), QStringLiteral("20,813.27"));
    EXPECT_EQ(window->grid()->footerText(3), QStringLiteral("25,750.06"));

    // The same statement saved as a worksheet of the old kind: nothing new.
    messages.clear();
    importFile(dataFile("statement-bank-sense.xls"));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("导入完毕：新增 0 行，8 行已经导入过。")});
    EXPECT_EQ(lines(), 8);

    // A file with a bad line: the box lists it, nothing goes in.
    const QString bad = db.folder() + QStringLiteral("/bad.csv");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("交易日期,摘要,收入金额,支出金额\n2027-01-04,货款,10,\n2027-01-05,货款,,\n");
    file.close();
    messages.clear();
    importFile(bad);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(messages.texts()[0],
              QStringLiteral("文件 bad.csv 中有 1 行不能导入，没有导入任何记录：\n"
                             "第 3 行：没有金额\n    2027-01-05,货款,,"));
    EXPECT_EQ(lines(), 8);

    // Exported under the account's name, every line with its amounts.
    ui::ChooserScript files;
    files.answerSave({true, db.folder() + QStringLiteral("/out.csv"), 2});
    click("SpeedButton2");
    ASSERT_EQ(files.saveRequests().size(), 1);
    EXPECT_EQ(files.saveRequests()[0].fileName, QStringLiteral("工商银行基本户银行对账单"));
    const QString exported =
        *lists::fromGbk(testing_support::contents(db.folder() + QStringLiteral("/out.csv")));
    EXPECT_TRUE(exported.contains(QStringLiteral("远东电子科技有限公司")))
        << exported.toStdString();
}

TEST_F(BankStatementWindow, DatesAreCheckedAndEnterMovesOnToTheLines) {
    chooseAccount();
    importFile(dataFile("statement-bank-sense.csv"));
    messages.clear();
    from()->setText(QStringLiteral("2026-12-31"));
    to()->setText(QStringLiteral("2026-12-1"));
    click("bitbtn_seek");
    from()->setText(QStringLiteral("26-12-1"));
    click("bitbtn_seek");
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("日期从大于日期到,请重新输入!"),
                                             QStringLiteral("日期输入错误,请重新输入!")}));
    EXPECT_EQ(QApplication::focusWidget(), from());

    window->accountList()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), from());
    from()->setText(QStringLiteral("2026-12-5"));
    QTest::keyClick(from(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), to());
    to()->setText(QStringLiteral("2026-12-8"));
    QTest::keyClick(to(), Qt::Key_Return);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 1), QStringLiteral("货款"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("代发工资"));
}

TEST_F(BankStatementWindow, OnlyAnUnmatchedLineIsDeletedAndOnlyWhenConfirmed) {
    chooseAccount();
    importFile(dataFile("statement-bank-sense.xlsx"));
    // The first line matched with the entry of its payment.
    db.exec(QStringLiteral(
        "insert into 银行日记帐 (日期, 摘要, 属性, 借方, 贷方, 余额, 开户银行) values "
        "(cdate('2026-12-1'), '销售收入', '增加', ccur('12000'), 0, 0, '工商银行基本户')"));
    const qint64 entry = scalar("select max(编号) from 银行日记帐").toLongLong();
    const qint64 first = scalar("select min(编号) from 银行对账单").toLongLong();
    ASSERT_TRUE(journal::BankMatching(db.db(), QStringLiteral("出纳甲"))
                    .match({entry}, {first})
                    .refusal.isEmpty());
    click("bitbtn_seek");
    EXPECT_EQ(cell(0, 7), QStringLiteral("是"));
    EXPECT_EQ(cell(1, 7), QString());
    messages.clear();

    clickRow(window->grid()->view(), 0);
    click("SpeedButton1");
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("这一行已经对账，请先在银行对账中取消对账，再删除！")});
    EXPECT_EQ(lines(), 8);

    messages.clear();
    clickRow(window->grid()->view(), 1);
    click("SpeedButton1"); // answered No
    messages.answerNext(true);
    click("SpeedButton1");
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("要删除当前记录吗? "),
                                             QStringLiteral("要删除当前记录吗? ")}));
    EXPECT_EQ(lines(), 7);
    EXPECT_EQ(scalar("select count(*) from 银行对账单 where 摘要 = '转账支取'").toInt(), 0);
    ASSERT_EQ(rows(), 7);
    EXPECT_EQ(cell(1, 1), QStringLiteral("手续费"));

    // With its entry deleted from the journal the match holds no more, as the
    // matching window shows it: the line reads unmatched and may go.
    db.exec(QStringLiteral("delete from 银行日记帐 where 编号 = %1").arg(entry));
    click("bitbtn_seek");
    EXPECT_EQ(cell(0, 7), QString());
    messages.clear();
    clickRow(window->grid()->view(), 0);
    messages.answerNext(true);
    click("SpeedButton1");
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("要删除当前记录吗? ")});
    EXPECT_EQ(lines(), 6);
}

TEST_F(BankStatementWindow, TheMenuCommandOpensItModalOverTheMainWindow) {
    window.reset();
    QWidget owner;
    bool seen = false;
    testing_support::onNextModal([&](QDialog* dialog) {
        seen = true;
        EXPECT_EQ(dialog->objectName(), QStringLiteral("Form_yhdzd"));
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->parentWidget(), &owner);
        EXPECT_EQ(dialog->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->count(), 1);
        dialog->findChild<QToolButton*>(QStringLiteral("SpeedButton4"))->click();
    });
    journal::openBankStatement(&owner);
    EXPECT_TRUE(seen);
}
