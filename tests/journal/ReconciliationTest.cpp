// The reconciliation statement of a month worked out by hand, as the table
// the window shows, the preview prints and the exports write.

#include "journal/Reconciliation.h"
#include "journal/ReconciliationLayout.h"
#include "lists/TableSnapshot.h"
#include "support/ReconciliationMonth.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::kReconciledAccount;

// Each row's cell texts joined by " | ", the footer row last: readable when a test fails.
std::vector<std::string> texts(const lists::TableSnapshot& table) {
    std::vector<std::string> rows;
    for (const QList<lists::SnapshotCell>& row : table.rows) {
        QStringList cells;
        for (const lists::SnapshotCell& cell : row)
            cells << cell.text;
        rows.push_back(cells.join(QStringLiteral(" | ")).toStdString());
    }
    QStringList footer;
    for (const lists::SnapshotFooterCell& cell : table.footer)
        footer << cell.text;
    rows.push_back(footer.join(QStringLiteral(" | ")).toStdString());
    return rows;
}

std::string row(std::initializer_list<const char*> cells) {
    QStringList texts;
    for (const char* cell : cells)
        texts << QString::fromUtf8(cell);
    return texts.join(QStringLiteral(" | ")).toStdString();
}

class ReconciliationStatement : public ::testing::Test {
protected:
    testing_support::TestDatabase book;

    void SetUp() override { testing_support::addReconciliationMonth(book.db()); }

    lists::TableSnapshot statementOn(const QDate& day) {
        const journal::Reconciliation r = journal::reconcile(book.db(), kReconciledAccount, day);
        EXPECT_EQ(r.gap, journal::ReconciliationGap::None);
        return journal::reconciliationTable(r);
    }
};

TEST_F(ReconciliationStatement, AMonthWithAnItemInTransitOnEachSideAgreesToTheCent) {
    const lists::TableSnapshot march = statementOn(QDate(2024, 3, 31));
    EXPECT_EQ(
        texts(march),
        std::vector<std::string>({
            row({"开户银行：工商银行基本户", "", "", "截止日期：2024-3-31", "", ""}),
            row({"企业银行存款日记账余额", "", "12,434.31", "银行对账单余额", "", "12,033.37"}),
            row({"加：银行已收、企业未收", "", "45.67", "加：企业已收、银行未收", "", "1,234.56"}),
            row({"　　利息收入", "2024-3-25", "45.67", "　　销售收入", "2024-3-30", "1,234.56"}),
            row({"减：银行已付、企业未付", "", "12.30", "减：企业已付、银行未付", "", "800.25"}),
            row({"　　手续费", "2024-3-31", "12.30", "　　支付货款", "2024-3-31", "800.25"}),
            row({"调节后的存款余额", "", "12,467.68", "调节后的存款余额", "", "12,467.68"}),
            row({"调节后的存款余额相符", "", "", "", "", ""}),
        }));
    ASSERT_EQ(march.rows.size(), 7);
    EXPECT_EQ(march.columns[2].kind, lists::CellKind::Number);
    EXPECT_TRUE(march.columns[1].keepWhole && march.columns[2].keepWhole);
    EXPECT_DOUBLE_EQ(march.rows[6][5].number, 12467.68);

    // The April line settles the entry of March 30; the entry of April 2 is
    // now the one the bank has not had.
    const lists::TableSnapshot april = statementOn(QDate(2024, 4, 30));
    ASSERT_EQ(april.rows.size(), 7);
    EXPECT_EQ(texts(april)[1],
              row({"企业银行存款日记账余额", "", "12,534.31", "银行对账单余额", "", "13,267.93"}));
    EXPECT_EQ(texts(april)[3],
              row({"　　利息收入", "2024-3-25", "45.67", "　　销售收入", "2024-4-2", "100.00"}));
    EXPECT_EQ(texts(april)[6],
              row({"调节后的存款余额", "", "12,567.68", "调节后的存款余额", "", "12,567.68"}));
}

TEST_F(ReconciliationStatement, AnEntryNeverOnTheStatementLeavesADifference) {
    // Before the first statement line: in the book's balance, never listed.
    testing_support::addBankEntry(book.db(), kReconciledAccount, QDate(2024, 2, 27),
                                  QStringLiteral("支付押金"), -9999);
    // A line without a balance moves the last stated one on.
    journal::StatementLine fee;
    fee.account = kReconciledAccount;
    fee.date = QDate(2024, 3, 31);
    fee.text = QStringLiteral("短信费");
    fee.out = store::Currency::fromRaw(5000);
    journal::BankStatementLines(book.db()).insert(fee);

    const journal::Reconciliation r =
        journal::reconcile(book.db(), kReconciledAccount, QDate(2024, 3, 31));
    EXPECT_EQ(r.bankBalance.format(2), QStringLiteral("12032.87"));
    EXPECT_FALSE(r.agrees());
    const std::vector<std::string> shown = texts(journal::reconciliationTable(r));
    ASSERT_EQ(shown.size(), 9u);
    EXPECT_EQ(shown[1],
              row({"企业银行存款日记账余额", "", "12,334.32", "银行对账单余额", "", "12,032.87"}));
    EXPECT_EQ(shown[4],
              row({"减：银行已付、企业未付", "", "12.80", "减：企业已付、银行未付", "", "800.25"}));
    EXPECT_EQ(shown[6], row({"　　短信费", "2024-3-31", "0.50", "", "", ""}));
    EXPECT_EQ(shown[7],
              row({"调节后的存款余额", "", "12,367.19", "调节后的存款余额", "", "12,467.18"}));
    EXPECT_EQ(shown[8], row({"调节后的存款余额不符，差额", "", "-99.99", "", "", ""}));
}

// A difference below a cent is never shown as none.
TEST_F(ReconciliationStatement, ADifferenceBelowACentIsShownWhole) {
    book.exec(QStringLiteral("INSERT INTO 银行日记帐 (开户银行, 日期, 摘要, 借方, 贷方, 余额) "
                             "VALUES ('%1', %2, '尾差', 0, 1, 0)")
                  .arg(kReconciledAccount)
                  .arg(store::DateTime::fromDate(QDate(2024, 2, 27)).serial()));
    const journal::Reconciliation r =
        journal::reconcile(book.db(), kReconciledAccount, QDate(2024, 3, 31));
    EXPECT_FALSE(r.agrees());
    const std::vector<std::string> shown = texts(journal::reconciliationTable(r));
    EXPECT_EQ(shown.back(), row({"调节后的存款余额不符，差额", "", "-0.0001", "", "", ""}));
}

TEST_F(ReconciliationStatement, AMatchSettlesOnlyWhileItIsIntact) {
    // A cheque written before the first statement line and cashed after it.
    store::Database& db = book.db();
    const qint64 cheque = testing_support::addBankEntry(db, kReconciledAccount, QDate(2024, 2, 28),
                                                        QStringLiteral("支票"), -20000);
    testing_support::addMatch(
        db, {cheque},
        {testing_support::addStatementLine(db, kReconciledAccount, QDate(2024, 3, 31),
                                           QStringLiteral("支票兑付"), -20000, 1183337)});
    // The entry of March 10 deleted, and the one of March 2 changed to 2,100.00:
    // neither match holds any more, so their lines and the changed entry are in transit.
    db.exec(QStringLiteral("DELETE FROM 银行日记帐 WHERE 摘要 = '办公费'"));
    db.exec(QStringLiteral("UPDATE 银行日记帐 SET 借方 = 21000000 WHERE 日期 = 45353"));

    const std::vector<std::string> shown = texts(statementOn(QDate(2024, 3, 31)));
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[1],
              row({"企业银行存款日记账余额", "", "12,834.31", "银行对账单余额", "", "11,833.37"}));
    EXPECT_EQ(shown[2], row({"加：银行已收、企业未收", "", "2,045.67", "加：企业已收、银行未收", "",
                             "3,334.56"}));
    EXPECT_EQ(shown[3],
              row({"　　货款", "2024-3-2", "2,000.00", "　　销售收入", "2024-3-2", "2,100.00"}));
    EXPECT_EQ(shown[5], row({"减：银行已付、企业未付", "", "512.30", "减：企业已付、银行未付", "",
                             "800.25"}));
    EXPECT_EQ(shown[6],
              row({"　　转账支出", "2024-3-11", "500.00", "　　支付货款", "2024-3-31", "800.25"}));
    EXPECT_EQ(shown[7], row({"　　手续费", "2024-3-31", "12.30", "", "", ""}));
    EXPECT_EQ(shown[8],
              row({"调节后的存款余额", "", "14,367.68", "调节后的存款余额", "", "14,367.68"}));
}

TEST_F(ReconciliationStatement, NoStatementUpToTheDayIsSaidPlainly) {
    const journal::Reconciliation february =
        journal::reconcile(book.db(), kReconciledAccount, QDate(2024, 2, 29));
    EXPECT_EQ(february.gap, journal::ReconciliationGap::NoStatement);
    EXPECT_EQ(journal::gapMessage(february),
              QStringLiteral(
                  "开户银行“工商银行基本户”在 2024-2-29 以前没有银行对账单，请先导入银行对账单！"));
    EXPECT_EQ(
        journal::reconcile(book.db(), QStringLiteral("建设银行一般户"), QDate(2024, 3, 31)).gap,
        journal::ReconciliationGap::NoStatement);
    EXPECT_EQ(journal::monthEnd(QDate(2024, 2, 10)), QDate(2024, 2, 29));
}

} // namespace
