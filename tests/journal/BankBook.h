#pragma once

// Writing a bank account's journal entries and statement lines into a test
// book, each with the text it is known by.

#include "journal/BankStatementLines.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Statement.h"

#include <QDate>
#include <QVariant>

namespace bank_book {

inline const QString kAccount = QStringLiteral("工商银行基本户");
inline const QString kOtherAccount = QStringLiteral("建设银行一般户");

inline store::Currency yuan(const char* amount) {
    return *store::Currency::parse(QString::fromLatin1(amount));
}

/// A bank journal entry with voucher number `voucher`; `debit` is money in,
/// `credit` money out ("" for none).
inline qint64 addEntry(store::Database& db, const QDate& day, const QString& voucher,
                       const char* debit, const char* credit, const QString& account = kAccount) {
    store::Statement insert(
        db, QStringLiteral("insert into 银行日记帐 (开户银行, 日期, 凭证号, 摘要, 属性, "
                           "借方, 贷方, 余额) values (?, ?, ?, ?, ?, ?, ?, 0)"));
    const bool in = *debit != '\0';
    insert.bindText(1, account);
    insert.bind(2, store::DateTime::fromDate(day).serial());
    insert.bindText(3, voucher);
    insert.bindText(4, in ? QStringLiteral("销售收入") : QStringLiteral("办公费"));
    insert.bindText(5, in ? QStringLiteral("增加") : QStringLiteral("减少"));
    insert.bind(6, in ? QVariant(qlonglong(yuan(debit).raw())) : QVariant());
    insert.bind(7, in ? QVariant() : QVariant(qlonglong(yuan(credit).raw())));
    insert.step();
    return db.lastInsertRowId();
}

/// A statement line with the bank's text `text`; `in` is money into the account.
inline qint64 addLine(store::Database& db, const QDate& day, const QString& text, const char* in,
                      const char* out, const QString& reference = QString(),
                      const QString& account = kAccount) {
    journal::StatementLine line;
    line.account = account;
    line.date = day;
    line.text = text;
    line.in = *in ? yuan(in) : store::Currency();
    line.out = *out ? yuan(out) : store::Currency();
    line.reference = reference;
    line.sourceFile = QStringLiteral("对账单.csv");
    line.operatorName = QStringLiteral("出纳甲");
    line.importedAt = QDateTime(QDate(2005, 4, 1), QTime(9, 0));
    journal::BankStatementLines(db).insert(line);
    return line.id;
}

inline QDate march(int day) {
    return QDate(2005, 3, day);
}

} // namespace bank_book
