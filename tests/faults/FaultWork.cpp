#include "FaultWork.h"

#include "journal/JournalKind.h"
#include "store/BookkeepingPeriod.h"
#include "store/Currency.h"
#include "store/DateTime.h"
#include "store/Query.h"

namespace faults {

namespace {

// The fault databases keep 2023; the child saves into its March.
const QDate kSavedMonth(2023, 3, 1);

} // namespace

stats::SummaryCriteria statisticsCriteria(int which) {
    stats::SummaryCriteria criteria;
    criteria.kind = store::JournalKind::Cash;
    criteria.fromText = which == 0 ? QStringLiteral("2023-1-1") : QStringLiteral("2023-4-1");
    criteria.toText = which == 0 ? QStringLiteral("2023-6-30") : QStringLiteral("2023-12-31");
    return criteria;
}

QStringList savedMonthQuery() {
    return journal::monthQuery(journal::JournalKind::Cash,
                               store::BookkeepingPeriod(store::DateTime::fromDate(kSavedMonth)));
}

QString entryNote(int number) { return QStringLiteral("fault-%1").arg(number); }

void appendEntry(store::Query& journal, int number) {
    journal.append();
    journal.fieldByName(QStringLiteral("日期")).setDateTime(
        store::DateTime::fromDate(kSavedMonth.addDays(number % 28)));
    journal.fieldByName(QStringLiteral("摘要")).setString(QStringLiteral("销售收入"));
    journal.fieldByName(QStringLiteral("属性")).setString(QStringLiteral("增加"));
    journal.fieldByName(QStringLiteral("明细")).setString(QStringLiteral("门市零售收入"));
    journal.fieldByName(QStringLiteral("借方")).setCurrency(store::Currency::fromUnits(number));
    journal.fieldByName(QStringLiteral("余额")).setCurrency(store::Currency::fromUnits(number));
    journal.fieldByName(QStringLiteral("备注")).setString(entryNote(number));
    journal.fieldByName(QStringLiteral("操作员")).setString(QStringLiteral("系统管理员"));
    journal.fieldByName(QStringLiteral("操作日期")).setDateTime(store::DateTime::now());
}

} // namespace faults
