// Years of entries stay quick only while every statement that reads a
// journal for a window finds an index: the statements the month query, the
// searches and the statistics fills really run are caught as the engine
// prepares them, and the engine's plan for each is checked. Without
// statistics tables the planner decides by the schema alone, so an empty
// year of entries plans as ten full ones do.

#include "support/TestDatabase.h"

#include "journal/JournalKind.h"
#include "journal/SearchCriteria.h"
#include "stats/StatisticsFill.h"
#include "store/BookkeepingPeriod.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Statement.h"
#include "tools/DemoData.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <set>

namespace {

using store::JournalKind;

int collect(unsigned, void* context, void* statement, void*) {
    auto* statements = static_cast<std::set<QString>*>(context);
    statements->insert(QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(statement))));
    return 0;
}

TEST(HotStatements, EveryJournalReadOfAWindowUsesAnIndex) {
    testing_support::TestDatabase t;
    t.exec(QStringLiteral("update 关帐日期 set 关帐日期 = cdate('2023-12-15')"));
    tools::DemoOptions options;
    options.entries = 400;
    options.years = 1;
    options.summaries = 15;
    options.bankAccounts = 2;
    tools::addDemoData(t.connection(), options);
    const QString account = QStringLiteral("工商银行基本户");
    const store::BookkeepingPeriod period(store::DateTime::fromDate(QDate(2023, 12, 1)));

    std::set<QString> statements;
    sqlite3_trace_v2(t.db().handle(), SQLITE_TRACE_STMT, collect, &statements);
    store::Query q(&t.connection());
    store::Query catalogue(&t.connection());
    store::Query sums(&t.connection());
    q.openWith(journal::monthQuery(JournalKind::Cash, period));
    q.openWith(journal::monthQuery(JournalKind::Bank, period, account));
    for (JournalKind kind : {JournalKind::Cash, JournalKind::Bank}) {
        for (const QString& bank : {QString(), account}) {
            if (kind == JournalKind::Cash && !bank.isEmpty())
                continue;
            for (const QString& voucher : {QString(), QStringLiteral("0003")}) {
                stats::SummaryCriteria criteria{kind, QStringLiteral("2023-1-1"),
                                                QStringLiteral("2023-12-31"), voucher, bank};
                stats::fillSummaryTotals(q, catalogue, sums, criteria);
            }
            stats::fillMonthTotals(q, sums, kind, 2023, bank);
        }
    }
    journal::SearchFields byDate;
    byDate.dateFrom = QStringLiteral("2023-3-1");
    byDate.dateTo = QStringLiteral("2023-3-31");
    journal::SearchFields bySummary;
    bySummary.summary = QStringLiteral("销售");
    for (const journal::SearchFields& fields : {byDate, bySummary}) {
        q.openWith(journal::SearchCriteria::statement(
            JournalKind::Cash, journal::SearchCriteria::text(JournalKind::Cash, fields)));
    }
    sqlite3_trace_v2(t.db().handle(), 0, nullptr, nullptr);

    int checked = 0;
    for (const QString& sql : statements) {
        if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
            !sql.contains(QStringLiteral("日记帐")))
            continue;
        store::Statement explain(t.db(), QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        QStringList plan;
        while (explain.step())
            plan << explain.text(3);
        const QString text = plan.join(QLatin1Char('\n'));
        SCOPED_TRACE((sql + QStringLiteral("\n") + text).toStdString());
        EXPECT_FALSE(text.contains(QStringLiteral("SCAN 现金日记帐")) ||
                     text.contains(QStringLiteral("SCAN 银行日记帐")));
        // Sums are answered from an index alone, without reading the table.
        if (sql.contains(QStringLiteral("sum("))) {
            EXPECT_TRUE(text.contains(QStringLiteral("COVERING INDEX")));
        }
        ++checked;
    }
    EXPECT_GE(checked, 15);
}

} // namespace
