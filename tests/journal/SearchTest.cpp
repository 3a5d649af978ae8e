#include "support/DataModuleFixture.h"

#include "journal/JournalSearch.h"
#include "ui/InputMethods.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using journal::JournalKind;
using testing_support::child;

namespace {

class JournalSearchTest : public DataModuleFixture {
protected:
    std::unique_ptr<journal::JournalSearch> dialog;

    void SetUp() override {
        DataModuleFixture::SetUp();
        db.exec(QStringLiteral(
            "insert into 现金日记帐 (日期, 凭证号, 摘要, 明细, 经办人, 借方, 贷方) values "
            "(cdate('2005-3-1'), '12', '现金收入', '零用', '张三', ccur('100'), null),"
            "(cdate('2005-3-2'), '1', '提现金', '', '李四', ccur('250.5'), null),"
            "(cdate('2005-3-2'), '112', '现金支出', '差旅', '', null, ccur('100')),"
            "(cdate('2005-3-3'), '20', '报销', '', '', null, ccur('30')),"
            "(cdate('2005-2-15'), '7', 'O''Brien', '', '', ccur('99.99'), null)"));
        db.exec(QStringLiteral(
            "insert into 银行日记帐 (日期, 凭证号, 摘要, 明细, 借方, 开户银行) values "
            "(cdate('2005-3-1'), '1', '转帐', 'X1', ccur('10'), '工行'),"
            "(cdate('2004-11-5'), '2', '转存', 'Y', ccur('20'), '工行'),"
            "(cdate('2005-3-1'), '3', '转帐', 'X2', ccur('30'), '建行')"));
    }
    void TearDown() override {
        dialog.reset();
        DataModuleFixture::TearDown();
    }

    void open(JournalKind kind = JournalKind::Cash) {
        if (kind == JournalKind::Cash)
            dialog = std::make_unique<journal::TForm_xjrjz_cx>(nullptr);
        else
            dialog = std::make_unique<journal::TForm_yhrjz_cx>(nullptr);
        dialog->setSummaries({QStringLiteral("现金收入"), QStringLiteral("现金支出")});
        dialog->setBankAccounts({QStringLiteral("工行"), QStringLiteral("建行")});
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(dialog.get(), name); }
    QComboBox* summary() { return child<QComboBox>(dialog.get(), "DBComboBoxEh1"); }
    QComboBox* account() { return child<QComboBox>(dialog.get(), "ComboBox1"); }
    void seek() { child<QPushButton>(dialog.get(), "bitbtn_seek")->click(); }
    QWidget* focus() { return QApplication::focusWidget(); }
    QString where() { return dm->q_xjrjz.sql().value(1); }

    /// One column of every row the search left in q_xjrjz, in their order.
    QStringList found(const QString& column = QStringLiteral("凭证号")) {
        QStringList out;
        store::Query& q = dm->q_xjrjz;
        for (q.first(); !q.eof(); q.next())
            out << q.fieldByName(column).asString();
        return out;
    }
};

} // namespace

TEST_F(JournalSearchTest, VoucherAloneFindsEveryMonthInJournalOrder) {
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("查询"));
    EXPECT_EQ(dialog->objectName(), QStringLiteral("Form_xjrjz_cx"));
    EXPECT_EQ(focus(), edit("Edit1"));
    QTest::keyClicks(edit("Edit1"), QStringLiteral("12"));
    seek();
    EXPECT_EQ(dm->q_xjrjz.sql(), QStringList({QStringLiteral("select * from 现金日记帐"),
                                              QStringLiteral(" where (凭证号 like '%12%')"),
                                              QStringLiteral("order by 日期+编号")}));
    EXPECT_EQ(found(), QStringList({"12", "112"}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(messages.texts().isEmpty());

    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("7"));
    seek();
    EXPECT_EQ(found(QStringLiteral("日期")), QStringList({"2005-2-15"})) << "another month";
}

TEST_F(JournalSearchTest, SummaryBeginsWithWhenFirstAndContainsWhenJoined) {
    open();
    summary()->setEditText(QStringLiteral("现金"));
    seek();
    EXPECT_EQ(where(), QStringLiteral(" where (摘要 like '现金%')"));
    EXPECT_EQ(found(), QStringList({"12", "112"}));

    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("1"));
    summary()->setEditText(QStringLiteral("现金"));
    seek();
    EXPECT_EQ(where(), QStringLiteral(" where (凭证号 like '%1%')and(摘要 like '%现金%')"));
    EXPECT_EQ(found(), QStringList({"12", "1", "112"}));
}

TEST_F(JournalSearchTest, EveryPieceInOrderTrimmedAndJoinedWithoutBlanks) {
    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral(" a "));
    summary()->setEditText(QStringLiteral(" 收 "));
    edit("Edit2")->setText(QStringLiteral("  差旅 "));
    edit("Edit3")->setText(QStringLiteral("张"));
    edit("Edit4")->setText(QStringLiteral("备"));
    edit("Edit5")->setText(QStringLiteral("发"));
    QTest::keyClicks(edit("DBDateTimeEditEh1"), QStringLiteral("2005-3-1"));
    QTest::keyClicks(edit("DBDateTimeEditEh2"), QStringLiteral("2005-03-31"));
    QTest::keyClicks(edit("DBNumberEditEh1"), QStringLiteral("0"));
    QTest::keyClicks(edit("DBNumberEditEh2"), QStringLiteral("1,000.5"));
    QTest::keyClicks(edit("DBNumberEditEh3"), QStringLiteral("1"));
    QTest::keyClicks(edit("DBNumberEditEh4"), QStringLiteral("2"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral(" A ")) << "typed letters turn upper case";
    seek();
    EXPECT_EQ(where(), QStringLiteral(
                           " where (凭证号 like '%A%')and(摘要 like '%收%')and(明细 like '%差旅%')"
                           "and(经办人 like '%张%')and(备注 like '%备%')and(发票单位 like '%发%')"
                           "and(日期 between cdate('2005-3-1') and cdate('2005-03-31'))"
                           "and(借方 between ccur('0') and ccur('1,000.5'))"
                           "and(贷方 between ccur('1') and ccur('2'))"));
    EXPECT_TRUE(dm->q_xjrjz.isOpen());
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("没有找到合适的记录,是否重新查找!!")}));
}

TEST_F(JournalSearchTest, NothingFilledLeavesTheGridsQueryAlone) {
    dm->q_xjrjz.openWith(
        {QStringLiteral("select * from 现金日记帐"), QStringLiteral("order by 编号")});
    const QStringList before = dm->q_xjrjz.sql();
    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("   "));
    summary()->setEditText(QStringLiteral("  "));
    seek();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("查询条件没有输入,请确认!")}));
    EXPECT_TRUE(dialog->isVisible()) << "neither the message nor Esc closes the dialog";
    EXPECT_FALSE(child<QProgressBar>(dialog.get(), "Animate1")->isVisible());

    child<QPushButton>(dialog.get(), "bitbtn_close")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dm->q_xjrjz.sql(), before);
    EXPECT_EQ(dm->q_xjrjz.recordCount(), 5);
}

TEST_F(JournalSearchTest, EnterWalksTheFieldsAndRunsTheSearchFromTheNote) {
    open();
    dialog->setInputMethod(QStringLiteral("pinyin"));
    EXPECT_EQ(ui::InputMethods::assigned(edit("Edit3")), QStringLiteral("pinyin"));
    EXPECT_TRUE(ui::InputMethods::assigned(edit("Edit1")).isEmpty());
    const char* chain[] = {"DBComboBoxEh1",
                           "Edit2",
                           "Edit3",
                           "DBDateTimeEditEh1",
                           "DBDateTimeEditEh2",
                           "DBNumberEditEh1",
                           "DBNumberEditEh2",
                           "DBNumberEditEh3",
                           "DBNumberEditEh4",
                           "Edit4"};
    for (const char* next : chain) {
        QTest::keyClick(focus(), Qt::Key_Return);
        EXPECT_EQ(focus(), child<QWidget>(dialog.get(), next)) << next;
    }
    edit("Edit5")->setFocus();
    QTest::keyClicks(edit("Edit5"), QStringLiteral("abc"));
    QTest::keyClick(edit("Edit5"), Qt::Key_Return);
    EXPECT_EQ(focus(), edit("Edit5")) << "Enter does nothing in the invoice party";
    EXPECT_TRUE(messages.texts().isEmpty());

    edit("Edit5")->clear();
    edit("Edit4")->setFocus();
    QTest::keyClicks(edit("Edit4"), QStringLiteral("zz"));
    QTest::keyClick(edit("Edit4"), Qt::Key_Return);
    EXPECT_EQ(where(), QStringLiteral(" where (备注 like '%ZZ%')"));
}

TEST_F(JournalSearchTest, DateRangeChecks) {
    open();
    QLineEdit* from = edit("DBDateTimeEditEh1");
    QLineEdit* to = edit("DBDateTimeEditEh2");
    auto tryDates = [&](const char* a, const char* b) {
        from->setText(QLatin1String(a));
        to->setText(QLatin1String(b));
        edit("Edit1")->setFocus();
        seek();
        EXPECT_EQ(focus(), from) << a << " / " << b;
    };
    tryDates("", "2005-3-2");
    tryDates("2005-3-2", " ");
    tryDates("2005-3-2", "2005-3-1");
    tryDates("2005-2-30", "2005-3-1"); // no such day
    const QString wrong = QStringLiteral("日期输入错误,请重新输入!");
    EXPECT_EQ(messages.texts(),
              QStringList({wrong, wrong, QStringLiteral("日期从大于日期到,请重新输入!"), wrong}));
    EXPECT_EQ(messages.records().first().title, QStringLiteral("提示"));
    EXPECT_EQ(messages.records().first().icon, ui::MessageIcon::Warning);
    EXPECT_FALSE(dm->q_xjrjz.isOpen());

    from->setText(QStringLiteral("2005-3-2"));
    to->setText(QStringLiteral("2005-3-2"));
    seek();
    EXPECT_EQ(where(),
              QStringLiteral(" where (日期 between cdate('2005-3-2') and cdate('2005-3-2'))"));
    EXPECT_EQ(found(), QStringList({"1", "112"}));
}

TEST_F(JournalSearchTest, ADateWithATimeOrATwoDigitYearIsRefused) {
    open();
    QLineEdit* from = edit("DBDateTimeEditEh1");
    QLineEdit* to = edit("DBDateTimeEditEh2");
    auto seekDates = [&](const char* a, const char* b) {
        for (QLineEdit* field : {from, to}) {
            field->clear();
            QTest::keyClicks(field, QLatin1String(field == from ? a : b));
        }
        edit("Edit1")->setFocus();
        seek();
    };
    const std::pair<const char*, const char*> refused[] = {{"2005-3-1 10:00", "2005-3-2"},
                                                           {"2005-3-1", "2005-3-2 23:59:59"},
                                                           {"5-3-1", "2005-3-2"},
                                                           {"2005-3-1", "05-3-2"}};
    for (const auto& [a, b] : refused) {
        seekDates(a, b);
        EXPECT_EQ(focus(), from) << a << " / " << b;
    }
    const QString wrong = QStringLiteral("日期输入错误,请重新输入!");
    EXPECT_EQ(messages.texts(), QStringList({wrong, wrong, wrong, wrong}));
    EXPECT_FALSE(dm->q_xjrjz.isOpen());

    seekDates("2005/03/01", "2005-3-2");
    EXPECT_EQ(where(),
              QStringLiteral(" where (日期 between cdate('2005/03/01') and cdate('2005-3-2'))"));
    EXPECT_EQ(found(), QStringList({"12", "1", "112"}));
}

TEST_F(JournalSearchTest, AmountRangeChecksDebitBeforeCredit) {
    open();
    QLineEdit* debitLow = edit("DBNumberEditEh1");
    QLineEdit* creditLow = edit("DBNumberEditEh3");
    edit("DBNumberEditEh2")->setText(QStringLiteral("100")); // only the upper debit bound
    edit("DBNumberEditEh4")->setText(QStringLiteral("5"));   // and a wrong credit range
    seek();
    EXPECT_EQ(focus(), debitLow);
    debitLow->setText(QStringLiteral("100.01")); // lower above upper
    seek();
    debitLow->setText(QStringLiteral("-")); // no amount
    seek();
    debitLow->setText(QStringLiteral("100"));
    creditLow->setText(QStringLiteral("6"));
    edit("Edit1")->setFocus();
    seek();
    EXPECT_EQ(focus(), creditLow);
    const QString debit = QStringLiteral("借方金额输入错误,请重新输入!");
    EXPECT_EQ(messages.texts(),
              QStringList({debit, debit, debit, QStringLiteral("贷方金额输入错误,请重新输入!")}));

    creditLow->clear();
    edit("DBNumberEditEh4")->clear();
    seek();
    EXPECT_EQ(where(), QStringLiteral(" where (借方 between ccur('100') and ccur('100'))"));
    EXPECT_EQ(found(), QStringList({"12"})) << "the credit of 100 is no debit";
}

TEST_F(JournalSearchTest, EmptyResultAnsweredYesStaysThenReturnLeavesItEmpty) {
    dm->q_xjrjz.openWith({QStringLiteral("select * from 现金日记帐")});
    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("999"));
    auto* busy = child<QProgressBar>(dialog.get(), "Animate1");
    bool busyWhileOpening = false;
    QObject::connect(&dm->q_xjrjz, &store::Query::reset, dialog.get(),
                     [&] { busyWhileOpening = busyWhileOpening || busy->isVisible(); });
    messages.answerNext(true);
    seek();
    EXPECT_TRUE(busyWhileOpening);
    ASSERT_EQ(messages.records().size(), 1);
    EXPECT_EQ(messages.records()[0].title, QStringLiteral("提示"));
    EXPECT_TRUE(messages.records()[0].question);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(busy->isVisible());
    child<QPushButton>(dialog.get(), "bitbtn_close")->click();
    EXPECT_TRUE(dm->q_xjrjz.isOpen());
    EXPECT_TRUE(dm->q_xjrjz.isEmpty());

    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("999"));
    messages.answerNext(false);
    seek();
    EXPECT_FALSE(dialog->isVisible()) << "No closes the dialog";
}

TEST_F(JournalSearchTest, QuotesAreSearchedForAndWildcardsStay) {
    open();
    summary()->setEditText(QStringLiteral("O'Brien"));
    seek();
    EXPECT_EQ(where(), QStringLiteral(" where (摘要 like 'O''Brien%')"));
    EXPECT_EQ(found(), QStringList({"7"}));

    open();
    QTest::keyClicks(edit("Edit1"), QStringLiteral("1_"));
    seek();
    EXPECT_EQ(found(), QStringList({"12", "112"}));
}

TEST_F(JournalSearchTest, BankSearchNeedsAnAccountAndPutsItThird) {
    open(JournalKind::Bank);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("Form_yhrjz_cx"));
    EXPECT_EQ(focus(), account());
    EXPECT_FALSE(account()->isEditable());
    EXPECT_EQ(account()->currentIndex(), -1);
    QTest::keyClick(account(), Qt::Key_Return);
    EXPECT_EQ(focus(), edit("Edit1"));
    QTest::keyClicks(edit("Edit1"), QStringLiteral("1"));
    seek();
    EXPECT_EQ(messages.texts(), QStringList({QStringLiteral("请先选择开户银行!")}));
    EXPECT_FALSE(dm->q_xjrjz.isOpen());

    edit("Edit1")->clear();
    account()->setCurrentIndex(0);
    seek();
    EXPECT_EQ(dm->q_xjrjz.sql().value(0), QStringLiteral("select * from 银行日记帐"));
    EXPECT_EQ(where(), QStringLiteral(" where (开户银行 = '工行')"));
    EXPECT_EQ(found(QStringLiteral("日期")), QStringList({"2004-11-5", "2005-3-1"}));

    open(JournalKind::Bank);
    account()->setCurrentIndex(1);
    summary()->setEditText(QStringLiteral("转"));
    QTest::keyClicks(edit("Edit2"), QStringLiteral("x"));
    seek();
    EXPECT_EQ(where(),
              QStringLiteral(" where (摘要 like '转%')and(开户银行 = '建行')and(明细 like '%X%')"));
    EXPECT_EQ(found(), QStringList({"3"}));
}
