// Matching a bank account's journal against its statement: a month worked
// out by hand, the manual matches and their checks, and matches whose entry
// was deleted or changed afterwards.

#include "BankBook.h"

#include "support/TestDatabase.h"

#include "journal/BankMatching.h"

#include <gtest/gtest.h>

using bank_book::addEntry;
using bank_book::addLine;
using bank_book::kAccount;
using bank_book::march;
using journal::BankMatching;
using journal::MatchPeriod;
using testing_support::TestDatabase;

namespace {

const MatchPeriod kMarch{march(1), march(31)};

QStringList vouchers(const QList<journal::BankEntry>& entries) {
    QStringList out;
    for (const journal::BankEntry& e : entries)
        out << e.voucher;
    return out;
}

QStringList texts(const QList<journal::StatementLine>& lines) {
    QStringList out;
    for (const journal::StatementLine& l : lines)
        out << l.text;
    return out;
}

QStringList pairs(const QList<journal::MatchedPair>& made) {
    QStringList out;
    for (const journal::MatchedPair& p : made)
        out << p.line.text + QLatin1Char('-') + p.entry.voucher;
    return out;
}

class BankMatchingTest : public ::testing::Test {
protected:
    TestDatabase t;
    BankMatching matching{t.db(), QStringLiteral("出纳甲")};

    qint64 count(const char* sql) { return t.scalar(QString::fromUtf8(sql)).toLongLong(); }

    /// A month worked out by hand: which entry each line should meet, and why.
    void writeMarch() {
        store::Database& db = t.db();
        addEntry(db, QDate(2005, 2, 27), QStringLiteral("E0"), "700", "");
        addLine(db, march(1), QStringLiteral("L0"), "700", ""); // across the month's start
        addEntry(db, march(2), QStringLiteral("E1"), "1000", "");
        addEntry(db, march(2), QStringLiteral("B1"), "1000", "", bank_book::kOtherAccount);
        addLine(db, march(3), QStringLiteral("L1"), "1000", "");
        // The reference beats the nearer entry.
        addEntry(db, march(5), QStringLiteral("0002"), "", "300");
        addEntry(db, march(3), QStringLiteral("0003"), "", "300");
        addLine(db, march(6), QStringLiteral("L2"), "", "300", QStringLiteral("00 03"));
        // The nearer entry beats the earlier one.
        addEntry(db, march(7), QStringLiteral("E10"), "", "120");
        addEntry(db, march(9), QStringLiteral("E11"), "", "120");
        addLine(db, march(9), QStringLiteral("L9"), "", "120");
        // As near as each other: the earlier entry, then the earlier line.
        addEntry(db, march(10), QStringLiteral("E4"), "500", "");
        addEntry(db, march(12), QStringLiteral("E5"), "500", "");
        addLine(db, march(11), QStringLiteral("L3"), "500", "");
        addLine(db, march(13), QStringLiteral("L4"), "500", "");
        addEntry(db, march(15), QStringLiteral("E8"), "250", "");
        addEntry(db, march(15), QStringLiteral("E9"), "250", "");
        addLine(db, march(16), QStringLiteral("L6"), "250", "");
        // Four days apart: beyond three.
        addEntry(db, march(20), QStringLiteral("E6"), "800", "");
        addLine(db, march(24), QStringLiteral("L5"), "800", "");
        // In transit: a payment the bank has not made yet, the bank's fee
        // and interest the book has not seen yet.
        addEntry(db, march(28), QStringLiteral("E7"), "", "200");
        addLine(db, march(30), QStringLiteral("L7"), "", "15");
        addLine(db, march(31), QStringLiteral("L8"), "60", "");
        // Both in February: another month's business.
        addEntry(db, QDate(2005, 2, 20), QStringLiteral("E12"), "900", "");
        addLine(db, QDate(2005, 2, 21), QStringLiteral("L10"), "900", "");
    }
};

} // namespace

TEST_F(BankMatchingTest, AutomaticMatchingFollowsTheTieRulesAndTheDayBound) {
    writeMarch();
    const QList<journal::MatchedPair> made = matching.matchAutomatically(kAccount, kMarch, 3);
    EXPECT_EQ(pairs(made),
              QStringList({"L0-E0", "L1-E1", "L2-0003", "L9-E11", "L3-E4", "L4-E5", "L6-E8"}));
    EXPECT_EQ(vouchers(matching.unmatchedEntries(kAccount, kMarch)),
              QStringList({"0002", "E10", "E9", "E6", "E7"}));
    EXPECT_EQ(texts(matching.unmatchedLines(kAccount, kMarch)), QStringList({"L5", "L7", "L8"}));
    EXPECT_EQ(vouchers(matching.unmatchedEntries(bank_book::kOtherAccount, kMarch)),
              QStringList({"B1"}));

    // One group of two rows for each pair, stamped with the operator.
    EXPECT_EQ(count("select count(*) from 银行对账"), 14);
    EXPECT_EQ(count("select count(distinct 组号) from 银行对账"), 7);
    EXPECT_EQ(count("select count(*) from 银行对账 where 操作员 = '出纳甲' and 操作日期 > 0"), 14);

    // Nothing is matched twice; a wider bound reaches the four days.
    EXPECT_TRUE(matching.matchAutomatically(kAccount, kMarch, 3).isEmpty());
    EXPECT_EQ(pairs(matching.matchAutomatically(kAccount, kMarch, 4)), QStringList({"L5-E6"}));
    // February's own pair waits for February, or for a match over every day.
    EXPECT_EQ(pairs(matching.matchAutomatically(kAccount, MatchPeriod::everyDay(), 3)),
              QStringList({"L10-E12"}));
}

TEST_F(BankMatchingTest, ManualMatchesCheckTheirSumsAndCanBeUndone) {
    writeMarch();
    store::Database& db = t.db();
    const qint64 deposit = addEntry(db, march(25), QStringLiteral("E13"), "1500", "");
    const qint64 part1 = addLine(db, march(25), QStringLiteral("L11"), "1000", "");
    const qint64 part2 = addLine(db, march(26), QStringLiteral("L12"), "500.0001", "");
    const qint64 payment = addEntry(db, march(28), QStringLiteral("E14"), "", "15");
    const qint64 fee =
        t.scalar(QStringLiteral("select 编号 from 银行对账单 where 摘要 = 'L7'")).toLongLong();

    // Sums that differ are named, on the side that differs; nothing is written.
    EXPECT_EQ(matching.match({deposit}, {part1, part2}).refusal,
              QStringLiteral(
                  "银行日记帐借方合计 1,500.00 与对账单收入合计 1,500.0001 不相等，不能对账！"));
    EXPECT_EQ(
        matching.match({deposit}, {fee}).refusal,
        QStringLiteral("银行日记帐借方合计 1,500.00 与对账单收入合计 0.00 不相等，不能对账！"));
    EXPECT_EQ(
        matching.match({payment, payment}, {fee, part1}).refusal,
        QStringLiteral("银行日记帐借方合计 0.00 与对账单收入合计 1,000.00 不相等，不能对账！"));
    EXPECT_EQ(matching.match({}, {fee}).refusal,
              QStringLiteral("请在银行日记帐和对账单两边各选择至少一条记录！"));
    EXPECT_EQ(count("select count(*) from 银行对账"), 0);

    // One entry against two lines, and an entry already matched refused.
    t.exec(QStringLiteral("update 银行对账单 set 收入 = ccur('500') where 编号 = %1").arg(part2));
    const journal::ManualMatch made = matching.match({deposit}, {part2, part1});
    ASSERT_TRUE(made.refusal.isEmpty()) << made.refusal.toStdString();
    EXPECT_EQ(count("select count(*) from 银行对账 where 操作员 = '出纳甲'"), 3);
    EXPECT_EQ(t.scalar(QStringLiteral("select group_concat(ifnull(cast(日记帐编号 as text), '') || '/' || "
                                      "ifnull(cast(对账单编号 as text), ''), ' ') from 银行对账 where 组号 = %1")
                           .arg(made.group))
                  .toString(),
              QStringLiteral("%1/ /%2 /%3").arg(deposit).arg(part1).arg(part2));
    EXPECT_EQ(matching.match({deposit}, {fee}).refusal,
              QStringLiteral("所选的银行日记帐记录已经对账，请重新显示！"));
    EXPECT_FALSE(vouchers(matching.unmatchedEntries(kAccount, kMarch)).contains("E13"));

    // A payment and the bank's fee of the same sum, though on different days.
    EXPECT_TRUE(matching.match({payment}, {fee}).refusal.isEmpty());

    EXPECT_TRUE(matching.unmatch(made.group));
    EXPECT_FALSE(matching.unmatch(made.group));
    EXPECT_EQ(count("select count(*) from 银行对账"), 2);
    EXPECT_TRUE(vouchers(matching.unmatchedEntries(kAccount, kMarch)).contains("E13"));
    const QStringList lines = texts(matching.unmatchedLines(kAccount, kMarch));
    EXPECT_TRUE(lines.contains("L11") && lines.contains("L12") && !lines.contains("L7"));
}

TEST_F(BankMatchingTest, AMatchWhoseEntryIsDeletedOrChangedNoLongerCounts) {
    writeMarch();
    matching.matchAutomatically(kAccount, kMarch, 3);
    const auto entryId = [this](const char* voucher) {
        return t
            .scalar(QStringLiteral("select 编号 from 银行日记帐 where 凭证号 = '%1'")
                        .arg(QLatin1String(voucher)))
            .toLongLong();
    };
    // E1 deleted in the journal: its line stands unmatched again.
    t.exec(QStringLiteral("delete from 银行日记帐 where 凭证号 = 'E1'"));
    // 0003's amount changed: neither side of its match counts any more.
    t.exec(QStringLiteral("update 银行日记帐 set 贷方 = ccur('310') where 凭证号 = '0003'"));
    EXPECT_EQ(texts(matching.unmatchedLines(kAccount, kMarch)),
              QStringList({"L1", "L2", "L5", "L7", "L8"}));
    EXPECT_TRUE(vouchers(matching.unmatchedEntries(kAccount, kMarch)).contains("0003"));

    // Matched anew, the line leaves nothing of its broken match behind.
    const qint64 again = addEntry(t.db(), march(3), QStringLiteral("E1B"), "1000", "");
    EXPECT_EQ(pairs(matching.matchAutomatically(kAccount, kMarch, 3)),
              QStringList({"L1-E1B", "L2-0002"}));
    EXPECT_EQ(
        count(
            "select count(*) from 银行对账 where 日记帐编号 not in (select 编号 from 银行日记帐)"),
        0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from 银行对账 where 日记帐编号 = %1")
                           .arg(entryId("0003")))
                  .toLongLong(),
              0);
    EXPECT_EQ(
        t.scalar(QStringLiteral("select count(*) from 银行对账 where 日记帐编号 = %1").arg(again))
            .toLongLong(),
        1);
}
