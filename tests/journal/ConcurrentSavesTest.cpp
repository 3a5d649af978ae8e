// Several desks importing into one month of a server book at once: every
// entry stored once and every running balance the plain sum of the entries before it.
#include "journal/JournalImport.h"
#include "lists/ImportFileReader.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/JournalKind.h"
#include "store/Statement.h"
#include "support/TestDatabase.h"
#include "support/TestServer.h"

#include <atomic>
#include <exception>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kDesks = 10;
constexpr int kEntriesPerJournal = 500;
constexpr int kBatches = 5;

/// One desk's batch: every entry on the same day, tagged desk-entry in 明细.
QList<lists::ImportRow> batch(int desk, int from, int count) {
    QList<lists::ImportRow> rows;
    rows.append({1,
                 {QStringLiteral("日期"), QStringLiteral("摘要"), QStringLiteral("明细"),
                  QStringLiteral("借方"), QStringLiteral("贷方")},
                 QString()});
    for (int i = from; i < from + count; ++i) {
        const bool in = (desk + i) % 3 != 0;
        const QString amount = QStringLiteral("%1.%2")
                                   .arg(desk * 7 + i % 50 + 1)
                                   .arg(i % 100, 2, 10, QLatin1Char('0'));
        rows.append(
            {i + 2,
             {QStringLiteral("2025-03-15"), in ? QStringLiteral("收款") : QStringLiteral("付款"),
              QStringLiteral("d%1-%2").arg(desk).arg(i), in ? amount : QString(),
              in ? QString() : amount},
             QString()});
    }
    return rows;
}

/// Walks a month in journal order: the rows whose balance is not the sum so far.
int wrongBalances(store::Database& db, const QString& sql) {
    store::Statement s(db, sql);
    qint64 running = 0;
    int wrong = 0;
    while (s.step()) {
        running += (s.isNull(0) ? 0 : s.int64(0)) - (s.isNull(1) ? 0 : s.int64(1));
        if (s.int64(2) != running)
            ++wrong;
    }
    return wrong;
}

} // namespace

TEST(ConcurrentSaves, TenDesksImportingIntoOneMonthLeaveEveryEntryOnceAndEveryBalanceRight) {
    if (!testing_support::testsOnServer())
        GTEST_SKIP() << "server books only: a file book has one program at a time";
    testing_support::TestDatabase book;
    book.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('收款', '增加')"));
    book.exec(QStringLiteral("insert into 摘要 (摘要, 属性) values ('付款', '减少')"));
    book.exec(QStringLiteral("insert into 开户银行 (项目) values ('工行一号')"));
    const QString name = book.connection().connectionString();

    std::atomic<int> failures = 0;
    std::vector<std::thread> desks;
    for (int desk = 0; desk < kDesks; ++desk) {
        desks.emplace_back([desk, &name, &failures] {
            try {
                store::Connection connection;
                connection.setConnectionString(name);
                connection.open();
                const int size = kEntriesPerJournal / kBatches;
                for (int b = 0; b < kBatches; ++b) {
                    for (const store::JournalKind kind :
                         {store::JournalKind::Cash, store::JournalKind::Bank}) {
                        journal::ImportOptions options;
                        options.kind = kind;
                        options.bankAccount = QStringLiteral("工行一号");
                        const journal::ImportResult result = journal::importJournal(
                            connection, batch(desk, b * size, size), options);
                        if (!result.written || result.entries != size)
                            ++failures;
                    }
                }
            } catch (const std::exception& e) {
                ++failures;
                ADD_FAILURE() << "desk " << desk << ": " << e.what();
            }
        });
    }
    for (std::thread& desk : desks)
        desk.join();
    EXPECT_EQ(failures, 0);

    book.reopen();
    for (const QString& table : {QStringLiteral("现金日记帐"), QStringLiteral("银行日记帐")}) {
        // Every tag once: none lost, none stored twice.
        EXPECT_EQ(book.scalar(QStringLiteral("select count(*) from ") + table).toInt(),
                  kDesks * kEntriesPerJournal)
            << table.toStdString();
        EXPECT_EQ(book.scalar(QStringLiteral("select count(distinct 明细) from ") + table).toInt(),
                  kDesks * kEntriesPerJournal)
            << table.toStdString();
        EXPECT_EQ(wrongBalances(book.db(), QStringLiteral("select 借方, 贷方, 余额 from %1 "
                                                          "order by 日期+编号, 编号")
                                               .arg(table)),
                  0)
            << table.toStdString();
    }
}
