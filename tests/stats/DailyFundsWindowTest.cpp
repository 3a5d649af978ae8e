// The 资金日报表 window as the menus open it: the criteria with their date
// messages, the rows and footer of the days chosen, one account, every day,
// and the report printed to PDF and exported, read back whole.

#include "support/DailyFundsMonth.h"
#include "support/DataModuleFixture.h"
#include "support/PdfText.h"

#include "lists/DataGrid.h"
#include "lists/GbkText.h"
#include "lists/PrintOutput.h"
#include "lists/TForm_preview.h"
#include "stats/DailyFundsWindow.h"
#include "ui/Choosers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using testing_support::child;
using testing_support::onNextModal;

class DailyFundsWindow : public DataModuleFixture {
protected:
    void SetUp() override {
        DataModuleFixture::SetUp();
        dm->login.closingDate = store::DateTime::fromDate(QDate(2024, 2, 3));
        testing_support::addDailyFundsMonth(db.db());
    }

    void open(store::JournalKind kind, const std::function<void(QDialog*)>& act) {
        bool acted = false;
        onNextModal([&](QDialog* window) {
            act(window);
            acted = true;
            child<QToolButton>(window, "SpeedButton4")->click();
        });
        stats::openDailyFunds(nullptr, kind);
        EXPECT_TRUE(acted);
    }

    // Types the days and asks with Enter in the second date field.
    static void ask(QDialog* window, const QString& from, const QString& to) {
        child<QLineEdit>(window, "DBDateTimeEditEh1")->setText(from);
        auto* last = child<QLineEdit>(window, "DBDateTimeEditEh2");
        last->setText(to);
        last->setFocus();
        QTest::keyClick(last, Qt::Key_Return);
    }

    static QStringList rows(QDialog* window) {
        const lists::TableSnapshot table = child<lists::DataGrid>(window, "DBGridEh1")->snapshot();
        QStringList lines;
        for (const QList<lists::SnapshotCell>& row : table.rows) {
            QStringList cells;
            for (const lists::SnapshotCell& cell : row)
                cells << cell.text;
            lines << cells.join(QLatin1Char('|'));
        }
        QStringList footer;
        for (const lists::SnapshotFooterCell& cell : table.footer)
            footer << cell.text;
        return lines << footer.join(QLatin1Char('|'));
    }
};

TEST_F(DailyFundsWindow, ShowsTheChosenDaysWithSubtotalsAndTotalsAfterTheDateChecks) {
    open(store::JournalKind::Cash, [&](QDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("资金日报表"));
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(child<QLineEdit>(window, "DBDateTimeEditEh1")->text(),
                  QStringLiteral("2024-2-3"));
        EXPECT_EQ(child<QComboBox>(window, "ComboBox1")->currentText(), QStringLiteral("全部账户"));
        // The closing date's report is there at once.
        EXPECT_EQ(rows(window).first(),
                  QStringLiteral("2024-2-3|现金|1,099.75|20.00|50.00|1,069.75|1|1"));
        EXPECT_EQ(rows(window).size(), 4);

        ask(window, QStringLiteral("2024-2-3"), QStringLiteral("2024-1-31"));
        ask(window, QStringLiteral("2024-1-31"), QStringLiteral(" "));
        EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("日期从大于日期到,请重新输入!"),
                                                 QStringLiteral("日期输入错误,请重新输入!")}));

        ask(window, QStringLiteral("2024-1-31"), QStringLiteral("2024-2-3"));
        const QStringList shown = rows(window);
        ASSERT_EQ(shown.size(), 10);
        EXPECT_EQ(shown[0], QStringLiteral("2024-1-31|现金|1,000.00|0.00|200.50|799.50|0|1"));
        EXPECT_EQ(shown[5],
                  QStringLiteral("2024-2-1|小计|13,299.50|300.25|1,200.00|12,399.75|1|1"));
        EXPECT_EQ(shown[9], QStringLiteral("合计||13,000.00|820.25|1,750.50|12,069.75|3|4"));
        EXPECT_EQ(messages.texts().size(), 2);
    });
}

TEST_F(DailyFundsWindow, TheBankMenuStartsWithTheBankAccountsAndOneAccountOrEveryDayIsChosen) {
    open(store::JournalKind::Bank, [&](QDialog* window) {
        auto* accounts = child<QComboBox>(window, "ComboBox1");
        EXPECT_EQ(accounts->currentText(), QStringLiteral("全部开户银行"));
        child<QCheckBox>(window, "CheckBox3")->setChecked(true);
        ask(window, QStringLiteral("2024-1-31"), QStringLiteral("2024-2-3"));
        EXPECT_EQ(rows(window).size(), 13);
        EXPECT_EQ(rows(window)[7],
                  QStringLiteral("2024-2-2|建设银行一般户|2,000.00|0.00|0.00|2,000.00|0|0"));

        accounts->setCurrentText(testing_support::kSecondBank);
        child<QCheckBox>(window, "CheckBox3")->setChecked(false);
        ask(window, QStringLiteral("2024-1-31"), QStringLiteral("2024-2-3"));
        EXPECT_EQ(rows(window),
                  QStringList(
                      {QStringLiteral("2024-2-3|建设银行一般户|2,000.00|0.00|300.00|1,700.00|0|1"),
                       QStringLiteral("合计||2,000.00|0.00|300.00|1,700.00|0|1")}));
    });
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('\n').toStdString();
}

TEST_F(DailyFundsWindow, PrintedToPdfAndExportedEveryAmountIsWhole) {
    QTemporaryDir folder;
    ui::ChooserScript chooser;
    QString printed;
    open(store::JournalKind::Cash, [&](QDialog* window) {
        ask(window, QStringLiteral("2024-1-31"), QStringLiteral("2024-2-3"));
        child<QToolButton>(window, "SpeedButton3")->click();
        lists::TForm_preview* preview = lists::TForm_preview::instance();
        ASSERT_TRUE(preview && preview->document());
        QFile pdf(folder.filePath(QStringLiteral("report.pdf")));
        ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
        EXPECT_TRUE(lists::writePdf(*preview->document(), pdf));
        pdf.close();
        preview->close();
        printed = testing_support::pdfText(pdf.fileName());

        chooser.answerSave(ui::SaveFileAnswer{true, folder.filePath(QStringLiteral("daily")), 2});
        child<QToolButton>(window, "SpeedButton2")->click();
        ASSERT_EQ(chooser.saveRequests().size(), 1);
        EXPECT_EQ(chooser.saveRequests()[0].fileName, QStringLiteral("资金日报表"));
    });
    const QSet<QString> words = testing_support::wordsOf(printed);
    for (const char* amount : {"13,000.00", "13,299.50", "1,099.75", "12,399.75", "1,750.50",
                               "12,069.75", "10,500.00", "1,700.00"})
        EXPECT_TRUE(words.contains(QString::fromLatin1(amount))) << amount;
    EXPECT_TRUE(printed.contains(QStringLiteral("资金日报表")));

    QFile csv(folder.filePath(QStringLiteral("daily.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = lists::fromGbk(csv.readAll()).value_or(QString());
    EXPECT_TRUE(text.contains(QStringLiteral(
        "\"2024-2-3\";\"小计\";\"12,399.75\";\"20.00\";\"350.00\";\"12,069.75\";\"1\";\"2\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "\"合计\";\"\";\"13,000.00\";\"820.25\";\"1,750.50\";\"12,069.75\";\"3\";\"4\"")))
        << text.toStdString();
}

} // namespace
