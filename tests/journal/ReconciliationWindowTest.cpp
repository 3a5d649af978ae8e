// The 余额调节表 window as the menu opens it: the statement of the month
// being kept shown at once, another month chosen, 打印 and 导出.

#include "support/DataModuleFixture.h"
#include "support/ReconciliationMonth.h"

#include "journal/ReconciliationCommands.h"
#include "lists/GbkText.h"
#include "lists/TForm_preview.h"
#include "ui/Choosers.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using testing_support::child;
using testing_support::onNextModal;

class ReconciliationWindow : public DataModuleFixture {
protected:
    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->login.closingDate = store::DateTime::fromDate(QDate(2024, 3, 20));
        testing_support::addReconciliationMonth(db.db());
    }

    /// Opens the window from the menu command and runs `act` on it.
    void open(const std::function<void(QDialog*)>& act) {
        bool acted = false;
        onNextModal([&](QDialog* window) {
            act(window);
            acted = true;
            child<QToolButton>(window, "SpeedButton4")->click();
        });
        journal::openReconciliation(nullptr);
        EXPECT_TRUE(acted);
    }

    static QString cell(QDialog* window, int row, int column) {
        const QTableWidgetItem* item = child<QTableWidget>(window, "DBGridEh1")->item(row, column);
        return item ? item->text() : QString();
    }
    static QString verdict(QDialog* window) { return child<QLabel>(window, "Label1")->text(); }
};

TEST_F(ReconciliationWindow, ShowsTheClosingMonthAndAnotherMonthChosenWithEnter) {
    open([&](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("余额调节表"));
        EXPECT_TRUE(window->isModal());
        // The book's one account is chosen, and its statement of March is shown.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !cell(window, 6, 2).isEmpty(); }));
        EXPECT_EQ(child<QComboBox>(window, "ComboBox1")->currentText(),
                  QStringLiteral("工商银行基本户"));
        EXPECT_EQ(cell(window, 1, 2), QStringLiteral("12,434.31"));
        EXPECT_EQ(cell(window, 3, 4), QStringLiteral("2024-3-30"));
        EXPECT_EQ(cell(window, 6, 2), QStringLiteral("12,467.68"));
        EXPECT_EQ(cell(window, 6, 5), QStringLiteral("12,467.68"));
        EXPECT_EQ(verdict(window), QStringLiteral("调节后的存款余额相符"));

        // February: nothing to reconcile with, said in a 提示; the table goes.
        auto* month = child<QDateEdit>(window, "DateTimePicker1");
        EXPECT_EQ(month->date().month(), 3);
        month->setFocus();
        month->setDate(QDate(2024, 2, 1));
        QTest::keyClick(month, Qt::Key_Return);
        EXPECT_EQ(
            messages.texts(),
            QStringList(QStringLiteral(
                "开户银行“工商银行基本户”在 2024-2-29 以前没有银行对账单，请先导入银行对账单！")));
        EXPECT_EQ(child<QTableWidget>(window, "DBGridEh1")->rowCount(), 0);
        EXPECT_TRUE(verdict(window).isEmpty());

        // April, by the key of 调节.
        month->setDate(QDate(2024, 4, 1));
        QTest::keyClick(month, Qt::Key_F3);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !verdict(window).isEmpty(); }));
        EXPECT_EQ(cell(window, 3, 5), QStringLiteral("100.00"));
        EXPECT_EQ(verdict(window), QStringLiteral("调节后的存款余额相符"));
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_TRUE(window->isVisible());
    });
}

TEST_F(ReconciliationWindow, ADifferenceIsShownAndPrintAndExportPutOutTheStatement) {
    testing_support::addBankEntry(db.db(), testing_support::kReconciledAccount, QDate(2024, 2, 27),
                                  QStringLiteral("支付押金"), -9999);
    QTemporaryDir folder;
    ui::ChooserScript chooser;
    open([&](QDialog* window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !verdict(window).isEmpty(); }));
        EXPECT_EQ(verdict(window), QStringLiteral("调节后的存款余额不符，差额 -99.99"));

        child<QToolButton>(window, "SpeedButton3")->click();
        lists::TForm_preview* preview = lists::TForm_preview::instance();
        ASSERT_TRUE(preview && preview->document());
        EXPECT_EQ(preview->document()->pageCount(), 1);
        preview->close();

        chooser.answerSave(ui::SaveFileAnswer{true, folder.filePath(QStringLiteral("march")), 2});
        child<QToolButton>(window, "SpeedButton2")->click();
        ASSERT_EQ(chooser.saveRequests().size(), 1);
        EXPECT_EQ(chooser.saveRequests()[0].fileName,
                  QStringLiteral("工商银行基本户余额调节表2024-03"));
    });
    QFile csv(folder.filePath(QStringLiteral("march.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = lists::fromGbk(csv.readAll()).value_or(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("\"企业银行存款日记账余额\";\"\";\"12,334.32\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"调节后的存款余额不符，差额\";\"\";\"-99.99\"")));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

TEST_F(ReconciliationWindow, WithSeveralAccountsOneIsChosenFirst) {
    db.exec(QStringLiteral("INSERT INTO 开户银行 (项目) VALUES ('建设银行一般户')"));
    open([&](QDialog* window) {
        auto* accounts = child<QComboBox>(window, "ComboBox1");
        EXPECT_TRUE(accounts->currentText().isEmpty());
        child<QToolButton>(window, "SpeedButton5")->click();
        EXPECT_EQ(messages.texts(), QStringList(QStringLiteral("请先选择开户银行!")));
        EXPECT_EQ(testing_support::focusedWidget(), accounts);
        // Choosing the account with the keys shows its statement.
        QTest::keyClick(accounts, Qt::Key_Down);
        EXPECT_EQ(accounts->currentText(), QStringLiteral("工商银行基本户"));
        EXPECT_EQ(cell(window, 6, 2), QStringLiteral("12,467.68"));
    });
}

} // namespace
