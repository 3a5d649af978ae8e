#pragma once

// The turn of January 2024 worked out by hand: the cash box and two bank
// accounts, balances carried from December and January into February, a day
// with no entries and an account without entries on some days.
//
//   现金            2024-1-15 +1,000.00   1-31 -200.50   2-1 +300.25
//                   2-3 15:30 -50.00     2-3 +20.00
//   工商银行基本户  2023-12-20 +10,000.00  1-31 +500.00   2-1 -1,200.00
//   建设银行一般户  2024-1-30 +2,000.00    2-3 -300.00    2-5 +0.01 (after the range)
//
// For 2024-1-31 to 2024-2-3, balances before: 1,000.00, 10,000.00, 2,000.00.
//   1-31  现金 1,000.00 +0 -200.50 = 799.50; 工商 10,000.00 +500.00 = 10,500.00;
//         小计 13,000.00 +500.00 -200.50 = 13,299.50
//   2-1   现金 799.50 +300.25 = 1,099.75; 工商 10,500.00 -1,200.00 = 9,300.00;
//         小计 13,299.50 +300.25 -1,200.00 = 12,399.75
//   2-2   no entries
//   2-3   现金 1,099.75 +20.00 -50.00 = 1,069.75; 建设 2,000.00 -300.00 = 1,700.00;
//         小计 12,399.75 +20.00 -350.00 = 12,069.75
//   合计  13,000.00 +820.25 -1,750.50 = 12,069.75, 3 receipts, 4 payments

#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QDate>

namespace testing_support {

inline const QString kFirstBank = QStringLiteral("工商银行基本户");
inline const QString kSecondBank = QStringLiteral("建设银行一般户");

/// An entry of the cash journal (empty `bank`) or of a bank account: + debit,
/// - credit, in whole cents.
inline void addDailyEntry(store::Database& db, const QString& bank, const QDateTime& moment,
                          qint64 cents) {
    const QString table =
        bank.isEmpty() ? QStringLiteral("现金日记帐") : QStringLiteral("银行日记帐");
    store::Statement insert(db, QStringLiteral("INSERT INTO %1 (日期, 摘要, 借方, 贷方, 余额%2) "
                                               "VALUES (?1, '摘要', ?2, ?3, 0%3)")
                                    .arg(table,
                                         bank.isEmpty() ? QString() : QStringLiteral(", 开户银行"),
                                         bank.isEmpty() ? QString() : QStringLiteral(", ?4")));
    insert.bind(1, store::DateTime::fromQDateTime(moment).serial());
    insert.bindInt64(2, cents > 0 ? cents * 100 : 0);
    insert.bindInt64(3, cents < 0 ? -cents * 100 : 0);
    if (!bank.isEmpty())
        insert.bindText(4, bank);
    insert.step();
}

inline void addDailyFundsMonth(store::Database& db) {
    db.exec(QStringLiteral(
        "INSERT INTO 开户银行 (项目) VALUES ('工商银行基本户'), ('建设银行一般户')"));
    const auto at = [](int y, int m, int d, int h = 0, int min = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, min));
    };
    addDailyEntry(db, {}, at(2024, 1, 15), 100000);
    addDailyEntry(db, {}, at(2024, 1, 31), -20050);
    addDailyEntry(db, {}, at(2024, 2, 1), 30025);
    addDailyEntry(db, {}, at(2024, 2, 3, 15, 30), -5000);
    addDailyEntry(db, {}, at(2024, 2, 3), 2000);
    addDailyEntry(db, kFirstBank, at(2023, 12, 20), 1000000);
    addDailyEntry(db, kFirstBank, at(2024, 1, 31), 50000);
    addDailyEntry(db, kFirstBank, at(2024, 2, 1), -120000);
    addDailyEntry(db, kSecondBank, at(2024, 1, 30), 200000);
    addDailyEntry(db, kSecondBank, at(2024, 2, 3), -30000);
    addDailyEntry(db, kSecondBank, at(2024, 2, 5), 1);
}

} // namespace testing_support
