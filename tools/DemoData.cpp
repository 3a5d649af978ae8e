#include "DemoData.h"

#include "journal/BalanceRecomputation.h"
#include "store/BookkeepingPeriod.h"
#include "store/Connection.h"
#include "store/Currency.h"
#include "store/Database.h"
#include "store/DateTime.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QList>
#include <QStringList>

#include <random>

namespace tools {

namespace {

struct SummaryRow {
    QString name;
    bool increase;
};

const QStringList kDetails = {
    QStringLiteral("办公用品一批"), QStringLiteral("出差北京"),     QStringLiteral("三月份货款"),
    QStringLiteral("零星采购"),     QStringLiteral("备用金"),       QStringLiteral("客户回款"),
    QStringLiteral("快递费"),       QStringLiteral("电费及水费"),   QStringLiteral("员工工资"),
    QStringLiteral("设备维修"),     QStringLiteral("门市零售收入"), QStringLiteral("预付定金"),
};
const QStringList kHandlers = {QStringLiteral("张伟"), QStringLiteral("王芳"), QStringLiteral("李娜"),
                               QStringLiteral("刘洋"), QStringLiteral("陈静"), QStringLiteral("杨军")};
const QStringList kParties = {
    QStringLiteral("华东商贸有限公司"), QStringLiteral("星海文具店"),   QStringLiteral("城南物流公司"),
    QStringLiteral("明达电器有限公司"), QStringLiteral("供电局营业厅"), QString(),
};
const QStringList kExtraSummaryStems = {
    QStringLiteral("货款"), QStringLiteral("运费"), QStringLiteral("租金"), QStringLiteral("押金"),
    QStringLiteral("报销"), QStringLiteral("税费"), QStringLiteral("利息"), QStringLiteral("保险费")};

QList<SummaryRow> growCatalogue(store::Database& db, int wanted) {
    QList<SummaryRow> rows;
    {
        store::Statement read(db, QStringLiteral("SELECT 摘要, 属性 FROM 摘要 ORDER BY 代码"));
        while (read.step())
            rows.append({read.text(0), read.text(1) == QStringLiteral("增加")});
    }
    store::Statement add(db, QStringLiteral("INSERT INTO 摘要 (摘要, 属性, 操作员, 操作日期) "
                                            "VALUES (?, ?, '系统管理员', ?)"));
    for (int i = int(rows.size()); i < wanted; ++i) {
        const bool increase = i % 3 == 0;
        const QString name = (increase ? QStringLiteral("收") : QStringLiteral("付")) +
                             kExtraSummaryStems[i % kExtraSummaryStems.size()] +
                             QString::number(i + 1).rightJustified(3, QLatin1Char('0'));
        add.reset();
        add.bindText(1, name);
        add.bindText(2, increase ? QStringLiteral("增加") : QStringLiteral("减少"));
        add.bind(3, store::DateTime::now().serial());
        add.step();
        rows.append({name, increase});
    }
    return rows;
}

QStringList ensureAccounts(store::Database& db, int wanted) {
    QStringList accounts;
    {
        store::Statement read(db, QStringLiteral("SELECT 项目 FROM 开户银行"));
        while (read.step())
            accounts << read.text(0);
    }
    const QStringList names = {QStringLiteral("建设银行一般户"), QStringLiteral("农业银行专户"),
                               QStringLiteral("中国银行外汇户"), QStringLiteral("招商银行结算户"),
                               QStringLiteral("交通银行备用户")};
    store::Statement add(db, QStringLiteral("INSERT INTO 开户银行 (项目, 操作员, 操作日期) "
                                            "VALUES (?, '系统管理员', ?)"));
    for (int i = 0; accounts.size() < wanted; ++i) {
        const QString name = i < names.size() ? names[i] : QStringLiteral("银行账户%1").arg(i + 1);
        add.reset();
        add.bindText(1, name);
        add.bind(2, store::DateTime::now().serial());
        add.step();
        accounts << name;
    }
    return accounts.mid(0, std::max(wanted, 1));
}

store::DateTime readClosingDate(store::Database& db) {
    store::Statement read(db, QStringLiteral("SELECT 关帐日期 FROM 关帐日期"));
    if (read.step() && !read.isNull(0))
        return store::DateTime::fromSerial(read.real(0));
    return store::DateTime::today();
}

void addEntries(store::Connection& connection, const DemoOptions& options) {
    store::Database& db = connection.database();
    std::mt19937 random(options.seed);
    auto pick = [&random](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };

    const store::BookkeepingPeriod current(readClosingDate(db));
    const int months = std::max(1, options.years * 12);
    QList<QDate> monthStarts;
    for (int m = months - 1; m >= 0; --m)
        monthStarts << current.firstDay().addMonths(-m);

    QList<SummaryRow> summaries;
    QStringList accounts;
    {
        store::Transaction unit(db);
        summaries = growCatalogue(db, options.summaries);
        accounts = ensureAccounts(db, options.bankAccounts);
        unit.commit();
    }

    const QString columns = QStringLiteral("日期, 摘要, 属性, 明细, 借方, 贷方, 余额, 凭证号, 经办人, "
                                           "发票单位, 备注, 操作员, 操作日期");
    store::Statement cash(db, QStringLiteral("INSERT INTO 现金日记帐 (%1) VALUES "
                                             "(?,?,?,?,?,?,0,?,?,?,?,'系统管理员',?)")
                                  .arg(columns));
    store::Statement bank(db, QStringLiteral("INSERT INTO 银行日记帐 (%1, 开户银行) VALUES "
                                             "(?,?,?,?,?,?,0,?,?,?,?,'系统管理员',?,?)")
                                  .arg(columns));
    {
        store::Transaction unit(db);
        const int perMonth = std::max(1, options.entries / months);
        int remaining = options.entries;
        for (int m = 0; m < months && remaining > 0; ++m) {
            const QDate start = monthStarts[m];
            const int count = m == months - 1 ? remaining : std::min(perMonth, remaining);
            remaining -= count;
            const int days = start.daysInMonth();
            for (int i = 0; i < count; ++i) {
                // Entries are made in date order, now and then one back-dated a few days.
                int day = 1 + (i * days) / count;
                if (pick(25) == 0)
                    day = std::max(1, day - 1 - pick(3));
                const SummaryRow& summary = summaries[pick(int(summaries.size()))];
                const bool toBank = pick(5) >= 3;
                store::Statement& insert = toBank ? bank : cash;
                const qint64 cents = 100 * (5 + pick(3000)) + (pick(4) == 0 ? pick(100) : 0);
                const store::Currency amount = store::Currency::fromRaw(cents * 100);
                const QDate date = start.addDays(day - 1);
                insert.reset();
                insert.bind(1, store::DateTime::fromDate(date).serial());
                insert.bindText(2, summary.name);
                insert.bindText(3, summary.increase ? QStringLiteral("增加") : QStringLiteral("减少"));
                insert.bindText(4, kDetails[pick(int(kDetails.size()))]);
                insert.bind(5, summary.increase ? QVariant(qlonglong(amount.raw())) : QVariant(qlonglong(0)));
                insert.bind(6, summary.increase ? QVariant(qlonglong(0)) : QVariant(qlonglong(amount.raw())));
                insert.bindText(7, QString::number(1 + i / 3).rightJustified(4, QLatin1Char('0')));
                insert.bindText(8, kHandlers[pick(int(kHandlers.size()))]);
                insert.bindText(9, kParties[pick(int(kParties.size()))]);
                insert.bindText(10, pick(8) == 0 ? QStringLiteral("附单据%1张").arg(1 + pick(5)) : QString());
                insert.bind(11, store::DateTime::fromDateTime(date, QTime(9 + pick(8), pick(60), pick(60))).serial());
                if (toBank)
                    insert.bindText(12, accounts[pick(int(accounts.size()))]);
                insert.step();
            }
        }
        unit.commit();
    }

    store::Query query(&connection);
    for (const QDate& start : monthStarts) {
        const store::BookkeepingPeriod period(store::DateTime::fromDate(start));
        journal::BalanceRecomputation::run(query, journal::JournalKind::Cash, period);
        for (const QString& account : accounts)
            journal::BalanceRecomputation::run(query, journal::JournalKind::Bank, period, account);
    }
    query.close();
}

} // namespace

void addDemoData(store::Connection& connection, const DemoOptions& options) {
    // All or nothing: the catalogue, the entries and their balances are one
    // unit of work, the steps inside it savepoints.
    store::Transaction all(connection.database());
    addEntries(connection, options);
    all.commit();
}

} // namespace tools
