#pragma once

// March 2024 of the account 工商银行基本户, worked out by hand: an item in
// transit on each of the four sides, one entry settled only in April, two
// entries matched together against one line, and entries of another account
// and of a later month that must not count.
//
//   journal                                   statement
//   2024-2-25  期初存款     +10,000.00        (before the statement: in its balance)
//   2024-3-2   销售收入      +2,000.00  <->   2024-3-2  货款     +2,000.00  12,000.00
//   2024-3-10  办公费          -500.00  <->   2024-3-11 转账支出   -500.00  11,500.00
//   2024-3-15  收回欠款 甲     +300.00  <-+
//   2024-3-15  收回欠款 乙     +200.00  <-+-> 2024-3-16 货款       +500.00  12,000.00
//                                             2024-3-25 利息收入    +45.67  12,045.67  bank only
//   2024-3-30  销售收入      +1,234.56  <->   2024-4-1  货款     +1,234.56  13,267.93  (in April)
//   2024-3-31  支付货款        -800.25                                                book only
//                                             2024-3-31 手续费      -12.30  12,033.37  bank only
//
// Book on 2024-3-31: 12,434.31; bank: 12,033.37.
// Adjusted book: 12,434.31 + 45.67 - 12.30 = 12,467.68.
// Adjusted bank: 12,033.37 + 1,234.56 - 800.25 = 12,467.68.

#include "journal/BankStatementLines.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QDate>

namespace testing_support {

inline const QString kReconciledAccount = QStringLiteral("工商银行基本户");

/// A bank journal entry: + debit, - credit, in whole cents.
inline qint64 addBankEntry(store::Database& db, const QString& account, const QDate& day,
                           const QString& summary, qint64 cents, const QString& detail = {}) {
    store::Statement insert(db,
                            QStringLiteral("INSERT INTO 银行日记帐 (开户银行, 日期, 摘要, 明细, "
                                           "借方, 贷方, 余额) VALUES (?, ?, ?, ?, ?, ?, 0)"));
    insert.bindText(1, account);
    insert.bind(2, store::DateTime::fromDate(day).serial());
    insert.bindText(3, summary);
    insert.bindText(4, detail);
    insert.bindInt64(5, cents > 0 ? cents * 100 : 0);
    insert.bindInt64(6, cents < 0 ? -cents * 100 : 0);
    insert.step();
    return db.lastInsertRowId();
}

/// A statement line: + in, - out, with the balance after it, in whole cents.
inline qint64 addStatementLine(store::Database& db, const QString& account, const QDate& day,
                               const QString& text, qint64 cents, qint64 balanceCents) {
    journal::StatementLine line;
    line.account = account;
    line.date = day;
    line.text = text;
    line.in = store::Currency::fromRaw(cents > 0 ? cents * 100 : 0);
    line.out = store::Currency::fromRaw(cents < 0 ? -cents * 100 : 0);
    line.balance = store::Currency::fromRaw(balanceCents * 100);
    line.sourceFile = QStringLiteral("对账单.csv");
    line.operatorName = QStringLiteral("出纳甲");
    line.importedAt = QDateTime(QDate(2024, 4, 2), QTime(9, 0));
    journal::BankStatementLines(db).insert(line);
    return line.id;
}

/// One match: the entries and lines given, under a new 组号.
inline void addMatch(store::Database& db, const QList<qint64>& entries,
                     const QList<qint64>& lines) {
    store::Statement next(db, QStringLiteral("SELECT coalesce(max(组号), 0) + 1 FROM 银行对账"));
    next.step();
    const qint64 group = next.int64(0);
    const auto add = [&](const char* column, qint64 id) {
        store::Statement insert(
            db,
            QStringLiteral(
                "INSERT INTO 银行对账 (组号, %1, 操作员, 操作日期) VALUES (?, ?, '出纳甲', 45383)")
                .arg(QString::fromUtf8(column)));
        insert.bindInt64(1, group);
        insert.bindInt64(2, id);
        insert.step();
    };
    for (qint64 id : entries)
        add("日记帐编号", id);
    for (qint64 id : lines)
        add("对账单编号", id);
}

inline void addReconciliationMonth(store::Database& db) {
    const QString a = kReconciledAccount;
    const auto day = [](int month, int d) { return QDate(2024, month, d); };
    addBankEntry(db, a, day(2, 25), QStringLiteral("期初存款"), 1000000);
    const qint64 sale = addBankEntry(db, a, day(3, 2), QStringLiteral("销售收入"), 200000);
    const qint64 office = addBankEntry(db, a, day(3, 10), QStringLiteral("办公费"), -50000);
    const qint64 first =
        addBankEntry(db, a, day(3, 15), QStringLiteral("收回欠款"), 30000, QStringLiteral("甲"));
    const qint64 second =
        addBankEntry(db, a, day(3, 15), QStringLiteral("收回欠款"), 20000, QStringLiteral("乙"));
    const qint64 late = addBankEntry(db, a, day(3, 30), QStringLiteral("销售收入"), 123456);
    addBankEntry(db, a, day(3, 31), QStringLiteral("支付货款"), -80025);
    addBankEntry(db, a, day(4, 2), QStringLiteral("销售收入"), 10000);
    addBankEntry(db, QStringLiteral("建设银行一般户"), day(3, 5), QStringLiteral("销售收入"),
                 777700);

    addMatch(db, {sale},
             {addStatementLine(db, a, day(3, 2), QStringLiteral("货款"), 200000, 1200000)});
    addMatch(db, {office},
             {addStatementLine(db, a, day(3, 11), QStringLiteral("转账支出"), -50000, 1150000)});
    addMatch(db, {first, second},
             {addStatementLine(db, a, day(3, 16), QStringLiteral("货款"), 50000, 1200000)});
    addStatementLine(db, a, day(3, 25), QStringLiteral("利息收入"), 4567, 1204567);
    addStatementLine(db, a, day(3, 31), QStringLiteral("手续费"), -1230, 1203337);
    addMatch(db, {late},
             {addStatementLine(db, a, day(4, 1), QStringLiteral("货款"), 123456, 1326793)});
}

} // namespace testing_support
